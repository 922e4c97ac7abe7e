#include "settings/PasswordStore.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Fixed for every reader and writer: changing either makes stored passwords unreadable.
const double kSeed = 1.4142135623730951;
const double kScale = 30011.0;

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes up to the end or a lead byte standing last: what the
// multibyte comparison sees of a string.
std::string::size_type ComparableLength(const std::string& s, bool (*isLeadByte)(unsigned char))
{
    std::string::size_type i = 0;
    while (i < s.size()) {
        if (isLeadByte(static_cast<unsigned char>(s[i]))) {
            if (i + 1 >= s.size())
                return i;
            i += 2;
        } else {
            i += 1;
        }
    }
    return i;
}

}  // namespace

std::string ScramblePassword(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    double x = kSeed;
    for (char c : text) {
        // volatile: the product is rounded to a double, as on every FPU.
        volatile double next = std::cos(x) * kScale;
        x = next;
        int32_t whole = static_cast<int32_t>(x);
        uint8_t key = static_cast<uint8_t>(std::abs(whole));
        result.push_back(static_cast<char>(static_cast<uint8_t>(c) ^ key));
    }
    return result;
}

std::string EncodeStoredPassword(const std::string& stored)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string value;
    value.reserve(stored.size() * 2);
    for (char c : stored) {
        uint8_t byte = static_cast<uint8_t>(c);
        value.push_back(kDigits[byte >> 4]);
        value.push_back(kDigits[byte & 0x0F]);
    }
    return value;
}

std::string DecodeStoredPassword(const std::string& value)
{
    if (value.size() % 2 != 0)
        return value;
    std::string stored;
    stored.reserve(value.size() / 2);
    for (std::string::size_type i = 0; i < value.size(); i += 2) {
        int high = HexValue(value[i]);
        int low = HexValue(value[i + 1]);
        if (high < 0 || low < 0)
            return value;
        stored.push_back(static_cast<char>(high * 16 + low));
    }
    return stored;
}

bool PasswordsEqual(const std::string& typed, const std::string& expected, bool (*isLeadByte)(unsigned char))
{
    // A NUL ends a C string too; both sides are compared as C strings would be.
    std::string a = typed.substr(0, typed.find('\0'));
    std::string b = expected.substr(0, expected.find('\0'));
    return a.compare(0, ComparableLength(a, isLeadByte), b, 0, ComparableLength(b, isLeadByte)) == 0;
}

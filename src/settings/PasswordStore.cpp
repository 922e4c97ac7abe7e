#include "settings/PasswordStore.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Fixed for every reader and writer: changing either makes stored passwords unreadable.
const double kSeed = 1.4142135623730951;
const double kScale = 30011.0;

// The key sequence amplifies any difference in the last bit of a cosine
// within a few positions, so the runtime's cos (which differs between C
// libraries and even between x87 processors) would make a settings file
// unreadable on another machine. This cosine uses only IEEE double
// additions, multiplications and one floor, which give the same bits
// everywhere once the x87 unit rounds to double precision.
double KernelCos(double x)
{
    const double c1 = 4.16666666666666019037e-02;
    const double c2 = -1.38888888888741095749e-03;
    const double c3 = 2.48015872894767294178e-05;
    const double c4 = -2.75573143513906633035e-07;
    const double c5 = 2.08757232129817482790e-09;
    const double c6 = -1.13596475577881948265e-11;
    double z = x * x;
    double r = z * (c1 + z * (c2 + z * (c3 + z * (c4 + z * (c5 + z * c6)))));
    double hz = 0.5 * z;
    double w = 1.0 - hz;
    return w + (((1.0 - w) - hz) + z * r);
}

double KernelSin(double x)
{
    const double s1 = -1.66666666666666324348e-01;
    const double s2 = 8.33333333332248946124e-03;
    const double s3 = -1.98412698298579493134e-04;
    const double s4 = 2.75573137070700676789e-06;
    const double s5 = -2.50507602534068634195e-08;
    const double s6 = 1.58969099521155010221e-10;
    double z = x * x;
    double v = z * x;
    double r = s2 + z * (s3 + z * (s4 + z * (s5 + z * s6)));
    return x + v * (s1 + z * r);
}

// floor for the reduction below, whose arguments stay far inside the
// 64-bit integers; exact, so the same bits as any C library's.
double Floor(double x)
{
    double whole = static_cast<double>(static_cast<int64_t>(x));
    return whole > x ? whole - 1.0 : whole;
}

#if defined(__i386__)
// The x87 control word, whose precision bits decide how every operation
// here rounds.
unsigned short X87ControlWord()
{
    unsigned short word;
    asm volatile("fnstcw %0" : "=m"(word) : : "memory");
    return word;
}

void SetX87ControlWord(unsigned short word)
{
    asm volatile("fldcw %0" : : "m"(word) : "memory");
}
#endif

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

double PortableCos(double x)
{
    // x - n * pi/2 in three parts; the first part has few enough bits that
    // n * part is exact for every |x| below 2^20.
    const double twoOverPi = 6.36619772367581382433e-01;
    const double pio2Part1 = 1.57079632673412561417e+00;
    const double pio2Part2 = 6.07710050630396597660e-11;
    const double pio2Part3 = 2.02226624879595063154e-21;
    double n = Floor(x * twoOverPi + 0.5);
    double r = ((x - n * pio2Part1) - n * pio2Part2) - n * pio2Part3;
    switch (static_cast<int64_t>(n) & 3) {
    case 0:
        return KernelCos(r);
    case 1:
        return -KernelSin(r);
    case 2:
        return -KernelCos(r);
    default:
        return KernelSin(r);
    }
}

std::string ScramblePassword(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
#if defined(__i386__)
    // Double precision (precision control 10), as SSE and every other FPU
    // computes it.
    unsigned short savedControl = X87ControlWord();
    SetX87ControlWord(static_cast<unsigned short>((savedControl & ~0x0300) | 0x0200));
#endif
    double x = kSeed;
    for (char c : text) {
        x = PortableCos(x) * kScale;
        int32_t whole = static_cast<int32_t>(x);
        uint8_t key = static_cast<uint8_t>(std::abs(whole));
        result.push_back(static_cast<char>(static_cast<uint8_t>(c) ^ key));
    }
#if defined(__i386__)
    SetX87ControlWord(savedControl);
#endif
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

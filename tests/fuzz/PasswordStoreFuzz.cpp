// The password transform and its settings-file form, on any bytes: the
// transform undoes itself, an encoding always decodes back, a value that is
// no encoding passes through unchanged, and a typed password matches what
// its stored value reads back as.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "settings/PasswordStore.h"

namespace {

bool IsGbkLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

bool AlwaysLead(unsigned char)
{
    return true;
}

bool NeverLead(unsigned char)
{
    return false;
}

bool IsEncoding(const std::string& value)
{
    if (value.size() % 2 != 0)
        return false;
    for (char c : value) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

void CheckScramble(const std::string& text)
{
    std::string stored = ScramblePassword(text);
    FUZZ_CHECK(stored.size() == text.size());
    FUZZ_CHECK(ScramblePassword(stored) == text);
}

void CheckEncoding(const std::string& stored)
{
    std::string value = EncodeStoredPassword(stored);
    FUZZ_CHECK(value.size() == 2 * stored.size());
    // Nothing the private-profile functions would cut, trim or convert.
    FUZZ_CHECK(IsEncoding(value));
    FUZZ_CHECK(DecodeStoredPassword(value) == stored);
}

void CheckDecode(const std::string& value)
{
    std::string stored = DecodeStoredPassword(value);
    if (IsEncoding(value)) {
        FUZZ_CHECK(stored.size() == value.size() / 2);
        FUZZ_CHECK(EncodeStoredPassword(stored) == value);
    } else {
        FUZZ_CHECK(stored == value);
    }
}

// Typed text -> settings value -> what the prompt compares the typed text with.
void CheckRoundTrip(const std::string& typed)
{
    std::string value = EncodeStoredPassword(ScramblePassword(typed));
    std::string expected = ScramblePassword(DecodeStoredPassword(value));
    FUZZ_CHECK(expected == typed);
    FUZZ_CHECK(PasswordsEqual(typed, expected, &IsGbkLeadByte));
    FUZZ_CHECK(PasswordsEqual(typed, expected, &AlwaysLead));
    FUZZ_CHECK(PasswordsEqual(typed, expected, &NeverLead));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckScramble(bytes);
    CheckEncoding(bytes);
    CheckDecode(bytes);
    // What the settings file can hand back is a C string.
    CheckDecode(FuzzCString(data, size));
    CheckRoundTrip(bytes);
    return 0;
}

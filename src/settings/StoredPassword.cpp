#include "settings/StoredPassword.h"

#include <windows.h>

#include "settings/PasswordStore.h"

namespace {

bool IsAnsiLeadByte(unsigned char byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace

std::string CurrentPassword(const CSettingsFile& settings)
{
    return ScramblePassword(DecodeStoredPassword(settings.ReadText(Key::Password)));
}

bool AnsiPasswordsEqual(const std::string& a, const std::string& b)
{
    return PasswordsEqual(a, b, &IsAnsiLeadByte);
}

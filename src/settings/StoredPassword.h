// The password as the dialogs use it: read from the settings file and
// compared under the system's ANSI code page.
#ifndef TETHRA_SETTINGS_STOREDPASSWORD_H
#define TETHRA_SETTINGS_STOREDPASSWORD_H

#include <string>

#include "settings/SettingsFile.h"

// What a password box takes (EM_LIMITTEXT): bytes in Windows 9x's ANSI edit
// box, so 64 Chinese characters. The check after the exchange counts a
// double-byte character as one, so it never refuses what the box let in.
// The unlock prompt and the change-password dialog share both.
constexpr int kMaxPasswordChars = 128;

// The password the stored form in settings stands for ("" when none is stored).
std::string CurrentPassword(const CSettingsFile& settings);

// Exact, case-sensitive comparison in the ANSI code page's multibyte rules.
bool AnsiPasswordsEqual(const std::string& a, const std::string& b);

#endif

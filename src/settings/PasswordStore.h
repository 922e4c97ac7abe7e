// The password's stored form and how it travels through the settings file.
// No windows.h: tested on the build host.
#ifndef TETHRA_SETTINGS_PASSWORDSTORE_H
#define TETHRA_SETTINGS_PASSWORDSTORE_H

#include <string>

// Each byte exclusive-or a key byte that depends only on its position: the
// same call turns a password into its stored form and back. Same length.
std::string ScramblePassword(const std::string& text);

// The cosine the key sequence is built from: the same bits on every machine.
double PortableCos(double x);

// The stored form as an INI value: two upper-case hex digits per byte.
// Stored bytes include NUL, line breaks, blanks and quotes, which the
// private-profile functions would cut, trim or convert.
std::string EncodeStoredPassword(const std::string& stored);

// Undoes EncodeStoredPassword. A value that is not such an encoding (odd
// length, other characters) is taken as the stored form itself.
std::string DecodeStoredPassword(const std::string& value);

// Multibyte comparison in the ANSI code page's rules: a double-byte
// character is one unit, and a lead byte standing last ends its string.
// isLeadByte tells which bytes start a double-byte character.
bool PasswordsEqual(const std::string& typed, const std::string& expected, bool (*isLeadByte)(unsigned char));

#endif

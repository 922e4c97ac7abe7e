// Command-line and module-path text rules, kept apart from windows.h so they
// can be tested on the build host.
#ifndef TETHRA_FW_COMMANDLINE_H
#define TETHRA_FW_COMMANDLINE_H

#include <string>

// What follows the program's own name on a command line: a quoted name ends
// at its closing quote, an unquoted one at the first character with a code
// from 1 to 32; then every character with a code from 1 to 32 is skipped.
// Returns a pointer into commandLine.
const char* CommandLineTail(const char* commandLine);

// "C:\TOOLS\LOCK.EXE" -> "LOCK": the file name without folder and extension.
std::string ModuleBaseName(const std::string& modulePath);

// ASCII-only case-insensitive comparison of two whole strings.
bool EqualsIgnoreAsciiCase(const char* a, const char* b);

#endif

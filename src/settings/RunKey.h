// The values Tethra keeps under the machine-wide Run key. No windows.h.
#ifndef TETHRA_SETTINGS_RUNKEY_H
#define TETHRA_SETTINGS_RUNKEY_H

#include <string>

constexpr char kAutorunValue[] = "Tethra";
constexpr char kProtectedRestartValue[] = "VQS";
constexpr char kProtectedSwitch[] = "/protected";
// The size of the buffer the autorun value is read into.
constexpr unsigned kAutorunQueryBytes = 80;

// The command line that brings the program back locked after a restart.
// A path with a blank is quoted: unquoted, the command-line rule the program
// follows would end its name at the blank and leave the rest of the path in
// the tail, and the restarted program would not be protected. Any other path
// stays bare, byte for byte as entries written before rely on.
inline std::string ProtectedRestartCommand(const std::string& executablePath)
{
    if (executablePath.find(' ') != std::string::npos)
        return "\"" + executablePath + "\" " + kProtectedSwitch;
    return executablePath + " " + kProtectedSwitch;
}

// Whether data is this program's own "VQS" value: the command line it writes
// now, or the bare form earlier versions wrote for a path with a blank.
inline bool IsOwnProtectedRestartCommand(const std::string& data, const std::string& executablePath)
{
    if (executablePath.empty())
        return false;
    return data == ProtectedRestartCommand(executablePath) ||
           data == executablePath + " " + kProtectedSwitch;
}

#endif

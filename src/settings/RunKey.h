// The values Tethra keeps under the machine-wide Run key. No windows.h.
#ifndef TETHRA_SETTINGS_RUNKEY_H
#define TETHRA_SETTINGS_RUNKEY_H

#include <string>

constexpr char kAutorunValue[] = "Tethra";
constexpr char kProtectedRestartValue[] = "VQS";
constexpr char kProtectedSwitch[] = "/protected";

// The command line that brings the program back locked after a restart.
inline std::string ProtectedRestartCommand(const std::string& executablePath)
{
    return executablePath + " " + kProtectedSwitch;
}

#endif

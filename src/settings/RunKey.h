// The values Tethra keeps under the machine-wide Run key. No windows.h.
//
// The protected-restart data is built in the lock step, after task switching
// is off: in the caller's fixed buffers, since a failed allocation would end
// the program (no exceptions) and leave task switching off until a reboot.
#ifndef TETHRA_SETTINGS_RUNKEY_H
#define TETHRA_SETTINGS_RUNKEY_H

#include <cstddef>
#include <cstring>

constexpr char kAutorunValue[] = "Tethra";
constexpr char kProtectedRestartValue[] = "VQS";
constexpr char kProtectedSwitch[] = "/protected";
// The size of the buffer the autorun value is read into.
constexpr unsigned kAutorunQueryBytes = 80;

// The bytes the command line for a path of pathLength bytes may need: two
// quotes, a blank, the switch and the terminating NUL.
constexpr size_t ProtectedRestartCommandRoom(size_t pathLength)
{
    return pathLength + 3 + sizeof kProtectedSwitch;
}

// The command line that brings the program back locked after a restart,
// written to out (room bytes, NUL included). A path with a blank is quoted:
// unquoted, the command-line rule the program follows would end its name at
// the blank and leave the rest of the path in the tail, and the restarted
// program would not be protected. Any other path stays bare, byte for byte
// as entries written before rely on. False, with out empty, when it does not
// fit.
inline bool ProtectedRestartCommand(const char* executablePath, char* out, size_t room)
{
    size_t length = std::strlen(executablePath);
    bool quoted = std::strchr(executablePath, ' ') != nullptr;
    if (room < ProtectedRestartCommandRoom(length) - (quoted ? 0 : 2)) {
        if (room > 0)
            out[0] = '\0';
        return false;
    }
    char* end = out;
    if (quoted)
        *end++ = '"';
    std::memcpy(end, executablePath, length);
    end += length;
    if (quoted)
        *end++ = '"';
    *end++ = ' ';
    std::memcpy(end, kProtectedSwitch, sizeof kProtectedSwitch);
    return true;
}

// Whether data is this program's own "VQS" value: the command line it writes
// now, or the bare form earlier versions wrote for a path with a blank.
inline bool IsOwnProtectedRestartCommand(const char* data, const char* executablePath)
{
    size_t length = std::strlen(executablePath);
    if (length == 0)
        return false;
    // Quoted only when the path holds a blank, as the program writes it.
    const char* rest = nullptr;
    if (data[0] == '"' && std::strchr(executablePath, ' ') != nullptr) {
        if (std::strncmp(data + 1, executablePath, length) != 0 || data[length + 1] != '"')
            return false;
        rest = data + length + 2;
    } else {
        if (std::strncmp(data, executablePath, length) != 0)
            return false;
        rest = data + length;
    }
    return rest[0] == ' ' && std::strcmp(rest + 1, kProtectedSwitch) == 0;
}

#endif

// The protected-restart command line for any executable path: it names the
// path, ends with the switch, and the program's own command-line rules find
// the switch in it again.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "fw/CommandLine.h"
#include "settings/RunKey.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = FuzzCString(data, size);
    // The room the program reserves, and one byte past it that must stay untouched.
    size_t room = ProtectedRestartCommandRoom(path.size());
    std::vector<char> buffer(room + 1, '\x7f');
    FUZZ_CHECK(ProtectedRestartCommand(path.c_str(), buffer.data(), room));
    FUZZ_CHECK(buffer[room] == '\x7f');
    std::string command = buffer.data();

    FUZZ_CHECK(command.find(path) != std::string::npos);
    FUZZ_CHECK(FuzzEndsWith(command, kProtectedSwitch));
    // Something separates the path from the switch.
    FUZZ_CHECK(command.size() > path.size() + std::strlen(kProtectedSwitch));
    // Too little room: refused, nothing usable left behind.
    FUZZ_CHECK(!ProtectedRestartCommand(path.c_str(), buffer.data(), command.size()));
    FUZZ_CHECK(buffer[0] == '\0');
    // The program knows what it wrote as its own.
    FUZZ_CHECK(path.empty() || IsOwnProtectedRestartCommand(command.c_str(), path.c_str()));

    // The system starts the value as a command line; its tail must be the
    // switch, blanks in the path included. Quotes and control characters
    // cannot occur in a Windows path and are not checked.
    bool windowsPath = true;
    for (char c : path)
        windowsPath = windowsPath && c != '"' && (c == ' ' || !FuzzIsBlankOrControl(c));
    if (windowsPath)
        FUZZ_CHECK(EqualsIgnoreAsciiCase(CommandLineTail(command.c_str()), kProtectedSwitch));
    return 0;
}

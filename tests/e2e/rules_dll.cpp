// tethra_rules.dll: Windows 95/98's rules (tests/win/Win9xRules.cpp) in the
// real program of the end-to-end runs. The probe's start command loads it
// into the program while its first thread is still suspended; loaded, it
// points the program's import table at the checkers. Each broken rule is
// appended, once per process, to the file TETHRA_RULES_LOG names, which the
// harness reads at the end of every script.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "Win9xRules.h"

namespace {

char g_logPath[MAX_PATH];
char g_program[64];
std::set<std::string> g_written;

// Opened and closed for every line: the program may be ended at any moment.
void AppendLine(const char* text)
{
    HANDLE file = ::CreateFileA(g_logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    char line[700];
    int length = std::snprintf(line, sizeof line, "%s (process %lu): %s\n", g_program,
                               static_cast<unsigned long>(::GetCurrentProcessId()), text);
    if (length > 0) {
        DWORD written = 0;
        ::WriteFile(file, line, static_cast<DWORD>(length < static_cast<int>(sizeof line) ? length : sizeof line - 1),
                    &written, nullptr);
    }
    ::CloseHandle(file);
}

// A drawing loop repeats the same call thousands of times: each line once.
void WriteBrokenRule(const char* message)
{
    if (g_written.insert(message).second)
        AppendLine(message);
}

bool Attach()
{
    DWORD length = ::GetEnvironmentVariableA("TETHRA_RULES_LOG", g_logPath, sizeof g_logPath);
    if (length == 0 || length >= sizeof g_logPath)
        return false;
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    const char* base = path;
    for (const char* p = path; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/')
            base = p + 1;
    std::snprintf(g_program, sizeof g_program, "%s", base);
    if (Win9xRules::Install(::GetModuleHandleA(nullptr), &WriteBrokenRule) == 0)
        AppendLine("no checker installed: the program imports none of the checked functions");
    return true;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    ::DisableThreadLibraryCalls(instance);
    return Attach() ? TRUE : FALSE;
}

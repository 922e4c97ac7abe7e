// tethra_probe: looks at the Wine desktop from inside, for the end-to-end
// scripts. Windows on Wine's virtual desktop are not X windows, so the
// scripts ask this tool, run in the same prefix, what exists where.
//
// Everything printed is ASCII: window handles as 0x..., texts as the hex of
// their ANSI (code page 936) bytes, rectangles as "left top right bottom".
// Exit code 0 means yes/found, 1 no/not found/timed out, 2 a usage error.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "objcount.h"
#include "settings/PasswordStore.h"

namespace {

const DWORD kPollMs = 50;

std::string Hex(const std::string& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(kDigits[c >> 4]);
        out.push_back(kDigits[c & 0x0F]);
    }
    return out;
}

std::string WindowText(HWND hWnd)
{
    // WM_GETTEXT rather than GetWindowText: it reads other processes' controls too.
    char buffer[1024] = "";
    LRESULT length = ::SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                                           SMTO_ABORTIFHUNG, 2000, nullptr);
    (void)length;
    return std::string(buffer);
}

std::string ClassOf(HWND hWnd)
{
    char buffer[256] = "";
    ::GetClassNameA(hWnd, buffer, sizeof buffer);
    return buffer;
}

HWND ParseHwnd(const char* text)
{
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text, nullptr, 0)));
}

void PrintRect(const RECT& r)
{
    std::printf("%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
}

void PrintWindow(HWND hWnd)
{
    RECT r = {};
    ::GetWindowRect(hWnd, &r);
    std::printf("0x%llx ", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hWnd)));
    PrintRect(r);
    std::printf("\n");
}

// Which top-level windows a command means: every "key=value" argument must hold.
//   class=NAME    exact class name      class^=PREFIX  class name starts so
//   title=HEX     exact title (hex of its ANSI bytes; "title=" is the empty title)
//   item=ID       has a child control with that id
//   visible=0|1   visibility
struct WindowFilter {
    std::vector<std::pair<std::string, std::string>> terms;

    bool Parse(int argc, char** argv)
    {
        for (int i = 0; i < argc; ++i) {
            const char* eq = std::strchr(argv[i], '=');
            if (eq == nullptr)
                return false;
            terms.emplace_back(std::string(argv[i], static_cast<std::size_t>(eq - argv[i])), std::string(eq + 1));
        }
        return true;
    }

    bool Matches(HWND hWnd) const
    {
        for (const auto& term : terms) {
            const std::string& key = term.first;
            const std::string& value = term.second;
            if (key == "class" && ClassOf(hWnd) != value)
                return false;
            if (key == "class^" && ClassOf(hWnd).compare(0, value.size(), value) != 0)
                return false;
            if (key == "title" && Hex(WindowText(hWnd)) != value)
                return false;
            if (key == "item" && ::GetDlgItem(hWnd, std::atoi(value.c_str())) == nullptr)
                return false;
            if (key == "visible" && (::IsWindowVisible(hWnd) != FALSE) != (value == "1"))
                return false;
        }
        return true;
    }
};

// A named CALLBACK function: on i686 a lambda cannot become a __stdcall pointer.
BOOL CALLBACK AddWindow(HWND hWnd, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hWnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindows()
{
    std::vector<HWND> windows;
    ::EnumWindows(&AddWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> Matching(const WindowFilter& filter)
{
    std::vector<HWND> found;
    for (HWND hWnd : TopLevelWindows()) {
        if (filter.Matches(hWnd))
            found.push_back(hWnd);
    }
    return found;
}

// Polls until want(matches) holds or timeoutMs passes.
template <typename Want>
bool PollMatching(const WindowFilter& filter, DWORD timeoutMs, Want want, std::vector<HWND>* last)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        *last = Matching(filter);
        if (want(*last))
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::Sleep(kPollMs);
    }
}

// ---- commands -------------------------------------------------------------

// list: every top-level window: handle, visible, class, title hex, rect.
int CmdList(int, char**)
{
    for (HWND hWnd : TopLevelWindows()) {
        RECT r = {};
        ::GetWindowRect(hWnd, &r);
        std::printf("0x%llx vis=%d class=%s title=%s ", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hWnd)),
                    ::IsWindowVisible(hWnd) ? 1 : 0, ClassOf(hWnd).c_str(), Hex(WindowText(hWnd)).c_str());
        PrintRect(r);
        std::printf("\n");
    }
    return 0;
}

// find <filter...>: every match, one "hwnd rect" line each.
int CmdFind(int argc, char** argv)
{
    WindowFilter filter;
    if (!filter.Parse(argc, argv))
        return 2;
    std::vector<HWND> found = Matching(filter);
    for (HWND hWnd : found)
        PrintWindow(hWnd);
    return found.empty() ? 1 : 0;
}

// wait <timeout-ms> <filter...>: the first match once there is one.
int CmdWait(int argc, char** argv)
{
    WindowFilter filter;
    if (argc < 1 || !filter.Parse(argc - 1, argv + 1))
        return 2;
    std::vector<HWND> found;
    if (!PollMatching(filter, std::strtoul(argv[0], nullptr, 0), [](const std::vector<HWND>& v) { return !v.empty(); },
                      &found))
        return 1;
    PrintWindow(found.front());
    return 0;
}

// wait-gone <timeout-ms> <filter...>: succeeds once nothing matches.
int CmdWaitGone(int argc, char** argv)
{
    WindowFilter filter;
    if (argc < 1 || !filter.Parse(argc - 1, argv + 1))
        return 2;
    std::vector<HWND> found;
    return PollMatching(filter, std::strtoul(argv[0], nullptr, 0), [](const std::vector<HWND>& v) { return v.empty(); },
                        &found)
               ? 0
               : 1;
}

// count <filter...>: how many windows match (exit code 0 either way).
int CmdCount(int argc, char** argv)
{
    WindowFilter filter;
    if (!filter.Parse(argc, argv))
        return 2;
    std::printf("%u\n", static_cast<unsigned>(Matching(filter).size()));
    return 0;
}

// exists <hwnd>
int CmdExists(int argc, char** argv)
{
    if (argc != 1)
        return 2;
    return ::IsWindow(ParseHwnd(argv[0])) ? 0 : 1;
}

// rect <hwnd>
int CmdRect(int argc, char** argv)
{
    RECT r;
    if (argc != 1 || !::GetWindowRect(ParseHwnd(argv[0]), &r))
        return argc != 1 ? 2 : 1;
    PrintRect(r);
    std::printf("\n");
    return 0;
}

// item <hwnd> <id>: "enabled visible left top right bottom text-hex" of a dialog control.
int CmdItem(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    HWND item = ::GetDlgItem(ParseHwnd(argv[0]), std::atoi(argv[1]));
    if (item == nullptr)
        return 1;
    RECT r = {};
    ::GetWindowRect(item, &r);
    std::printf("%d %d ", ::IsWindowEnabled(item) ? 1 : 0, ::IsWindowVisible(item) ? 1 : 0);
    PrintRect(r);
    std::printf(" %s\n", Hex(WindowText(item)).c_str());
    return 0;
}

// children <hwnd>: every child control: "id enabled visible class text-hex".
int CmdChildren(int argc, char** argv)
{
    if (argc != 1)
        return 2;
    HWND hWnd = ParseHwnd(argv[0]);
    if (!::IsWindow(hWnd))
        return 1;
    for (HWND child = ::GetWindow(hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        std::printf("%d %d %d %s %s\n", ::GetDlgCtrlID(child), ::IsWindowEnabled(child) ? 1 : 0,
                    ::IsWindowVisible(child) ? 1 : 0, ClassOf(child).c_str(), Hex(WindowText(child)).c_str());
    }
    return 0;
}

// style <hwnd>: the window's style bits, in hex.
int CmdStyle(int argc, char** argv)
{
    if (argc != 1)
        return 2;
    HWND hWnd = ParseHwnd(argv[0]);
    if (!::IsWindow(hWnd))
        return 1;
    std::printf("0x%08lx\n", static_cast<unsigned long>(::GetWindowLongA(hWnd, GWL_STYLE)));
    return 0;
}

// focus <hwnd>: the control id holding the keyboard focus in hwnd's thread,
// when that control belongs to hwnd.
int CmdFocus(int argc, char** argv)
{
    if (argc != 1)
        return 2;
    HWND hWnd = ParseHwnd(argv[0]);
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(hWnd, nullptr), &info) || info.hwndFocus == nullptr)
        return 1;
    if (info.hwndFocus != hWnd && !::IsChild(hWnd, info.hwndFocus))
        return 1;
    std::printf("%d\n", ::GetDlgCtrlID(info.hwndFocus));
    return 0;
}

// foreground: the foreground window.
int CmdForeground(int, char**)
{
    HWND hWnd = ::GetForegroundWindow();
    if (hWnd == nullptr)
        return 1;
    PrintWindow(hWnd);
    return 0;
}

// idle <hwnd> <timeout-ms>: waits until the window's process waits for input.
int CmdIdle(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(ParseHwnd(argv[0]), &pid);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
    if (process == nullptr)
        return 1;
    DWORD result = ::WaitForInputIdle(process, std::strtoul(argv[1], nullptr, 0));
    ::CloseHandle(process);
    return result == 0 ? 0 : 1;
}

// clip: the pointer's confinement rectangle.
int CmdClip(int, char**)
{
    RECT r;
    if (!::GetClipCursor(&r))
        return 1;
    PrintRect(r);
    std::printf("\n");
    return 0;
}

// cursor: the pointer's position.
int CmdCursor(int, char**)
{
    POINT p;
    if (!::GetCursorPos(&p))
        return 1;
    std::printf("%ld %ld\n", p.x, p.y);
    return 0;
}

// screen: the desktop's size.
int CmdScreen(int, char**)
{
    std::printf("%d %d\n", ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    return 0;
}

// tray <timeout-ms>: the taskbar's rect and the small-icon width, once the taskbar exists.
int CmdTray(int argc, char** argv)
{
    if (argc != 1)
        return 2;
    WindowFilter filter;
    filter.terms.emplace_back("class", "Shell_TrayWnd");
    filter.terms.emplace_back("visible", "1");
    std::vector<HWND> found;
    if (!PollMatching(filter, std::strtoul(argv[0], nullptr, 0), [](const std::vector<HWND>& v) { return !v.empty(); },
                      &found))
        return 1;
    RECT r = {};
    ::GetWindowRect(found.front(), &r);
    PrintRect(r);
    std::printf(" %d\n", ::GetSystemMetrics(SM_CXSMICON));
    return 0;
}

// hold <timeout-ms>: just runs that long. Wine ends a prefix's desktop as
// soon as no program runs in it; a test keeps one running meanwhile.
int CmdHold(int argc, char** argv)
{
    if (argc != 1)
        return 2;
    ::Sleep(std::strtoul(argv[0], nullptr, 0));
    return 0;
}

// post <hwnd> <message> <wparam> <lparam>: only where no real input can reach.
int CmdPost(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    return ::PostMessageA(ParseHwnd(argv[0]), std::strtoul(argv[1], nullptr, 0), std::strtoull(argv[2], nullptr, 0),
                          std::strtoll(argv[3], nullptr, 0))
               ? 0
               : 1;
}

// stored-password <text>: the settings file's Password value for text.
int CmdStoredPassword(int argc, char** argv)
{
    if (argc != 1)
        return 2;
    std::printf("%s\n", EncodeStoredPassword(ScramblePassword(argv[0])).c_str());
    return 0;
}

// ---- settings dialog and Run key ---------------------------------------------

// checked <hwnd> <id>: a button's check state (0, 1 or 2).
int CmdChecked(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    HWND item = ::GetDlgItem(ParseHwnd(argv[0]), std::atoi(argv[1]));
    if (item == nullptr)
        return 1;
    std::printf("%d\n", static_cast<int>(::SendMessageA(item, BM_GETCHECK, 0, 0)));
    return 0;
}

bool StartUnderRules(char* commandLine, PROCESS_INFORMATION* process);

// run-value <name> [wait-ms]: starts the command line a value under the
// machine's Run key holds, as the system does at its start (under Windows
// 95/98's rules, as the start command starts it). With wait-ms,
// waits that long for it to end and prints its exit code (exit 1 if it runs on).
int CmdRunValue(int argc, char** argv)
{
    if (argc < 1 || argc > 2)
        return 2;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return 1;
    char data[1024] = "";
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    LONG status = ::RegQueryValueExA(key, argv[0], nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return 1;
    PROCESS_INFORMATION process = {};
    if (!StartUnderRules(data, &process))
        return 1;
    ::CloseHandle(process.hThread);
    int code = 0;
    if (argc == 2) {
        DWORD exitCode = 0;
        if (::WaitForSingleObject(process.hProcess, std::strtoul(argv[1], nullptr, 0)) == WAIT_OBJECT_0 &&
            ::GetExitCodeProcess(process.hProcess, &exitCode))
            std::printf("%lu\n", exitCode);
        else
            code = 1;
    }
    ::CloseHandle(process.hProcess);
    return code;
}

// ---- object counts, soak and latency --------------------------------------

const char kCounterDll[] = "tethra_objcount.dll";
// The lock button's texts in code page 936: "锁定" and "解锁".
const char kLockText[] = "\xCB\xF8\xB6\xA8";
const char kUnlockText[] = "\xBD\xE2\xCB\xF8";

template <typename Condition>
bool PollFor(DWORD timeoutMs, Condition condition)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::Sleep(2);
    }
}

// A top-level window of the thread with this class and a child with this id (0: any).
HWND VisibleWindowOfThread(DWORD thread, const char* className, int childId)
{
    for (HWND hWnd : TopLevelWindows()) {
        if (::GetWindowThreadProcessId(hWnd, nullptr) != thread || !::IsWindowVisible(hWnd))
            continue;
        if (ClassOf(hWnd) != className)
            continue;
        if (childId != 0 && ::GetDlgItem(hWnd, childId) == nullptr)
            continue;
        return hWnd;
    }
    return nullptr;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool ClipIs(const RECT& want)
{
    RECT clip;
    return ::GetClipCursor(&clip) && SameRect(clip, want);
}

// The confinement a locked panel sets: its rectangle less 12 pixels a side.
RECT LockedClipOf(HWND panel)
{
    RECT r = {};
    ::GetWindowRect(panel, &r);
    RECT clip = {r.left + 12, r.top + 12, r.right - 12, r.bottom - 12};
    return clip;
}

RECT ScreenRect()
{
    RECT r = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return r;
}

// Waits until the panel shows the state: its button text and the clip rectangle.
bool WaitPanelState(HWND panel, bool locked, DWORD timeoutMs)
{
    HWND button = ::GetDlgItem(panel, 1000);
    RECT want = locked ? LockedClipOf(panel) : ScreenRect();
    const char* text = locked ? kUnlockText : kLockText;
    return PollFor(timeoutMs, [&] { return ClipIs(want) && WindowText(button) == text; });
}

// Presses the locked panel's button and types the password into the prompt.
bool UnlockThroughPrompt(HWND panel, const char* password, int cycle)
{
    DWORD thread = ::GetWindowThreadProcessId(panel, nullptr);
    ::PostMessageA(::GetDlgItem(panel, 1000), BM_CLICK, 0, 0);
    HWND prompt = nullptr;
    if (!PollFor(10000, [&] { return (prompt = VisibleWindowOfThread(thread, "#32770", 1007)) != nullptr; })) {
        std::fprintf(stderr, "cycle %d: no password prompt\n", cycle);
        return false;
    }
    ::SendMessageTimeoutA(::GetDlgItem(prompt, 1007), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(password),
                          SMTO_ABORTIFHUNG, 10000, nullptr);
    ::PostMessageA(::GetDlgItem(prompt, IDOK), BM_CLICK, 0, 0);
    if (!WaitPanelState(panel, false, 10000)) {
        std::fprintf(stderr, "cycle %d: the password did not unlock\n", cycle);
        return false;
    }
    return true;
}

bool ProbeFolderFile(const char* name, std::string* path)
{
    char buffer[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return false;
    std::string self(buffer, length);
    *path = self.substr(0, self.find_last_of('\\') + 1) + name;
    return true;
}

HMODULE RemoteModule(HANDLE process, const char* baseName)
{
    HMODULE modules[1024];
    DWORD needed = 0;
    if (!::EnumProcessModules(process, modules, sizeof modules, &needed))
        return nullptr;
    DWORD count = needed / sizeof(HMODULE);
    for (DWORD i = 0; i < count && i < 1024; ++i) {
        char name[MAX_PATH] = "";
        ::GetModuleBaseNameA(process, modules[i], name, sizeof name);
        if (::lstrcmpiA(name, baseName) == 0)
            return modules[i];
    }
    return nullptr;
}

bool RunRemoteThread(HANDLE process, LPTHREAD_START_ROUTINE start, LPVOID parameter)
{
    HANDLE thread = ::CreateRemoteThread(process, nullptr, 0, start, parameter, 0, nullptr);
    if (thread == nullptr)
        return false;
    bool done = ::WaitForSingleObject(thread, 60000) == WAIT_OBJECT_0;
    ::CloseHandle(thread);
    return done;
}

// Loads the counter into the process (once; it stays) and runs it there.
bool CountObjectsIn(HANDLE process, ObjectCounts* counts)
{
    std::string dll;
    if (!ProbeFolderFile(kCounterDll, &dll))
        return false;
    HMODULE local = ::LoadLibraryA(dll.c_str());
    FARPROC localCount = local != nullptr ? ::GetProcAddress(local, TETHRA_COUNT_OBJECTS_EXPORT) : nullptr;
    if (localCount == nullptr) {
        std::fprintf(stderr, "cannot load %s\n", dll.c_str());
        return false;
    }
    HMODULE remote = RemoteModule(process, kCounterDll);
    if (remote == nullptr) {
        LPVOID text = ::VirtualAllocEx(process, nullptr, dll.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (text == nullptr || !::WriteProcessMemory(process, text, dll.c_str(), dll.size() + 1, nullptr))
            return false;
        // The system DLLs sit at the same address in every process.
        auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
        bool ran = RunRemoteThread(process, loadLibrary, text);
        ::VirtualFreeEx(process, text, 0, MEM_RELEASE);
        remote = ran ? RemoteModule(process, kCounterDll) : nullptr;
        if (remote == nullptr) {
            std::fprintf(stderr, "cannot load the counter into the process\n");
            return false;
        }
    }
    auto remoteCount = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<BYTE*>(remote) + (reinterpret_cast<BYTE*>(localCount) - reinterpret_cast<BYTE*>(local)));
    LPVOID record = ::VirtualAllocEx(process, nullptr, sizeof *counts, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (record == nullptr)
        return false;
    bool ok = RunRemoteThread(process, remoteCount, record) &&
              ::ReadProcessMemory(process, record, counts, sizeof *counts, nullptr);
    ::VirtualFreeEx(process, record, 0, MEM_RELEASE);
    return ok;
}

// ---- the program under Windows 95/98's rules -----------------------------

const char kRulesDll[] = "tethra_rules.dll";

// A start that could not load the rules goes into their log too, so the
// script that made it fails.
void LogUncheckedStart(const char* log, const char* commandLine, const char* why)
{
    std::fprintf(stderr, "%s: %s\n", commandLine, why);
    HANDLE file = ::CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string line = std::string(commandLine) + ": started without the Windows 95/98 rules: " + why + "\n";
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
}

// Starts the command line with its first thread suspended, loads the rules
// DLL into the new process on a thread of its own (the DLL points the
// program's import table at the checkers as it loads), and only then lets
// the program run. The DLL is of the probe's architecture; the program must
// be too.
bool StartUnderRules(char* commandLine, PROCESS_INFORMATION* process)
{
    char log[MAX_PATH] = "";
    DWORD logLength = ::GetEnvironmentVariableA("TETHRA_RULES_LOG", log, sizeof log);
    if (logLength == 0 || logLength >= sizeof log) {
        std::fprintf(stderr, "TETHRA_RULES_LOG is not set: no file for the broken rules\n");
        return false;
    }
    std::string dll;
    if (!ProbeFolderFile(kRulesDll, &dll)) {
        LogUncheckedStart(log, commandLine, "no path for the rules DLL");
        return false;
    }
    std::string shown(commandLine);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!::CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                          process)) {
        LogUncheckedStart(log, shown.c_str(), "CreateProcess failed");
        return false;
    }
    const char* failure = nullptr;
    LPVOID text = ::VirtualAllocEx(process->hProcess, nullptr, dll.size() + 1, MEM_COMMIT | MEM_RESERVE,
                                   PAGE_READWRITE);
    // The system DLLs sit at the same address in every process.
    auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    if (text == nullptr || !::WriteProcessMemory(process->hProcess, text, dll.c_str(), dll.size() + 1, nullptr))
        failure = "cannot write the rules DLL's path into the process";
    else if (!RunRemoteThread(process->hProcess, loadLibrary, text))
        failure = "the thread loading the rules DLL did not finish";
    else if (RemoteModule(process->hProcess, kRulesDll) == nullptr)
        failure = "the rules DLL did not load";
    if (text != nullptr)
        ::VirtualFreeEx(process->hProcess, text, 0, MEM_RELEASE);
    if (failure != nullptr) {
        LogUncheckedStart(log, shown.c_str(), failure);
        ::TerminateProcess(process->hProcess, 1);
        ::CloseHandle(process->hThread);
        ::CloseHandle(process->hProcess);
        return false;
    }
    ::ResumeThread(process->hThread);
    return true;
}

// start <exe> [args...]: runs the program under Windows 95/98's rules and
// waits for it to end; the exit code is the program's, 3 when it could not
// be started under the rules. Arguments are quoted as Wine's own start
// quotes them: those with a blank, and empty ones.
int CmdStart(int argc, char** argv)
{
    if (argc < 1)
        return 2;
    std::string line;
    for (int i = 0; i < argc; ++i) {
        std::string argument = argv[i];
        bool quote = argument.empty() || argument.find_first_of(" \t") != std::string::npos;
        if (i > 0)
            line += ' ';
        line += quote ? '"' + argument + '"' : argument;
    }
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    PROCESS_INFORMATION process = {};
    if (!StartUnderRules(commandLine.data(), &process))
        return 3;
    ::CloseHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// objects <hwnd>: committed private memory and working set (KiB) and the GDI
// and USER objects in use of the window's process, as key=value pairs.
int CmdObjects(int argc, char** argv)
{
    if (argc != 1)
        return 2;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(ParseHwnd(argv[0]), &pid);
    HANDLE process = pid != 0 ? ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid) : nullptr;
    if (process == nullptr)
        return 1;
    ObjectCounts counts;
    bool counted = CountObjectsIn(process, &counts);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    bool measured = ::GetProcessMemoryInfo(process, &memory, sizeof memory);
    ::CloseHandle(process);
    if (!counted || !measured)
        return 1;
    std::printf("private_kb=%llu working_set_kb=%llu gdi=%lu user=%lu windows=%lu menus=%lu icons=%lu"
                " accelerators=%lu dc=%lu memdc=%lu bitmap=%lu brush=%lu font=%lu pen=%lu region=%lu\n",
                counts.privateBytes / 1024, static_cast<unsigned long long>(memory.WorkingSetSize / 1024),
                counts.gdi, counts.user, counts.windows, counts.menus, counts.icons, counts.accelerators,
                counts.gdiByType[OBJ_DC], counts.gdiByType[OBJ_MEMDC], counts.gdiByType[OBJ_BITMAP],
                counts.gdiByType[OBJ_BRUSH], counts.gdiByType[OBJ_FONT], counts.gdiByType[OBJ_PEN],
                counts.gdiByType[OBJ_REGION]);
    return 0;
}

// soak-menus <frame-hwnd> <count>: opens the tray menu through the tray
// callback (a right-button release), has it drawn whole, closes it with
// Escape and waits until the callback has returned, count times.
int CmdSoakMenus(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    HWND frame = ParseHwnd(argv[0]);
    int count = std::atoi(argv[1]);
    DWORD thread = ::GetWindowThreadProcessId(frame, nullptr);
    for (int i = 1; i <= count; ++i) {
        if (!::PostMessageA(frame, WM_USER + 10, 128, WM_RBUTTONUP))
            return 1;
        HWND menu = nullptr;
        if (!PollFor(10000, [&] { return (menu = VisibleWindowOfThread(thread, "#32768", 0)) != nullptr; })) {
            std::fprintf(stderr, "menu %d did not show\n", i);
            return 1;
        }
        ::RedrawWindow(menu, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        if (!PollFor(10000, [&] { return VisibleWindowOfThread(thread, "#32768", 0) == nullptr; })) {
            std::fprintf(stderr, "menu %d did not close\n", i);
            return 1;
        }
        // Answered only once the thread is back between messages: the menu is destroyed.
        ::SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
    }
    std::printf("%d\n", count);
    return 0;
}

// soak-locks <panel-hwnd> <count> <password>: presses the lock button, waits
// for the confinement, presses it again and unlocks through the prompt with
// the password, count times.
int CmdSoakLocks(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    HWND panel = ParseHwnd(argv[0]);
    int count = std::atoi(argv[1]);
    for (int i = 1; i <= count; ++i) {
        ::PostMessageA(::GetDlgItem(panel, 1000), BM_CLICK, 0, 0);
        if (!WaitPanelState(panel, true, 10000)) {
            std::fprintf(stderr, "cycle %d: the panel did not lock\n", i);
            return 1;
        }
        if (!UnlockThroughPrompt(panel, argv[2], i))
            return 1;
    }
    std::printf("%d\n", count);
    return 0;
}

void SendLeftButton(DWORD flag)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    ::SendInput(1, &input, sizeof input);
}

// lock-latency <panel-hwnd> <runs> <password>: per run, a real left-button
// press and release (SendInput) on the unlocked panel's lock button, and the
// time from the release until the system reports the pointer confined; then
// an unlock through the prompt. Prints each time in ms, then the median.
int CmdLockLatency(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    HWND panel = ParseHwnd(argv[0]);
    HWND button = ::GetDlgItem(panel, 1000);
    int runs = std::atoi(argv[1]);
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 1; i <= runs; ++i) {
        if (!WaitPanelState(panel, false, 10000)) {
            std::fprintf(stderr, "run %d: the panel is not unlocked\n", i);
            return 1;
        }
        RECT r;
        ::GetWindowRect(button, &r);
        POINT target = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        // Just after an unlock the system may still move the pointer back
        // to where the lock put it: aim again until it stays on the button.
        if (!PollFor(5000, [&] {
                ::SetCursorPos(target.x, target.y);
                ::Sleep(10);
                POINT at = {};
                return ::GetCursorPos(&at) && at.x == target.x && at.y == target.y && ::WindowFromPoint(at) == button;
            })) {
            std::fprintf(stderr, "run %d: the pointer does not stay on the button\n", i);
            return 1;
        }
        SendLeftButton(MOUSEEVENTF_LEFTDOWN);
        if (!PollFor(5000, [&] {
                DWORD_PTR state = 0;
                return ::SendMessageTimeoutA(button, BM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, 1000, &state) &&
                       (state & BST_PUSHED) != 0;
            })) {
            SendLeftButton(MOUSEEVENTF_LEFTUP);
            std::fprintf(stderr, "run %d: the button was not pressed\n", i);
            return 1;
        }
        RECT want = LockedClipOf(panel);
        LARGE_INTEGER released;
        LARGE_INTEGER confined;
        ::QueryPerformanceCounter(&released);
        SendLeftButton(MOUSEEVENTF_LEFTUP);
        DWORD start = ::GetTickCount();
        while (!ClipIs(want)) {
            if (::GetTickCount() - start >= 10000) {
                std::fprintf(stderr, "run %d: the pointer was not confined\n", i);
                return 1;
            }
            ::SwitchToThread();
        }
        ::QueryPerformanceCounter(&confined);
        double ms = 1000.0 * static_cast<double>(confined.QuadPart - released.QuadPart) /
                    static_cast<double>(frequency.QuadPart);
        times.push_back(ms);
        std::printf("run %d: %.2f ms\n", i, ms);
        std::fflush(stdout);
        if (!WaitPanelState(panel, true, 10000) || !UnlockThroughPrompt(panel, argv[2], i))
            return 1;
    }
    std::sort(times.begin(), times.end());
    size_t n = times.size();
    double median = n == 0 ? 0.0 : (n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2);
    std::printf("median %.2f ms of %u runs\n", median, static_cast<unsigned>(n));
    return 0;
}

// ---- lock-escape and lock-timing commands ----------------------------------

// ssrunning: the screen-saver-running flag as the system reports it (0 or 1).
int CmdScreenSaverRunning(int, char**)
{
    BOOL running = FALSE;
    if (!::SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0))
        return 1;
    std::printf("%d\n", running ? 1 : 0);
    return 0;
}

// workarea: the desktop less the taskbar, as SPI_GETWORKAREA reports it.
int CmdWorkArea(int, char**)
{
    RECT r;
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0))
        return 1;
    PrintRect(r);
    std::printf("\n");
    return 0;
}

// send <hwnd> <message> <wparam> <lparam>: sent, not posted; gives up after 5 s
// (the receiver may run a modal loop inside the handler). Prints the result.
int CmdSend(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(ParseHwnd(argv[0]), std::strtoul(argv[1], nullptr, 0),
                               std::strtoull(argv[2], nullptr, 0), std::strtoll(argv[3], nullptr, 0),
                               SMTO_NORMAL, 5000, &result))
        return 1;
    std::printf("%lld\n", static_cast<long long>(result));
    return 0;
}

// enable <hwnd> <id> <0|1>: EnableWindow on a dialog control of another program.
int CmdEnable(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    HWND item = ::GetDlgItem(ParseHwnd(argv[0]), std::atoi(argv[1]));
    if (item == nullptr)
        return 1;
    ::EnableWindow(item, std::atoi(argv[2]) != 0);
    return 0;
}

// move <hwnd> <x> <y>: SetWindowPos to x, y, size and Z order kept.
int CmdMove(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    return ::SetWindowPos(ParseHwnd(argv[0]), nullptr, std::atoi(argv[1]), std::atoi(argv[2]), 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
               ? 0
               : 1;
}

// quit-thread <hwnd>: posts WM_QUIT to the thread that owns hwnd.
int CmdQuitThread(int argc, char** argv)
{
    if (argc != 1)
        return 2;
    DWORD thread = ::GetWindowThreadProcessId(ParseHwnd(argv[0]), nullptr);
    return thread != 0 && ::PostThreadMessageA(thread, WM_QUIT, 0, 0) ? 0 : 1;
}

// clip-watch <ms> <left> <top> <right> <bottom>: samples the confinement as
// fast as the system answers for ms milliseconds and prints
// "samples N off M longest-ms X spells S": how many samples differed from
// the given rectangle, the longest unbroken time it differed and how many
// separate times it did.
int CmdClipWatch(int argc, char** argv)
{
    if (argc != 5)
        return 2;
    DWORD duration = std::strtoul(argv[0], nullptr, 0);
    RECT want = {std::atol(argv[1]), std::atol(argv[2]), std::atol(argv[3]), std::atol(argv[4])};
    LARGE_INTEGER frequency, start, now, offSince = {};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    unsigned long samples = 0, off = 0, spells = 0;
    double longest = 0;
    bool wasOff = false;
    for (;;) {
        RECT r;
        ::GetClipCursor(&r);
        ::QueryPerformanceCounter(&now);
        ++samples;
        bool isOff = !::EqualRect(&r, &want);
        if (isOff) {
            ++off;
            if (!wasOff) {
                offSince = now;
                ++spells;
            }
            double ms = 1000.0 * static_cast<double>(now.QuadPart - offSince.QuadPart) /
                        static_cast<double>(frequency.QuadPart);
            if (ms > longest)
                longest = ms;
        }
        wasOff = isOff;
        if (1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) >=
            duration)
            break;
    }
    std::printf("samples %lu off %lu longest-ms %.1f spells %lu\n", samples, off, longest, spells);
    return 0;
}

// lock-state <hwnd>: "window text-hex-of-1000 rect(l t r b) clip(l t r b)
// screensaver" in one call: 0 and nothing more when the window is gone.
int CmdLockState(int argc, char** argv)
{
    if (argc != 1)
        return 2;
    HWND hWnd = ParseHwnd(argv[0]);
    if (!::IsWindow(hWnd)) {
        std::printf("0\n");
        return 0;
    }
    RECT window = {};
    RECT clip = {};
    BOOL running = FALSE;
    ::GetWindowRect(hWnd, &window);
    ::GetClipCursor(&clip);
    ::SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    std::string text = Hex(WindowText(::GetDlgItem(hWnd, 1000)));
    std::printf("1 %s ", text.empty() ? "-" : text.c_str());
    PrintRect(window);
    std::printf(" ");
    PrintRect(clip);
    std::printf(" %d\n", running ? 1 : 0);
    return 0;
}

// movesize <hwnd>: succeeds while the window's thread runs a move or size loop.
int CmdMoveSize(int argc, char** argv)
{
    if (argc != 1)
        return 2;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(ParseHwnd(argv[0]), nullptr), &info))
        return 1;
    return (info.flags & GUI_INMOVESIZE) != 0 ? 0 : 1;
}

struct Command {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* usage;
};

const Command kCommands[] = {
    {"list", CmdList, "list"},
    {"find", CmdFind, "find <filter...>"},
    {"wait", CmdWait, "wait <timeout-ms> <filter...>"},
    {"wait-gone", CmdWaitGone, "wait-gone <timeout-ms> <filter...>"},
    {"count", CmdCount, "count <filter...>"},
    {"exists", CmdExists, "exists <hwnd>"},
    {"rect", CmdRect, "rect <hwnd>"},
    {"item", CmdItem, "item <hwnd> <id>"},
    {"children", CmdChildren, "children <hwnd>"},
    {"style", CmdStyle, "style <hwnd>"},
    {"focus", CmdFocus, "focus <hwnd>"},
    {"foreground", CmdForeground, "foreground"},
    {"idle", CmdIdle, "idle <hwnd> <timeout-ms>"},
    {"clip", CmdClip, "clip"},
    {"cursor", CmdCursor, "cursor"},
    {"screen", CmdScreen, "screen"},
    {"tray", CmdTray, "tray <timeout-ms>"},
    {"hold", CmdHold, "hold <timeout-ms>"},
    {"post", CmdPost, "post <hwnd> <message> <wparam> <lparam>"},
    {"stored-password", CmdStoredPassword, "stored-password <text>"},
    {"checked", CmdChecked, "checked <hwnd> <id>"},
    {"run-value", CmdRunValue, "run-value <name> [wait-ms]"},
    {"start", CmdStart, "start <exe> [args...]"},
    {"objects", CmdObjects, "objects <hwnd>"},
    {"soak-menus", CmdSoakMenus, "soak-menus <frame-hwnd> <count>"},
    {"soak-locks", CmdSoakLocks, "soak-locks <panel-hwnd> <count> <password>"},
    {"lock-latency", CmdLockLatency, "lock-latency <panel-hwnd> <runs> <password>"},
    {"ssrunning", CmdScreenSaverRunning, "ssrunning"},
    {"workarea", CmdWorkArea, "workarea"},
    {"send", CmdSend, "send <hwnd> <message> <wparam> <lparam>"},
    {"enable", CmdEnable, "enable <hwnd> <id> <0|1>"},
    {"move", CmdMove, "move <hwnd> <x> <y>"},
    {"quit-thread", CmdQuitThread, "quit-thread <hwnd>"},
    {"clip-watch", CmdClipWatch, "clip-watch <ms> <left> <top> <right> <bottom>"},
    {"lock-state", CmdLockState, "lock-state <hwnd>"},
    {"movesize", CmdMoveSize, "movesize <hwnd>"},
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2) {
        for (const Command& command : kCommands) {
            if (std::strcmp(argv[1], command.name) == 0) {
                int code = command.run(argc - 2, argv + 2);
                std::fflush(stdout);
                return code;
            }
        }
    }
    std::fprintf(stderr, "usage: tethra_probe <command> ...\n");
    for (const Command& command : kCommands)
        std::fprintf(stderr, "  %s\n", command.usage);
    std::fprintf(stderr, "filters: class=NAME class^=PREFIX title=HEX item=ID visible=0|1\n");
    return 2;
}

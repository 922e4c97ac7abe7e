#include "WinTestSupport.h"

#include <cstdarg>
#include <cstdio>

#include "app/TethraApp.h"
#include "lock/LockPanelDlg.h"

std::string Format(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// ---------------------------------------------------------------------------
// CRecordingPlatform

BOOL CRecordingPlatform::SetForegroundWindow(HWND hWnd)
{
    if (refuseForeground > 0) {
        --refuseForeground;
        foregroundCalls.push_back("SetForegroundWindow refused");
        return FALSE;
    }
    foregroundCalls.push_back("SetForegroundWindow");
    return ::SetForegroundWindow(hWnd);
}

BOOL CRecordingPlatform::AttachThreadInput(DWORD thread, DWORD toThread, BOOL attach)
{
    foregroundCalls.push_back(Format("AttachThreadInput(%d)", attach ? 1 : 0));
    return ::AttachThreadInput(thread, toThread, attach);
}

BOOL CRecordingPlatform::ClipCursor(const RECT* rect)
{
    if (rect == nullptr)
        calls.push_back("ClipCursor(null)");
    else
        calls.push_back(Format("ClipCursor(%ld,%ld,%ld,%ld)", rect->left, rect->top, rect->right, rect->bottom));
    return TRUE;
}

BOOL CRecordingPlatform::SetCursorPos(int x, int y)
{
    calls.push_back(Format("SetCursorPos(%d,%d)", x, y));
    return TRUE;
}

BOOL CRecordingPlatform::SetScreenSaverRunning(BOOL running)
{
    calls.push_back(Format("SetScreenSaverRunning(%d)", running));
    return TRUE;
}

BOOL CRecordingPlatform::ExitWindowsEx(UINT flags, DWORD reserved)
{
    calls.push_back(Format("ExitWindowsEx(%u,%lu)", flags, reserved));
    return TRUE;
}

BOOL CRecordingPlatform::SetSystemPowerState(BOOL suspend, BOOL force)
{
    calls.push_back(Format("SetSystemPowerState(%d,%d)", suspend, force));
    return TRUE;
}

BOOL CRecordingPlatform::EnableShutdownPrivilege()
{
    calls.push_back("EnableShutdownPrivilege");
    return privilegeResult;
}

void CRecordingPlatform::ShellOpen(const char* target)
{
    calls.push_back(Format("ShellOpen(%s)", target));
}

void CRecordingPlatform::SetRunValue(const char* name, const char* data)
{
    calls.push_back(Format("SetRunValue(%s,%s)", name, data));
    DeleteRunValueQuietly(name);
    runValues.emplace_back(name, data);
}

void CRecordingPlatform::DeleteRunValue(const char* name)
{
    calls.push_back(Format("DeleteRunValue(%s)", name));
    DeleteRunValueQuietly(name);
}

void CRecordingPlatform::DeleteRunValueQuietly(const char* name)
{
    for (auto it = runValues.begin(); it != runValues.end(); ++it) {
        if (::lstrcmpiA(it->first.c_str(), name) == 0) {
            runValues.erase(it);
            return;
        }
    }
}

BOOL CRecordingPlatform::ReadRunValue(const char* name, std::string* data)
{
    for (const auto& value : runValues) {
        if (::lstrcmpiA(value.first.c_str(), name) == 0) {
            *data = value.second;
            return TRUE;
        }
    }
    return FALSE;
}

LONG CRecordingPlatform::QueryRunValue(const char* name, DWORD bufferSize)
{
    std::string data;
    if (!ReadRunValue(name, &data))
        return ERROR_FILE_NOT_FOUND;
    return data.size() + 1 <= bufferSize ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

std::vector<std::string> CRecordingPlatform::CallsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> found;
    for (const std::string& call : calls) {
        if (call.compare(0, prefix.size(), prefix) == 0)
            found.push_back(call);
    }
    return found;
}

// ---------------------------------------------------------------------------
// TempIni

TempIni::TempIni()
{
    static int serial = 0;
    char folder[MAX_PATH] = "";
    ::GetTempPathA(sizeof folder, folder);
    m_path = Format("%stethra-test-%lu-%lu-%d.ini", folder, ::GetCurrentProcessId(), ::GetTickCount(), ++serial);
    ::DeleteFileA(m_path.c_str());
}

TempIni::~TempIni()
{
    ::DeleteFileA(m_path.c_str());
}

void TempIni::WriteRaw(const std::string& bytes) const
{
    HANDLE file = ::CreateFileA(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << m_path;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::string TempIni::ReadRaw() const
{
    HANDLE file = ::CreateFileA(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

// ---------------------------------------------------------------------------
// Script

Script* Script::s_running = nullptr;

Script& Script::Then(std::function<void()> action)
{
    m_steps.push_back([action]() {
        action();
        return true;
    });
    return *this;
}

Script& Script::Until(Step condition)
{
    m_steps.push_back(std::move(condition));
    return *this;
}

void Script::Start(UINT intervalMs, DWORD limitMs)
{
    s_running = this;
    m_deadline = ::GetTickCount() + limitMs;
    m_timer = ::SetTimer(nullptr, 0, intervalMs, &Script::Tick);
    ASSERT_NE(m_timer, 0u);
}

void Script::Stop()
{
    if (m_timer != 0)
        ::KillTimer(nullptr, m_timer);
    m_timer = 0;
    if (s_running == this)
        s_running = nullptr;
}

void CALLBACK Script::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_running != nullptr)
        s_running->OnTick();
}

void Script::OnTick()
{
    if (m_timedOut)
        return;
    if (static_cast<LONG>(::GetTickCount() - m_deadline) > 0) {
        m_timedOut = true;
        ADD_FAILURE() << "script timed out waiting at step " << m_next;
        m_next = m_steps.size();
        Rescue();
        return;
    }
    if (m_next >= m_steps.size())
        return;
    // Advanced before the call: a step blocked in a modal loop lets the
    // following steps run inside that loop.
    size_t step = m_next++;
    bool done = m_steps[step]();
    if (!done && m_next == step + 1)
        m_next = step;
}

void Script::Rescue()
{
    ::EndMenu();
    for (HWND hWnd : ThreadWindows()) {
        if (::IsWindow(hWnd) && ClassOf(hWnd) == "#32770")
            ::DestroyWindow(hWnd);
    }
}

// ---------------------------------------------------------------------------
// Window lookups

namespace {

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string ClassOf(HWND hWnd)
{
    char name[64] = "";
    ::GetClassNameA(hWnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hWnd)
{
    char text[512] = "";
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

HWND FindDialog(HWND owner, HWND except)
{
    for (HWND hWnd : ThreadWindows()) {
        if (hWnd == except || ClassOf(hWnd) != "#32770" || !::IsWindowVisible(hWnd) || !::IsWindowEnabled(hWnd))
            continue;
        if (owner == INVALID_HANDLE_VALUE || ::GetWindow(hWnd, GW_OWNER) == owner)
            return hWnd;
    }
    return nullptr;
}

HWND FindMenuWindow()
{
    for (HWND hWnd : ThreadWindows()) {
        if (ClassOf(hWnd) == "#32768" && ::IsWindowVisible(hWnd))
            return hWnd;
    }
    return nullptr;
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, WM_QUIT - 1, PM_REMOVE) ||
           ::PeekMessageA(&msg, nullptr, WM_QUIT + 1, 0xFFFFFFFF, PM_REMOVE))
        ::DispatchMessageA(&msg);
}

int TakeQuitMessage()
{
    MSG msg;
    if (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return static_cast<int>(msg.wParam);
    return -1;
}

// ---------------------------------------------------------------------------
// WinTest

namespace {

// A crash ends the test process at once, with what was printed so far,
// instead of starting Wine's debugger and waiting for the time limit.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info)
{
    std::fprintf(stderr, "\ncrashed: exception 0x%08lx at %p\n", info->ExceptionRecord->ExceptionCode,
                 info->ExceptionRecord->ExceptionAddress);
    std::fflush(stdout);
    std::fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void WinTest::SetUp()
{
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ::SetUnhandledExceptionFilter(&ReportCrash);
    CTethraApp& app = TheApp();
    app.m_hInstance = ::GetModuleHandleA(nullptr);
    if (app.m_pszAppName.empty())
        app.InitApplication(::GetModuleHandleA(nullptr), ::GetCommandLineA());
    app.m_strSettingsPath = m_ini.Path();
    app.m_pMainWnd = nullptr;
    SetPlatform(&m_platform);
}

void WinTest::TearDown()
{
    CTethraApp& app = TheApp();
    EXPECT_EQ(app.m_pMainWnd, nullptr) << "the test's main window was not let go";
    app.m_pMainWnd = nullptr;
    EXPECT_EQ(CLockPanelDlg::s_bOpen, 0);
    CLockPanelDlg::s_bOpen = 0;

    for (HWND hWnd : ThreadWindows()) {
        if (::IsWindow(hWnd) && (::IsWindowVisible(hWnd) || ClassOf(hWnd) == "#32770")) {
            ADD_FAILURE() << "window left open: class " << ClassOf(hWnd) << ", text \"" << TextOf(hWnd) << "\"";
            ::DestroyWindow(hWnd);
        }
    }
    PumpMessages();
    EXPECT_EQ(TakeQuitMessage(), -1) << "a WM_QUIT was left in the queue";

    EXPECT_EQ(SetPlatform(nullptr), &m_platform) << "the fake platform was replaced";
    app.m_strSettingsPath.clear();
}

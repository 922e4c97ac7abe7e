// Shared pieces of the window tests: a recording platform, a fresh settings
// file per test, a timer-driven script that acts inside modal loops, and
// window lookups.
#ifndef TETHRA_TESTS_WIN_WINTESTSUPPORT_H
#define TETHRA_TESTS_WIN_WINTESTSUPPORT_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/Platform.h"

// Records every call with an effect outside the program, as text, in order.
class CRecordingPlatform : public CPlatform {
public:
    int platformId = VER_PLATFORM_WIN32_WINDOWS;
    BOOL privilegeResult = TRUE;
    std::vector<std::string> calls;

    BOOL ClipCursor(const RECT* rect) override;
    BOOL SetCursorPos(int x, int y) override;
    BOOL SetScreenSaverRunning(BOOL running) override;
    // The real foreground calls, recorded apart in foregroundCalls; the
    // first refuseForeground calls to SetForegroundWindow are refused
    // without being made, as Windows 98 refuses a process that did not
    // receive the last input.
    HWND GetForegroundWindow() override { return ::GetForegroundWindow(); }
    BOOL SetForegroundWindow(HWND hWnd) override;
    BOOL AttachThreadInput(DWORD thread, DWORD toThread, BOOL attach) override;
    int refuseForeground = 0;
    std::vector<std::string> foregroundCalls;
    BOOL ExitWindowsEx(UINT flags, DWORD reserved) override;
    BOOL SetSystemPowerState(BOOL suspend, BOOL force) override;
    BOOL EnableShutdownPrivilege() override;
    int GetPlatformId() override { return platformId; }
    void ShellOpen(const char* target) override;
    void SetRunValue(const char* name, const char* data) override;
    void DeleteRunValue(const char* name) override;
    // A small Run key: SetRunValue and DeleteRunValue change it (and are
    // recorded), the queries read it.
    LONG QueryRunValue(const char* name, DWORD bufferSize) override;
    BOOL ReadRunValue(const char* name, std::string* data) override;
    std::vector<std::pair<std::string, std::string>> runValues;
    void DeleteRunValueQuietly(const char* name);
    // What ReadInput reports.
    InputState input;
    void ReadInput(InputState* state) override { *state = input; }
    DWORD GetTickCount() override { return ::GetTickCount(); }
    int32_t CurrentTime() override { return 0; }

    // The calls whose text starts with prefix.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
};

std::string Format(const char* format, ...);

// The text the program shows: the Chinese one where the ANSI code page is
// 936, the English one elsewhere.
inline const char* Shown(const char* chinese, const char* english)
{
    return ::GetACP() == 936 ? chinese : english;
}

// A settings file of its own in the temporary folder; the file is deleted
// when the object goes.
class TempIni {
public:
    TempIni();
    ~TempIni();
    TempIni(const TempIni&) = delete;
    TempIni& operator=(const TempIni&) = delete;

    const std::string& Path() const { return m_path; }
    void WriteRaw(const std::string& bytes) const;
    std::string ReadRaw() const;

private:
    std::string m_path;
};

// Steps run one per tick of a thread timer. Thread timers fire inside every
// message loop of the thread, so steps act from within modal dialogs, message
// boxes and menus alike. A step returns false to be tried again on the next
// tick (waiting for a window); a step may block in a nested modal loop, and
// the following steps then run inside it. Past the time limit the script
// closes menus and destroys the thread's dialogs, so no test can hang.
class Script {
public:
    using Step = std::function<bool()>;

    Script& Then(std::function<void()> action);
    Script& Until(Step condition);

    void Start(UINT intervalMs = 25, DWORD limitMs = 15000);
    void Stop();
    bool Done() const { return m_next == m_steps.size(); }
    bool TimedOut() const { return m_timedOut; }

    ~Script() { Stop(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void OnTick();
    void Rescue();

    static Script* s_running;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
    DWORD m_deadline = 0;
    bool m_timedOut = false;
};

// Top-level windows of this thread.
std::vector<HWND> ThreadWindows();
std::string ClassOf(HWND hWnd);
std::string TextOf(HWND hWnd);
// A visible, enabled dialog-class window of this thread owned by owner
// (any owner when owner is INVALID_HANDLE_VALUE), other than except.
HWND FindDialog(HWND owner = static_cast<HWND>(INVALID_HANDLE_VALUE), HWND except = nullptr);
// The visible popup menu window of this thread, or null.
HWND FindMenuWindow();
// Dispatches what is queued for this thread, except a WM_QUIT.
void PumpMessages();
// Removes a WM_QUIT waiting in this thread's queue; its exit code, or -1.
int TakeQuitMessage();

// Every window test: a fake platform, a fresh settings file, the application
// object pointed at both, and a check that nothing was left open.
class WinTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CRecordingPlatform m_platform;
    TempIni m_ini;
};

#endif

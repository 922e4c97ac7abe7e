// CPlatform: the calls whose effects reach beyond this program (the pointer,
// task switching, the session, the shell, the registry, the clocks).
// The program uses the real calls; tests put a recording stand-in in their place.
#ifndef TETHRA_APP_PLATFORM_H
#define TETHRA_APP_PLATFORM_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/InputState.h"

class CPlatform {
public:
    virtual ~CPlatform() = default;

    // Confines the pointer to rect; null releases it.
    virtual BOOL ClipCursor(const RECT* rect) = 0;
    virtual BOOL SetCursorPos(int x, int y) = 0;
    // The screen-saver-running declaration that turns task switching off on Windows 9x.
    virtual BOOL SetScreenSaverRunning(BOOL running) = 0;

    // The keyboard's window. Windows 98/Me refuse SetForegroundWindow to a
    // process that did not receive the last input, unless its thread is
    // attached to the foreground thread's input.
    virtual HWND GetForegroundWindow() = 0;
    virtual BOOL SetForegroundWindow(HWND hWnd) = 0;
    virtual BOOL AttachThreadInput(DWORD thread, DWORD toThread, BOOL attach) = 0;

    virtual BOOL ExitWindowsEx(UINT flags, DWORD reserved) = 0;
    virtual BOOL SetSystemPowerState(BOOL suspend, BOOL force) = 0;
    // Enables SeShutdownPrivilege on the process token. FALSE when the token
    // cannot be opened or the privilege is not held.
    virtual BOOL EnableShutdownPrivilege() = 0;
    // dwPlatformId from GetVersionExA, or -1 when the call fails.
    virtual int GetPlatformId() = 0;

    // ShellExecuteA "open" on a web or mailto: address.
    virtual void ShellOpen(const char* target) = 0;

    // String values under HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run.
    virtual void SetRunValue(const char* name, const char* data) = 0;
    virtual void DeleteRunValue(const char* name) = 0;
    // The registry's answer to a read of the value into bufferSize bytes:
    // ERROR_SUCCESS, ERROR_MORE_DATA when the value exists but did not fit,
    // another code when it cannot be read.
    virtual LONG QueryRunValue(const char* name, DWORD bufferSize) = 0;
    // The value's whole data; FALSE when there is no such string value.
    virtual BOOL ReadRunValue(const char* name, std::string* data) = 0;

    // The pointer's position and every key's asynchronous state, as the idle
    // lock looks at them.
    virtual void ReadInput(InputState* state) = 0;

    virtual DWORD GetTickCount() = 0;
    virtual int32_t CurrentTime() = 0;
};

// The services in use: the real ones unless a test has installed others.
CPlatform& Platform();
// Installs platform (null restores the real services); returns the previous one.
CPlatform* SetPlatform(CPlatform* platform);

#endif

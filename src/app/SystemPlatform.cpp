// The real platform services.
#include "app/Platform.h"

#include <shellapi.h>

#include <cstdint>

#include "fw/LocalTime.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class CSystemPlatform : public CPlatform {
public:
    BOOL ClipCursor(const RECT* rect) override { return ::ClipCursor(rect); }
    BOOL SetCursorPos(int x, int y) override { return ::SetCursorPos(x, y); }

    BOOL SetScreenSaverRunning(BOOL running) override
    {
        return ::SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, nullptr, 0);
    }

    HWND GetForegroundWindow() override { return ::GetForegroundWindow(); }
    BOOL SetForegroundWindow(HWND hWnd) override { return ::SetForegroundWindow(hWnd); }
    BOOL AttachThreadInput(DWORD thread, DWORD toThread, BOOL attach) override
    {
        return ::AttachThreadInput(thread, toThread, attach);
    }

    BOOL ExitWindowsEx(UINT flags, DWORD reserved) override { return ::ExitWindowsEx(flags, reserved); }

    BOOL SetSystemPowerState(BOOL suspend, BOOL force) override
    {
        return ::SetSystemPowerState(suspend, force);
    }

    BOOL EnableShutdownPrivilege() override
    {
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
            return FALSE;
        TOKEN_PRIVILEGES privileges = {};
        ::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        // AdjustTokenPrivileges succeeds even when the privilege is not held;
        // only the last error tells.
        DWORD error = ::GetLastError();
        ::CloseHandle(token);
        return error == ERROR_SUCCESS;
    }

    int GetPlatformId() override
    {
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof info;
        if (!::GetVersionExA(&info))
            return -1;
        return static_cast<int>(info.dwPlatformId);
    }

    void ShellOpen(const char* target) override
    {
        ::ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOW);
    }

    void SetRunValue(const char* name, const char* data) override
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                         static_cast<DWORD>(::lstrlenA(data) + 1));
        ::RegCloseKey(key);
    }

    void DeleteRunValue(const char* name) override
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        ::RegDeleteValueA(key, name);
        ::RegCloseKey(key);
    }

    LONG QueryRunValue(const char* name, DWORD bufferSize) override
    {
        HKEY key = nullptr;
        LONG status = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_READ, &key);
        if (status != ERROR_SUCCESS)
            return status;
        std::string buffer(bufferSize, '\0');
        DWORD type = REG_SZ;
        DWORD size = bufferSize;
        status = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&buffer[0]), &size);
        ::RegCloseKey(key);
        return status;
    }

    BOOL ReadRunValue(const char* name, std::string* data) override
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return FALSE;
        // Asked for its size first; a value that grows in between is read as cut, never past the buffer.
        DWORD type = 0;
        DWORD size = 0;
        LONG status = ::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
        std::string buffer(size + 1, '\0');
        if (status == ERROR_SUCCESS && type == REG_SZ)
            status = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&buffer[0]), &size);
        ::RegCloseKey(key);
        if (status != ERROR_SUCCESS || type != REG_SZ)
            return FALSE;
        data->assign(buffer.c_str());
        return TRUE;
    }

    void ReadInput(InputState* state) override
    {
        POINT pointer = {};
        ::GetCursorPos(&pointer);
        state->x = pointer.x;
        state->y = pointer.y;
        // The low bit ("pressed since the last call") is shared by every
        // program that asks, so it may have gone to another; the down bit
        // still sees any key held across a look.
        for (int key = 1; key < 255; ++key) {
            SHORT keyState = ::GetAsyncKeyState(key);
            if (keyState & 0x8000)
                state->down[key / 32] |= 1u << (key % 32);
            if (keyState & 1)
                state->pressedSince = true;
        }
    }

    DWORD GetTickCount() override { return ::GetTickCount(); }
    int32_t CurrentTime() override { return SystemCurrentTime(); }
};

CSystemPlatform g_systemPlatform;
CPlatform* g_platform = &g_systemPlatform;

}  // namespace

CPlatform& Platform()
{
    return *g_platform;
}

CPlatform* SetPlatform(CPlatform* platform)
{
    CPlatform* previous = g_platform;
    g_platform = platform != nullptr ? platform : &g_systemPlatform;
    return previous;
}

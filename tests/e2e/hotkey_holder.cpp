// Another program holding a system-wide hotkey, for the tests of the lock
// hotkey: registers it, then shows that it holds it by a hidden top-level
// window named "tethra-hotkey-holder" (which the probe can wait for), and
// keeps it until it is ended or the time runs out.
//
// hotkey_holder <MOD_ bits> <virtual key> <ms>; exit code 1 when the key
// cannot be registered.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    UINT modifiers = static_cast<UINT>(std::strtoul(argv[1], nullptr, 0));
    UINT key = static_cast<UINT>(std::strtoul(argv[2], nullptr, 0));
    DWORD ms = std::strtoul(argv[3], nullptr, 0);
    if (!::RegisterHotKey(nullptr, 1, modifiers, key))
        return 1;
    HWND marker = ::CreateWindowExA(0, "STATIC", "tethra-hotkey-holder", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    DWORD deadline = ::GetTickCount() + ms;
    for (;;) {
        DWORD now = ::GetTickCount();
        if (static_cast<LONG>(deadline - now) <= 0)
            break;
        if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, deadline - now, QS_ALLINPUT) != WAIT_OBJECT_0)
            continue;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }
    ::DestroyWindow(marker);
    ::UnregisterHotKey(nullptr, 1);
    return 0;
}

#include "frame/PowerCommands.h"

#include "app/Platform.h"

bool ExitFlagsFor(int kind, UINT* flags)
{
    switch (kind) {
    case kExitShutdown:
        *flags = EWX_SHUTDOWN;
        return true;
    case kExitReboot:
        *flags = EWX_REBOOT;
        return true;
    case kExitLogoff:
        *flags = EWX_LOGOFF;
        return true;
    default:
        return false;
    }
}

bool IsNtPlatform()
{
    return Platform().GetPlatformId() == VER_PLATFORM_WIN32_NT;
}

int ExitWithPrivilege(int kind)
{
    if (!Platform().EnableShutdownPrivilege())
        return 0;
    UINT flags;
    if (ExitFlagsFor(kind, &flags))
        Platform().ExitWindowsEx(flags, 0);
    return 1;
}

void PowerSleep()
{
    // Suspend, not hibernate; unforced, so running programs are asked first.
    Platform().SetSystemPowerState(TRUE, FALSE);
}

void PowerExit(int kind)
{
    if (IsNtPlatform()) {
        ExitWithPrivilege(kind);
        return;
    }
    UINT flags;
    if (ExitFlagsFor(kind, &flags))
        Platform().ExitWindowsEx(flags, 0);
}

// Sleep, restart, shut down and log off: at once, unforced, silent.
#ifndef TETHRA_FRAME_POWERCOMMANDS_H
#define TETHRA_FRAME_POWERCOMMANDS_H

#include <windows.h>

enum ExitKind { kExitShutdown = 0, kExitReboot = 1, kExitLogoff = 2 };

// The ExitWindowsEx flags of an exit kind; false for an unknown kind.
bool ExitFlagsFor(int kind, UINT* flags);

bool IsNtPlatform();

// NT family: enables the shutdown privilege, then ends the session the way
// kind says. 0 when the privilege could not be enabled, else 1.
int ExitWithPrivilege(int kind);

void PowerSleep();
// Ends the session: directly on Windows 9x, through the privilege on NT.
void PowerExit(int kind);

#endif

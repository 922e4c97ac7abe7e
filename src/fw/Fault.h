// What the program does when it faults: an unhandled exception or a
// runtime abort. The process cannot go on, but a lock it holds has turned
// off task switching for the whole system: that must not outlive it.
#ifndef TETHRA_FW_FAULT_H
#define TETHRA_FW_FAULT_H

#include <windows.h>

// Set once at start-up: undoes the program's system-wide effects. Runs at
// most once, on a fault only.
void AfxSetFaultHandler(void (*handler)());

// Runs the fault handler, then ends the process with code, running no
// destructors: the program's state may be what faulted.
[[noreturn]] void AfxEndOnFault(UINT code);

// The top-level exception filter the entry point installs.
LONG WINAPI AfxUnhandledExceptionFilter(EXCEPTION_POINTERS* info);

#endif

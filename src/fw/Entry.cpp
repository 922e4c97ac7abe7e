// The product's process entry, in place of the C runtime's start-up: no C
// runtime DLL is needed (the first Windows 95 ships none), and the program
// uses nothing else that start-up provides. The test programs keep the
// runtime's own. Linked with pseudo-relocations refused and no TLS.
#include <windows.h>

#include "fw/CommandLine.h"
#include "fw/Fault.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

// The linker's table of static constructors: a -1, the entries, a 0.
extern "C" void (*__CTOR_LIST__[])();

namespace {

// atexit's registrations: the destructors of static objects, registered by
// their constructors (three in this program; atexit fails past the table).
const int kMaxExitFunctions = 8;
void (*g_exitFunctions[kMaxExitFunctions])();
int g_exitCount = 0;

void RunConstructors()
{
    // GCC lists them in the reverse of their order, as its own start-up
    // runs them: last entry first.
    int count = 0;
    while (__CTOR_LIST__[count + 1] != nullptr)
        ++count;
    for (int i = count; i >= 1; --i)
        __CTOR_LIST__[i]();
}

void RunExitFunctions()
{
    while (g_exitCount > 0)
        g_exitFunctions[--g_exitCount]();
}

}  // namespace

extern "C" int atexit(void (*function)())
{
    if (g_exitCount == kMaxExitFunctions)
        return -1;
    g_exitFunctions[g_exitCount++] = function;
    return 0;
}

extern "C" __attribute__((force_align_arg_pointer)) void TethraEntry()
{
    // The x87 unit as the compiler expects it (64-bit precision, exceptions
    // masked), whatever the starting program left in it.
    asm volatile("fninit");
    // A fault while locked must not leave task switching off.
    ::SetUnhandledExceptionFilter(AfxUnhandledExceptionFilter);
    RunConstructors();
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
    // WinMain's documented arguments: the tail with the program's name and
    // the blanks after it skipped, and the show state the starter asked for.
    char* tail = const_cast<char*>(CommandLineTail(::GetCommandLineA()));
    int code = WinMain(::GetModuleHandleA(nullptr), nullptr, tail, show);
    RunExitFunctions();
    ::ExitProcess(static_cast<UINT>(code));
}

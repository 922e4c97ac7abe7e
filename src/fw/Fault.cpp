#include "fw/Fault.h"

namespace {

void (*g_faultHandler)() = nullptr;

}  // namespace

void AfxSetFaultHandler(void (*handler)())
{
    g_faultHandler = handler;
}

void AfxEndOnFault(UINT code)
{
    // Taken first: a fault inside the handler must not run it again.
    void (*handler)() = g_faultHandler;
    g_faultHandler = nullptr;
    if (handler != nullptr)
        handler();
    ::ExitProcess(code);
}

LONG WINAPI AfxUnhandledExceptionFilter(EXCEPTION_POINTERS* info)
{
    // Ends here, quietly and with the exception's code, rather than in the
    // system's fault dialog: that dialog would sit over a desktop whose
    // task switching the dead lock still holds off.
    AfxEndOnFault(info->ExceptionRecord->ExceptionCode);
}

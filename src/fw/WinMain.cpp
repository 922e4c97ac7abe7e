// The program's entry: everything else starts from the application object.
#include <windows.h>

#include "fw/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    // CWinApp finds the tail in the whole line itself.
    return AfxWinMain(instance, ::GetCommandLineA());
}

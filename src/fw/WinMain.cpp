// The program's entry: everything else starts from the application object.
#include <windows.h>

#include "fw/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    // The runtime's own tail rules differ from ours; start from the whole line.
    return AfxWinMain(instance, ::GetCommandLineA());
}

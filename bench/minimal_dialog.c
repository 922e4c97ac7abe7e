/* The baseline: a Win32 program that shows one dialog and nothing else. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    return MessageBoxA(NULL, "baseline", "baseline", MB_OK);
}

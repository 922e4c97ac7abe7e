/* The baseline for the start-up figures: a bare Win32 program that shows
 * Tethra's own panel template (133, linked from the same resource script)
 * and does nothing else: no settings, no tray, no framework. */
#include <windows.h>

#include "res/resource.h"

static INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LOCKPANEL), NULL, PanelProc, 0);
}

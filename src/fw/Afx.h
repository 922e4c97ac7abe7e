// Global helpers of the framework layer.
#ifndef TETHRA_FW_AFX_H
#define TETHRA_FW_AFX_H

#include <windows.h>

#include <string>

class CWinApp;
class CWnd;

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
CWnd* AfxGetMainWnd();

// The window a new dialog or message box should be owned by: the main
// window's last active popup, so boxes stack over whatever the user sees.
HWND AfxGetSafeOwner();

// The language of every text the program shows: Simplified Chinese where
// the system's ANSI code page is 936 and Chinese can be displayed, US
// English everywhere else. Decided from the code page alone: the 9x locale
// settings follow the regional options, not what the system can show.
LANGID AfxGetUiLanguage();
// The data of resource id of type in the user-interface language, or in
// the other language when that has none; null when neither has it.
// Localized resources go through here rather than through LoadStringA,
// LoadMenuA or CreateDialogParamA, whose choice of language differs
// between Windows 95 (system locale), NT (thread locale) and Wine.
const void* AfxLoadResource(const char* type, UINT id, DWORD* size = nullptr);
// String-table entry id in the user-interface language, in the ANSI code
// page, into buffer of size bytes. The length, 0 when there is none.
int AfxLoadString(UINT id, char* buffer, int size);
HMENU AfxLoadMenu(UINT id);
// Sets dialog item item's text to string-table entry stringId.
void AfxSetDlgItemString(HWND dialog, int item, UINT stringId);

// Shows string-table entry promptId in a message box captioned with the
// application title. An MB_OK box without an icon gets the exclamation icon.
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

// The running executable's full path. False when the call fails or the path
// did not fit (the result would be cut): callers must not use such a path.
bool AfxGetModulePath(std::string* path);
// The same with a buffer of room bytes (tests use it to cut the path).
bool AfxGetModulePath(std::string* path, DWORD room);
// Windows 9x paths never exceed MAX_PATH; the room beyond it is for systems
// that allow longer ones.
constexpr DWORD kAfxModulePathRoom = 1024;
// Into the caller's buffer of room bytes, for code that must not allocate;
// path is empty when the result is false.
bool AfxGetModulePath(char* path, DWORD room);

// Registers (once) and names a window class with StaticWndProc as its
// procedure and the given class style, cursor, background and icon.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon);

// Registers the common-control classes named by classes (ICC_... bits)
// through InitCommonControlsEx, looked up at run time: the COMCTL32 of the
// first Windows 95 edition has neither that function nor the newer
// controls, and a program importing it would not start there at all.
// FALSE when the library or the function is missing or the call fails.
BOOL AfxInitCommonControls(DWORD classes);
// Tests name a library without the function; null restores "comctl32.dll".
void AfxSetCommonControlsLibrary(const char* name);

// Asked for the classic 3-D look of dialog controls on old systems. Windows
// 95 and later draw dialogs in 3-D themselves, so there is nothing to do.
inline BOOL Enable3dControlsStatic() { return TRUE; }

#endif

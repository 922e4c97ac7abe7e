#include "fw/Afx.h"

#include <cstdio>
#include <string>
#include <list>

#include "fw/WinApp.h"
#include "fw/Wnd.h"

HINSTANCE AfxGetInstanceHandle()
{
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->m_hInstance != nullptr ? app->m_hInstance : ::GetModuleHandleA(nullptr);
}

CWnd* AfxGetMainWnd()
{
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->m_pMainWnd : nullptr;
}

HWND AfxGetSafeOwner()
{
    CWnd* main = AfxGetMainWnd();
    HWND hWnd = main != nullptr ? main->m_hWnd : nullptr;
    if (hWnd == nullptr || !::IsWindow(hWnd))
        return nullptr;
    return ::GetLastActivePopup(hWnd);
}

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/)
{
    if ((type & MB_ICONMASK) == 0 && (type & MB_TYPEMASK) == MB_OK)
        type |= MB_ICONEXCLAMATION;
    CWinApp* app = AfxGetApp();
    const char* caption = app != nullptr ? app->m_pszAppName.c_str() : nullptr;
    return ::MessageBoxA(AfxGetSafeOwner(), text, caption, type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId)
{
    char text[512] = "";
    ::LoadStringA(AfxGetInstanceHandle(), promptId, text, sizeof text);
    return AfxMessageBox(text, type, helpId);
}

bool AfxGetModulePath(std::string* path)
{
    // Windows 9x paths never exceed MAX_PATH; the room beyond it is for
    // systems that allow longer ones.
    return AfxGetModulePath(path, 1024);
}

bool AfxGetModulePath(std::string* path, DWORD room)
{
    // A call that fills the buffer may leave it unterminated (NT) or cut
    // (9x): either way the path is not whole, and a length of room - 1
    // cannot be told from a cut one.
    std::string buffer(room + 1, '\0');
    DWORD length = room < 2 ? 0 : ::GetModuleFileNameA(nullptr, &buffer[0], room);
    if (length == 0 || length >= room - 1) {
        path->clear();
        return false;
    }
    path->assign(buffer.data(), length);
    return true;
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // Names live as long as the process: the class stays registered. A list
    // because the returned pointers must not move when a name is added.
    static std::list<std::string> names;
    char name[96];
    std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()),
                  classStyle, static_cast<void*>(cursor), static_cast<void*>(background),
                  static_cast<void*>(icon));
    for (const std::string& known : names) {
        if (known == name)
            return known.c_str();
    }

    WNDCLASSA wc = {};
    wc.style = classStyle;
    wc.lpfnWndProc = &CWnd::StaticWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (::RegisterClassA(&wc) == 0)
        return nullptr;
    names.emplace_back(name);
    return names.back().c_str();
}

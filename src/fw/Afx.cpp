#include "fw/Afx.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

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

LANGID AfxGetUiLanguage()
{
    return ::GetACP() == 936 ? MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)
                             : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

const void* AfxLoadResource(const char* type, UINT id, DWORD* size)
{
    HINSTANCE instance = AfxGetInstanceHandle();
    LANGID chosen = AfxGetUiLanguage();
    const LANGID other = chosen == MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)
                             ? MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)
                             : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    HRSRC found = ::FindResourceExA(instance, type, MAKEINTRESOURCEA(id), chosen);
    if (found == nullptr)
        found = ::FindResourceExA(instance, type, MAKEINTRESOURCEA(id), other);
    HGLOBAL loaded = found != nullptr ? ::LoadResource(instance, found) : nullptr;
    if (loaded == nullptr)
        return nullptr;
    if (size != nullptr)
        *size = ::SizeofResource(instance, found);
    return ::LockResource(loaded);
}

int AfxLoadString(UINT id, char* buffer, int size)
{
    if (size <= 0)
        return 0;
    buffer[0] = '\0';
    // A string block holds entries id & ~15 to id | 15, each a count of
    // UTF-16 units and that many units.
    DWORD bytes = 0;
    auto* unit = static_cast<const WCHAR*>(AfxLoadResource(RT_STRING, (id >> 4) + 1, &bytes));
    if (unit == nullptr)
        return 0;
    const WCHAR* end = unit + bytes / sizeof(WCHAR);
    for (UINT entry = id & 15; unit < end && entry > 0; --entry)
        unit += 1 + *unit;
    if (unit >= end || *unit == 0 || *unit >= end - unit)
        return 0;
    int length = ::WideCharToMultiByte(CP_ACP, 0, unit + 1, *unit, buffer, size - 1, nullptr, nullptr);
    buffer[length] = '\0';
    return length;
}

HMENU AfxLoadMenu(UINT id)
{
    const void* menu = AfxLoadResource(RT_MENU, id);
    return menu != nullptr ? ::LoadMenuIndirectA(menu) : nullptr;
}

void AfxSetDlgItemString(HWND dialog, int item, UINT stringId)
{
    char text[256];
    AfxLoadString(stringId, text, sizeof text);
    ::SetDlgItemTextA(dialog, item, text);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId)
{
    char text[512] = "";
    AfxLoadString(promptId, text, sizeof text);
    return AfxMessageBox(text, type, helpId);
}

bool AfxGetModulePath(std::string* path)
{
    return AfxGetModulePath(path, kAfxModulePathRoom);
}

bool AfxGetModulePath(std::string* path, DWORD room)
{
    std::string buffer(room + 1, '\0');
    bool whole = AfxGetModulePath(&buffer[0], room);
    path->assign(buffer.c_str());
    return whole;
}

bool AfxGetModulePath(char* path, DWORD room)
{
    // A call that fills the buffer may leave it unterminated (NT) or cut
    // (9x): either way the path is not whole, and a length of room - 1
    // cannot be told from a cut one.
    DWORD length = room < 2 ? 0 : ::GetModuleFileNameA(nullptr, path, room);
    if (length == 0 || length >= room - 1) {
        if (room > 0)
            path[0] = '\0';
        return false;
    }
    path[length] = '\0';
    return true;
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // Names live as long as the process: the class stays registered. Each
    // name is held through a pointer so the returned text never moves.
    static std::vector<std::unique_ptr<std::string>> names;
    // wsprintfA has no %p before Windows 2000: each value goes out as two
    // 32-bit halves, so 64-bit handles cannot collide either.
    const ULONG_PTR values[] = {reinterpret_cast<ULONG_PTR>(AfxGetInstanceHandle()), classStyle,
                                reinterpret_cast<ULONG_PTR>(cursor), reinterpret_cast<ULONG_PTR>(background),
                                reinterpret_cast<ULONG_PTR>(icon)};
    char name[96] = "Afx";
    char* end = name + 3;
    for (ULONG_PTR value : values) {
        unsigned long long whole = value;
        end += ::wsprintfA(end, ":%lx%08lx", static_cast<unsigned long>(whole >> 32),
                           static_cast<unsigned long>(whole & 0xFFFFFFFFu));
    }
    for (const auto& known : names) {
        if (*known == name)
            return known->c_str();
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
    names.push_back(std::make_unique<std::string>(name));
    return names.back()->c_str();
}

namespace {

const char* g_commonControlsLibrary = "comctl32.dll";

}  // namespace

void AfxSetCommonControlsLibrary(const char* name)
{
    g_commonControlsLibrary = name != nullptr ? name : "comctl32.dll";
}

BOOL AfxInitCommonControls(DWORD classes)
{
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    // Loaded once for the rest of the run: the classes it registers live in it.
    HMODULE library = ::GetModuleHandleA(g_commonControlsLibrary);
    if (library == nullptr)
        library = ::LoadLibraryA(g_commonControlsLibrary);
    if (library == nullptr)
        return FALSE;
    auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(::GetProcAddress(library, "InitCommonControlsEx")));
    if (init == nullptr)
        return FALSE;
    INITCOMMONCONTROLSEX icc = {sizeof icc, classes};
    return init(&icc);
}

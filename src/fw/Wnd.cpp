#include "fw/Wnd.h"

#include "fw/Afx.h"
#include "fw/AfxRes.h"

namespace {

// The message now being dispatched; a handler's Default() passes it on.
// Single-threaded program: one slot, saved and restored around each dispatch.
struct CurrentMessage {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
CurrentMessage g_current = {};

HHOOK g_destroyHook = nullptr;

}  // namespace

LRESULT CALLBACK CWnd::DestroyHook(int code, WPARAM wParam, LPARAM lParam)
{
    // Called by DestroyWindow for the window it was given and, recursively,
    // for the windows that one owns, but not for its children: they are
    // marked here with it.
    if (code == HCBT_DESTROYWND) {
        auto hWnd = reinterpret_cast<HWND>(wParam);
        MarkDestroying(hWnd, 0);
        ::EnumChildWindows(hWnd, &CWnd::MarkDestroying, 0);
    }
    return ::CallNextHookEx(g_destroyHook, code, wParam, lParam);
}

BOOL CALLBACK CWnd::MarkDestroying(HWND hWnd, LPARAM /*lParam*/)
{
    if (CWnd* wnd = FromHandle(hWnd))
        wnd->m_bDestroying = true;
    return TRUE;
}

CWnd::~CWnd()
{
    if (m_hWnd == nullptr)
        return;
    // The derived parts are gone: let go of the window before destroying it
    // so its last messages do not reach a half-destroyed object.
    HWND hWnd = m_hWnd;
    bool subclassed = m_pfnSuper != reinterpret_cast<WNDPROC>(&::DefWindowProcA);
    Detach();
    if (!subclassed)
        ::DestroyWindow(hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) != &CWnd::StaticWndProc)
        return nullptr;
    return reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
}

void CWnd::Attach(HWND hWnd)
{
    // The program has one GUI thread; the hook stays for its life.
    if (g_destroyHook == nullptr)
        g_destroyHook = ::SetWindowsHookExA(WH_CBT, &CWnd::DestroyHook, nullptr, ::GetCurrentThreadId());
    m_bDestroying = false;
    m_hWnd = hWnd;
    ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CWnd::Detach()
{
    if (m_hWnd == nullptr)
        return;
    ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
    if (m_pfnSuper != nullptr && m_pfnSuper != reinterpret_cast<WNDPROC>(&::DefWindowProcA))
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, nullptr, nullptr, nullptr);
    return cs.lpszClass != nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT_PTR idOrMenu)
{
    CREATESTRUCTA cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = rect.left;
    cs.y = rect.top;
    if (rect.left == CW_USEDEFAULT) {
        // A default place asks for a default size too.
        cs.cx = CW_USEDEFAULT;
        cs.cy = CW_USEDEFAULT;
    } else {
        cs.cx = rect.right - rect.left;
        cs.cy = rect.bottom - rect.top;
    }
    cs.hwndParent = parent != nullptr ? parent->m_hWnd : nullptr;
    cs.hMenu = reinterpret_cast<HMENU>(idOrMenu);
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = this;
    if (!PreCreateWindow(cs))
        return FALSE;

    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                                  cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, this);
    if (hWnd == nullptr && m_hWnd != nullptr) {
        // Refused in WM_NCCREATE or WM_CREATE: the system freed the window
        // without DestroyWindow, so no hook told us, and the object still
        // holds the dead handle.
        m_hWnd = nullptr;
        m_pfnSuper = nullptr;
        PostNcDestroy();
    }
    return hWnd != nullptr;
}

BOOL CWnd::Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    Attach(hWnd);
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));
    DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
    if (swpFlags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC super = m_pfnSuper != nullptr ? m_pfnSuper : &::DefWindowProcA;
    return ::CallWindowProcA(super, m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(g_current.message, g_current.wParam, g_current.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        if (!IsCommandMessage(wParam, lParam))
            return FALSE;
        *result = 0;
        return OnCmdMsg(LOWORD(wParam));
    }
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        const MessageMapEntry* row = FindEntry(WM_NOTIFY, static_cast<UINT>(header->idFrom), header->code);
        if (row == nullptr)
            return FALSE;
        Invoke(*row, wParam, lParam, result);
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU && item->hwndItem != nullptr &&
            ::SendMessageA(item->hwndItem, WM_REFLECT_BASE + WM_DRAWITEM, wParam, lParam) != 0) {
            *result = TRUE;
            return TRUE;
        }
    }
    const MessageMapEntry* row = FindEntry(message, 0);
    if (row == nullptr)
        return FALSE;
    Invoke(*row, wParam, lParam, result);
    return TRUE;
}

bool CWnd::IsCommandMessage(WPARAM wParam, LPARAM lParam)
{
    UINT code = HIWORD(wParam);
    // A menu (code 0) or an accelerator (code 1) names no sender.
    if (lParam == 0)
        return code <= 1;
    // From a control only a button's click is a command: other codes share
    // its values (STN_CLICKED is 0, LBN_SELCHANGE and STN_DBLCLK are 1).
    if (code != BN_CLICKED)
        return false;
    char className[16] = "";
    ::GetClassNameA(reinterpret_cast<HWND>(lParam), className, sizeof className);
    return ::lstrcmpiA(className, "Button") == 0;
}

BOOL CALLBACK CWnd::SendSysColorChange(HWND child, LPARAM /*lParam*/)
{
    ::SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    // The system tells only top-level windows about new colours; controls
    // that keep colour-dependent resources (the banner) learn it from here.
    // EnumChildWindows reaches every descendant, so only the top passes it on.
    if (message == WM_SYSCOLORCHANGE && m_hWnd != nullptr && (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) == 0)
        ::EnumChildWindows(m_hWnd, &CWnd::SendSysColorChange, 0);
    return result;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* wnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (wnd == nullptr && message == WM_NCCREATE) {
        wnd = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (wnd != nullptr) {
            wnd->Attach(hWnd);
            wnd->m_pfnSuper = &::DefWindowProcA;
        }
    }
    if (wnd == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    // Sent by another program to a window that is not going: no effect at all.
    if ((message == WM_DESTROY || message == WM_NCDESTROY) && !wnd->m_bDestroying)
        return 0;

    CurrentMessage saved = g_current;
    g_current = {hWnd, message, wParam, lParam};
    LRESULT result;
    if (message == WM_NCDESTROY) {
        result = wnd->DefWindowProc(message, wParam, lParam);
        wnd->Detach();
        wnd->PostNcDestroy();
    } else {
        // A handler may destroy this object (its window's owner went away);
        // nothing below touches wnd after the call.
        result = wnd->WindowProc(message, wParam, lParam);
    }
    g_current = saved;
    return result;
}

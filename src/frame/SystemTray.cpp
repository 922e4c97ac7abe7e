#include "frame/SystemTray.h"

#include <cstring>

#include "fw/Afx.h"
#include "fw/Wnd.h"

const CRuntimeClass CSystemTray::classCSystemTray = {"CSystemTray", &CObject::classCObject};

UINT CSystemTray::TaskbarCreatedMessage()
{
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

CSystemTray::CSystemTray()
{
    std::memset(&m_iconData, 0, sizeof m_iconData);
}

CSystemTray::~CSystemTray()
{
    DeleteIcon();
}

BOOL CSystemTray::AddIcon(CWnd* owner, UINT callbackMessage, const char* tooltip, HICON icon, UINT id)
{
    // The notification area exists from system version 4 on.
    m_bIconAdded = LOBYTE(LOWORD(::GetVersion())) >= 4;
    if (!m_bIconAdded)
        return FALSE;
    m_bIconAdded = owner != nullptr && ::IsWindow(owner->m_hWnd);
    if (!m_bIconAdded)
        return FALSE;

    // The first, 88-byte form of the record: the only one Windows 95 knows.
    m_iconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    m_iconData.hWnd = owner->m_hWnd;
    m_iconData.uID = id;
    m_iconData.hIcon = icon;
    m_iconData.uCallbackMessage = callbackMessage;
    m_iconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    ::lstrcpynA(m_iconData.szTip, tooltip, 64);

    m_bIconAdded = ::Shell_NotifyIconA(NIM_ADD, &m_iconData);
    return m_bIconAdded;
}

BOOL CSystemTray::RestoreIcon()
{
    if (m_iconData.hWnd == nullptr || !::IsWindow(m_iconData.hWnd))
        return FALSE;
    m_iconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_bIconAdded = ::Shell_NotifyIconA(NIM_ADD, &m_iconData);
    return m_bIconAdded;
}

void CSystemTray::DeleteIcon()
{
    if (!m_bIconAdded)
        return;
    m_iconData.uFlags = 0;
    ::Shell_NotifyIconA(NIM_DELETE, &m_iconData);
    m_bIconAdded = FALSE;
}

bool CSystemTray::LoadTrayMenu(HMENU* menu, HMENU* popup) const
{
    *menu = AfxLoadMenu(LOWORD(m_iconData.uID));
    if (*menu == nullptr)
        return false;
    *popup = ::GetSubMenu(*menu, 0);
    if (*popup != nullptr)
        return true;
    ::DestroyMenu(*menu);
    return false;
}

void CSystemTray::SetCommandKeyText(UINT command, const char* keyText)
{
    m_keyCommand = command;
    ::lstrcpynA(m_szKeyText, keyText, sizeof m_szKeyText);
}

void CSystemTray::AddKeyText(HMENU popup) const
{
    if (m_szKeyText[0] == '\0')
        return;
    char text[128 + sizeof m_szKeyText];
    if (::GetMenuStringA(popup, m_keyCommand, text, 128, MF_BYCOMMAND) <= 0)
        return;
    ::wsprintfA(text + ::lstrlenA(text), "\t%s", m_szKeyText);
    ::ModifyMenuA(popup, m_keyCommand, MF_BYCOMMAND | MF_STRING, m_keyCommand, text);
}

LRESULT CSystemTray::HandleTrayMessage(WPARAM wParam, LPARAM lParam)
{
    if (wParam != m_iconData.uID)
        return 0;

    UINT mouseMessage = LOWORD(lParam);
    if (mouseMessage == WM_RBUTTONUP) {
        HMENU menu;
        HMENU popup;
        if (!LoadTrayMenu(&menu, &popup))
            return 0;
        ::SetMenuDefaultItem(popup, 0, TRUE);
        AddKeyText(popup);
        POINT cursor;
        ::GetCursorPos(&cursor);
        // Without the foreground the menu would not close when the user
        // clicks elsewhere; the WM_NULL afterwards lets a second click work.
        ::SetForegroundWindow(m_iconData.hWnd);
        ::TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, m_iconData.hWnd, nullptr);
        ::PostMessageA(m_iconData.hWnd, WM_NULL, 0, 0);
        ::DestroyMenu(menu);
        return 1;
    }
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        HMENU menu;
        HMENU popup;
        if (!LoadTrayMenu(&menu, &popup))
            return 0;
        ::SetForegroundWindow(m_iconData.hWnd);
        UINT id = ::GetMenuItemID(popup, 0);
        // The command may run a modal panel; the menu stays loaded until it returns.
        ::SendMessageA(m_iconData.hWnd, WM_COMMAND, id, 0);
        ::DestroyMenu(menu);
        return 1;
    }
    return 1;
}

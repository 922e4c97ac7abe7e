// CSystemTray: the program's icon in the notification area, and what mouse
// events on it do: a right-button release opens the command menu, a double
// click runs the menu's first command.
#ifndef TETHRA_FRAME_SYSTEMTRAY_H
#define TETHRA_FRAME_SYSTEMTRAY_H

#include <windows.h>
#include <shellapi.h>

#include "fw/Object.h"

class CWnd;

class CSystemTray : public CObject {
public:
    static const CRuntimeClass classCSystemTray;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCSystemTray; }

    CSystemTray();
    ~CSystemTray() override;

    // Adds the icon; TRUE when it is in the notification area. The tooltip
    // must fit in 63 bytes.
    BOOL AddIcon(CWnd* owner, UINT callbackMessage, const char* tooltip, HICON icon, UINT id);
    // Adds the icon again with the same data, after the shell's notification
    // area was re-created (Explorer restarted).
    BOOL RestoreIcon();
    void DeleteIcon();

    // The owner's callback: wParam is the icon id, lParam's low word the mouse message.
    virtual LRESULT HandleTrayMessage(WPARAM wParam, LPARAM lParam);

    BOOL IsIconAdded() const { return m_bIconAdded; }

    // The menu shows keyText (at most 31 bytes) after a tab in command's
    // item; "" for none.
    void SetCommandKeyText(UINT command, const char* keyText);
    // Sent to every top-level window when the shell's taskbar is created anew.
    static UINT TaskbarCreatedMessage();

private:
    // Menu resource (the icon id) and its first popup. False when either is missing.
    bool LoadTrayMenu(HMENU* menu, HMENU* popup) const;
    void AddKeyText(HMENU popup) const;

    BOOL m_bIconAdded = FALSE;
    NOTIFYICONDATAA m_iconData;
    UINT m_keyCommand = 0;
    char m_szKeyText[32] = "";
};

#endif

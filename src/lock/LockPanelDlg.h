// CLockPanelDlg: the lock panel. Locking confines the pointer to the panel,
// centres it there and declares a screen saver running, which turns task
// switching off on Windows 9x; only the right password undoes it.
#ifndef TETHRA_LOCK_LOCKPANELDLG_H
#define TETHRA_LOCK_LOCKPANELDLG_H

#include "controls/BitmapStatic.h"
#include "fw/Dialog.h"

class CLockPanelDlg : public CDialog {
public:
    CLockPanelDlg();

    // Set by the opener before DoModal: lock as soon as the panel opens.
    int m_bLockOnOpen = 0;
    CBitmapStatic m_banner;
    int m_bLocked = 0;

    // 0 at once while another panel is open; else the run's end code.
    INT_PTR DoModal() override;

    // Whether a panel is open: one at a time, program-wide.
    static int s_bOpen;

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnLock();
    void OnSettings();
    void OnLButtonDown(UINT flags, POINT point);
    void OnTimer(UINT_PTR id);

    void SavePosition();
    void SetProtectedRestart(bool enable);
    // Whether the Run key holds this program's own protected-restart value.
    static bool HasOwnProtectedRestart();

private:
    // Confines the pointer to the panel's rectangle less 12 pixels a side;
    // returns that rectangle.
    RECT ConfinePointer();
    void LockSteps(bool protectedOn);
    void UnlockSteps(bool protectedOn);
    void EnableButtons();
};

#endif

// CLockPanelDlg: the lock panel. Locking confines the pointer to the panel,
// centres it there and declares a screen saver running, which turns task
// switching off on Windows 9x; only the right password undoes it.
//
// Whenever the program ends while locked (WM_QUIT, the end of the session)
// the panel releases the pointer and clears the screen-saver declaration on
// its way out, so the system is never left with task switching off and no
// program to turn it back on. The protected-restart Run value stays: a
// restart must bring the lock back.
#ifndef TETHRA_LOCK_LOCKPANELDLG_H
#define TETHRA_LOCK_LOCKPANELDLG_H

#include "controls/BitmapStatic.h"
#include "fw/Dialog.h"
#include "settings/SettingsFile.h"

class CLockPanelDlg : public CDialog {
public:
    CLockPanelDlg();

    // Set by the opener before DoModal: lock as soon as the panel opens.
    int m_bLockOnOpen = 0;
    CBitmapStatic m_banner;
    int m_bLocked = 0;
    // Set by the opener with m_bLockOnOpen when that lock carries on the one
    // in force before a restart: the wrong passwords counted then stay.
    int m_bCarryOnLock = 0;

    // 0 at once while another panel is open; else the run's end code.
    INT_PTR DoModal() override;

    // Whether a panel is open: one at a time, program-wide.
    static int s_bOpen;
    // The timed lock fell due, or the lock hotkey was pressed. An open panel
    // that is not locked locks: at once, or when a dialog runs over it (its
    // settings, the about box), as soon as that dialog has closed. False
    // when no panel is open.
    static bool RequestLock();
    // Whether a lock is in force: while it is, nothing but the panel's own
    // unlock road may act.
    static bool IsLockInForce() { return s_bLockInForce != 0; }

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    // While locked only the lock button (the way to the unlock prompt) is
    // taken; every other command, however it was sent, is dropped.
    BOOL OnCmdMsg(UINT id) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnLock();
    void OnSettings();
    void OnLButtonDown(UINT flags, POINT point);
    void OnTimer(UINT_PTR id);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnReconfine(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnSettingChange(WPARAM action, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnable(WPARAM enabled, LPARAM lParam);
    LRESULT OnLockRequest(WPARAM wParam, LPARAM lParam);

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
    // While locked the keyboard stays with the panel or a window it owns.
    void TakeKeyboard();
    void SetLocked(int locked);
    // The pointer freed, the declaration cleared, the lock no longer in
    // force. The Run value is left to the caller.
    void ReleaseLock();
    // Moves the panel wholly inside the work area when it is not.
    void KeepInsideWorkArea();
    // After the unlock: how many wrong passwords were typed during the
    // lock, and when the last was; then both are forgotten.
    static void ReportWrongPasswords(const CSettingsFile& settings);
    static void ForgetWrongPasswords(const CSettingsFile& settings);

    static int s_bLockInForce;
    static CLockPanelDlg* s_pOpenPanel;
    int m_bLockRequested = 0;
};

#endif

// CSettingsDlg: edits every option, the timed lock and the start with the
// system; its Password button changes the password. One at a time.
#ifndef TETHRA_DIALOGS_SETTINGSDLG_H
#define TETHRA_DIALOGS_SETTINGSDLG_H

#include "dialogs/SettingsRules.h"
#include "fw/Dialog.h"
#include "fw/Time.h"

class CSettingsDlg : public CDialog {
public:
    CSettingsDlg();

    int m_bInitTray = 0;
    int m_bInitLock = 0;
    int m_bUnlockHide = 0;
    int m_bUnlockQuit = 0;
    int m_bAutoRun = 0;
    int m_bTimeLock = 0;
    int m_bProtectRestart = 0;
    int m_bIdleLock = 0;
    CTime m_tAfterTime;
    CTime m_tOnTime;

    // 0 at once while another settings dialog is open, which then comes to
    // the front; -1 when the dialog cannot be shown (no date-time picker on
    // this system, which a message box then says); else IDOK or IDCANCEL.
    INT_PTR DoModal() override;

    // The "Tethra" value under the Run key: the executable's path, or none.
    static void SetAutorun(bool enable);
    static bool IsAutorunSet();

    // Whether a settings dialog is open: one at a time, program-wide.
    static int s_bOpen;
    // The open one, for a second request to bring forward.
    static CSettingsDlg* s_pOpen;

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnInitTrayClicked();
    void OnInitLockClicked();
    void OnUnlockHideClicked();
    void OnUnlockQuitClicked();
    void OnPassword();
    void OnTimeLockClicked();
    void OnIdleLockClicked();

private:
    // Reads the boxes, applies box's rule and shows the result.
    void ApplyRule(SettingsBox box);
    void EnableTimedControls(bool enable);
    void EnableIdleControls(bool enable);
    // The idle lock's minutes as typed; a text that is no number from 1 to
    // 240 is reported, and the dialog stays open.
    bool ReadIdleMinutes(int* minutes);
    // Whether hotKey (the hotkey control's word) may be kept: refused keys
    // and keys another program holds are reported, and the dialog stays open.
    bool AcceptHotKey(int hotKey);
};

#endif

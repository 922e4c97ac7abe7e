#include "dialogs/SettingsDlg.h"

#include <commctrl.h>

#include <iterator>

#include "app/AppSettings.h"
#include "app/Platform.h"
#include "dialogs/ChangePasswordDlg.h"
#include "frame/HotKey.h"
#include "frame/IdleWatch.h"
#include "frame/IdleLockMessage.h"
#include "frame/LockHotKeyMessage.h"
#include "fw/Afx.h"
#include "fw/Wnd.h"
#include "res/resource.h"
#include "settings/RunKey.h"
#include "settings/TimeValue.h"

int CSettingsDlg::s_bOpen = 0;
CSettingsDlg* CSettingsDlg::s_pOpen = nullptr;

const MessageMapEntry CSettingsDlg::messageEntries[] = {
    OnCommandRow(IDC_INIT_TRAY, &CSettingsDlg::OnInitTrayClicked),
    OnCommandRow(IDC_INIT_LOCK, &CSettingsDlg::OnInitLockClicked),
    OnCommandRow(IDC_UNLOCK_HIDE, &CSettingsDlg::OnUnlockHideClicked),
    OnCommandRow(IDC_UNLOCK_QUIT, &CSettingsDlg::OnUnlockQuitClicked),
    OnCommandRow(IDC_CHANGE_PASSWORD, &CSettingsDlg::OnPassword),
    OnCommandRow(IDC_TIME_LOCK, &CSettingsDlg::OnTimeLockClicked),
    OnCommandRow(IDC_IDLE_LOCK, &CSettingsDlg::OnIdleLockClicked),
};
const MessageMap CSettingsDlg::messageMap = {&CDialog::messageMap, messageEntries, std::size(messageEntries)};

CSettingsDlg::CSettingsDlg()
    : CDialog(IDD_SETTINGS), m_tAfterTime(DefaultTimeValue()), m_tOnTime(DefaultTimeValue())
{
}

INT_PTR CSettingsDlg::DoModal()
{
    if (s_bOpen) {
        if (s_pOpen != nullptr)
            s_pOpen->BringToFront();
        return 0;
    }
    s_bOpen = 1;
    s_pOpen = this;
    // The pickers' class comes with InitCommonControlsEx; a COMCTL32 without
    // it (the first Windows 95 edition) has no picker either, and the dialog
    // cannot be shown. The user is told why, and what would make it work.
    INT_PTR result = -1;
    if (AfxInitCommonControls(ICC_DATE_CLASSES | ICC_HOTKEY_CLASS | ICC_UPDOWN_CLASS))
        result = CDialog::DoModal();
    else
        AfxMessageBox(IDS_NO_DATE_PICKER, MB_OK);
    // OK and Cancel let go of the guard; a run that ended any other way
    // (not created, quit, destroyed from outside) must not keep it.
    s_bOpen = 0;
    s_pOpen = nullptr;
    return result;
}

void CSettingsDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_INIT_TRAY, m_bInitTray);
    DDX_Check(pDX, IDC_INIT_LOCK, m_bInitLock);
    DDX_Check(pDX, IDC_UNLOCK_HIDE, m_bUnlockHide);
    DDX_Check(pDX, IDC_UNLOCK_QUIT, m_bUnlockQuit);
    DDX_Check(pDX, IDC_AUTORUN, m_bAutoRun);
    DDX_Check(pDX, IDC_TIME_LOCK, m_bTimeLock);
    DDX_Check(pDX, IDC_PROTECT_RESTART, m_bProtectRestart);
    DDX_Check(pDX, IDC_IDLE_LOCK, m_bIdleLock);
    DDX_DateTimeCtrl(pDX, IDC_AFTER_TIME, m_tAfterTime);
    DDX_DateTimeCtrl(pDX, IDC_ON_TIME, m_tOnTime);
}

BOOL CSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CSettingsFile settings = AppSettings();
    m_bInitTray = settings.ReadInt(Key::InitTray);
    m_bInitLock = settings.ReadInt(Key::InitLock);
    m_bUnlockHide = settings.ReadInt(Key::UnlockHide);
    m_bUnlockQuit = settings.ReadInt(Key::UnlockQuit);
    m_bProtectRestart = settings.ReadInt(Key::Protected);
    m_bTimeLock = settings.ReadInt(Key::TimeLock);
    m_bIdleLock = settings.ReadInt(Key::IdleLock);
    ::SendDlgItemMessageA(m_hWnd, IDC_IDLE_SPIN, UDM_SETRANGE, 0, MAKELPARAM(240, 1));
    ::SetDlgItemInt(m_hWnd, IDC_IDLE_MINUTES, static_cast<UINT>(IdleMinutesFor(settings.ReadInt(Key::IdleMinutes))),
                    FALSE);
    m_bAutoRun = IsAutorunSet() ? 1 : 0;
    int hotKey = HotKeyFromStored(settings.ReadInt(Key::HotKey));
    ::SendDlgItemMessageA(m_hWnd, IDC_HOTKEY, HKM_SETHOTKEY, static_cast<WPARAM>(hotKey), 0);

    ::CheckRadioButton(m_hWnd, IDC_AFTER_RUNNING, IDC_AT_CLOCK, IDC_AFTER_RUNNING);
    if (m_bTimeLock != 0) {
        if (settings.ReadInt(Key::TimeLockType) == 1)
            ::CheckRadioButton(m_hWnd, IDC_AFTER_RUNNING, IDC_AT_CLOCK, IDC_AT_CLOCK);
        m_tAfterTime = StoredTimeValue(settings.ReadInt(Key::AfterTime));
        m_tOnTime = StoredTimeValue(settings.ReadInt(Key::OnTime));
    }

    UpdateData(FALSE);
    // After the exchange: a stored TimeLock outside 0 to 2 shows unchecked.
    EnableTimedControls(m_bTimeLock != 0);
    EnableIdleControls(m_bIdleLock != 0);
    return TRUE;
}

void CSettingsDlg::EnableIdleControls(bool enable)
{
    for (int id : {IDC_IDLE_MINUTES, IDC_IDLE_SPIN})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), enable ? TRUE : FALSE);
}

void CSettingsDlg::OnIdleLockClicked()
{
    EnableIdleControls(::IsDlgButtonChecked(m_hWnd, IDC_IDLE_LOCK) == BST_CHECKED);
}

bool CSettingsDlg::ReadIdleMinutes(int* minutes)
{
    BOOL number = FALSE;
    UINT typed = ::GetDlgItemInt(m_hWnd, IDC_IDLE_MINUTES, &number, FALSE);
    if (number && typed >= 1 && typed <= 240) {
        *minutes = static_cast<int>(typed);
        return true;
    }
    AfxMessageBox(IDS_IDLE_MINUTES_RANGE, MB_OK);
    HWND field = ::GetDlgItem(m_hWnd, IDC_IDLE_MINUTES);
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    ::SendMessageA(field, EM_SETSEL, 0, -1);
    return false;
}

void CSettingsDlg::EnableTimedControls(bool enable)
{
    for (int id : {IDC_AFTER_RUNNING, IDC_AT_CLOCK, IDC_AFTER_TIME, IDC_ON_TIME})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), enable ? TRUE : FALSE);
}

void CSettingsDlg::ApplyRule(SettingsBox box)
{
    UpdateData(TRUE);
    SettingsChecks checks;
    checks.initTray = m_bInitTray;
    checks.initLock = m_bInitLock;
    checks.unlockHide = m_bUnlockHide;
    checks.unlockQuit = m_bUnlockQuit;
    checks.timeLock = m_bTimeLock;
    TimedControls timed = ApplyClickRule(box, &checks);
    m_bInitTray = checks.initTray;
    m_bInitLock = checks.initLock;
    m_bUnlockHide = checks.unlockHide;
    m_bUnlockQuit = checks.unlockQuit;
    m_bTimeLock = checks.timeLock;
    UpdateData(FALSE);
    if (timed != TimedControls::Leave)
        EnableTimedControls(timed == TimedControls::Enable);
}

void CSettingsDlg::OnInitTrayClicked()
{
    ApplyRule(SettingsBox::InitTray);
}

void CSettingsDlg::OnInitLockClicked()
{
    ApplyRule(SettingsBox::InitLock);
}

void CSettingsDlg::OnUnlockHideClicked()
{
    ApplyRule(SettingsBox::UnlockHide);
}

void CSettingsDlg::OnUnlockQuitClicked()
{
    ApplyRule(SettingsBox::UnlockQuit);
}

void CSettingsDlg::OnTimeLockClicked()
{
    ApplyRule(SettingsBox::TimeLock);
}

void CSettingsDlg::OnPassword()
{
    // The password is stored by that dialog itself, whatever this one ends with.
    CChangePasswordDlg dialog;
    dialog.DoModal();
}

bool CSettingsDlg::AcceptHotKey(int hotKey)
{
    UINT message = 0;
    HotKeyCheck check = CheckHotKey(hotKey);
    CWnd* frame = AfxGetMainWnd();
    if (check != HotKeyCheck::Allowed && check != HotKeyCheck::None)
        message = IDS_HOTKEY_REFUSED;
    else if (frame != nullptr && frame->m_hWnd != nullptr &&
             ::SendMessageA(frame->m_hWnd, WM_SETLOCKHOTKEY, static_cast<WPARAM>(hotKey), 0) != 0)
        message = IDS_HOTKEY_TAKEN;
    if (message == 0)
        return true;
    AfxMessageBox(message, MB_OK);
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDC_HOTKEY)), TRUE);
    return false;
}

void CSettingsDlg::OnOK()
{
    // The hotkey first: a key that cannot be had keeps the dialog open with
    // nothing written.
    int hotKey = LOWORD(::SendDlgItemMessageA(m_hWnd, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0));
    if (!AcceptHotKey(hotKey))
        return;
    UpdateData(TRUE);
    int idleMinutes = 0;
    if (m_bIdleLock != 0 && !ReadIdleMinutes(&idleMinutes))
        return;
    CSettingsFile settings = AppSettings();
    settings.WriteFlag(Key::InitTray, m_bInitTray != 0);
    settings.WriteFlag(Key::InitLock, m_bInitLock != 0);
    settings.WriteFlag(Key::UnlockHide, m_bUnlockHide != 0);
    settings.WriteFlag(Key::UnlockQuit, m_bUnlockQuit != 0);
    settings.WriteFlag(Key::Protected, m_bProtectRestart != 0);
    settings.WriteFlag(Key::TimeLock, m_bTimeLock != 0);
    SetAutorun(m_bAutoRun != 0);
    if (m_bTimeLock != 0) {
        if (::IsDlgButtonChecked(m_hWnd, IDC_AFTER_RUNNING) == BST_CHECKED)
            settings.WriteText(Key::TimeLockType, "0");
        else if (::IsDlgButtonChecked(m_hWnd, IDC_AT_CLOCK) == BST_CHECKED)
            settings.WriteText(Key::TimeLockType, "1");
        settings.WriteInt(Key::AfterTime, m_tAfterTime.GetTime());
        settings.WriteInt(Key::OnTime, m_tOnTime.GetTime());
    }
    settings.WriteInt(Key::HotKey, hotKey);
    settings.WriteFlag(Key::IdleLock, m_bIdleLock != 0);
    if (m_bIdleLock != 0)
        settings.WriteInt(Key::IdleMinutes, idleMinutes);
    // The idle lock starts or stops at once, and counts from now.
    CWnd* frame = AfxGetMainWnd();
    if (frame != nullptr && frame->m_hWnd != nullptr)
        ::SendMessageA(frame->m_hWnd, WM_IDLELOCKCHANGED, 0, 0);
    s_bOpen = 0;
    CDialog::OnOK();
}

void CSettingsDlg::OnCancel()
{
    s_bOpen = 0;
    CDialog::OnCancel();
}

void CSettingsDlg::SetAutorun(bool enable)
{
    if (!enable) {
        Platform().DeleteRunValue(kAutorunValue);
        return;
    }
    // A cut path would start something else at the next boot: write nothing.
    std::string path;
    if (!AfxGetModulePath(&path))
        return;
    Platform().SetRunValue(kAutorunValue, path.c_str());
}

bool CSettingsDlg::IsAutorunSet()
{
    // A value that does not fit the buffer (a path of 80 characters or more)
    // is set all the same: read as unset, the box would show unchecked and
    // the next OK would delete the user's autorun.
    LONG status = Platform().QueryRunValue(kAutorunValue, kAutorunQueryBytes);
    return status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
}

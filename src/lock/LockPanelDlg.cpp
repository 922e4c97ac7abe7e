#include "lock/LockPanelDlg.h"

#include <iterator>

#include "app/AppSettings.h"
#include "app/Platform.h"
#include "dialogs/SettingsDlg.h"
#include "fw/Afx.h"
#include "lock/LockGeometry.h"
#include "lock/PasswordPromptDlg.h"
#include "res/resource.h"
#include "settings/RunKey.h"
#include "settings/SettingsFile.h"

int CLockPanelDlg::s_bOpen = 0;

const MessageMapEntry CLockPanelDlg::messageEntries[] = {
    OnCommandRow(IDC_LOCK, &CLockPanelDlg::OnLock),
    OnMouseRow(WM_LBUTTONDOWN, &CLockPanelDlg::OnLButtonDown),
    OnCommandRow(IDC_SETTINGS, &CLockPanelDlg::OnSettings),
    OnTimerRow(&CLockPanelDlg::OnTimer),
};
const MessageMap CLockPanelDlg::messageMap = {&CDialog::messageMap, messageEntries, std::size(messageEntries)};

namespace {

const UINT_PTR kReconfineTimer = 1;

}  // namespace

CLockPanelDlg::CLockPanelDlg() : CDialog(IDD_LOCKPANEL) {}

INT_PTR CLockPanelDlg::DoModal()
{
    if (s_bOpen)
        return 0;
    s_bOpen = 1;
    INT_PTR result = CDialog::DoModal();
    // A panel that never opened, or was torn down from outside, did not pass
    // through SavePosition: without this no panel could ever open again.
    if (result == -1)
        s_bOpen = 0;
    return result;
}

void CLockPanelDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_BANNER, m_banner);
}

BOOL CLockPanelDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_banner.SetBitmapResource(IDB_BANNER);

    CSettingsFile settings = AppSettings();
    int top = settings.ReadInt(Key::Top);
    int left = settings.ReadInt(Key::Left);
    if (HasSavedPosition(top, left))
        ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);

    if (m_bLockOnOpen)
        OnLock();
    return TRUE;
}

void CLockPanelDlg::OnLock()
{
    // Read once per press: the unlock below acts on what was read here.
    bool protectedOn = IsOn(AppSettings().ReadInt(Key::Protected));
    if (!m_bLocked)
        LockSteps(protectedOn);
    else
        UnlockSteps(protectedOn);
    EnableButtons();
}

void CLockPanelDlg::LockSteps(bool protectedOn)
{
    // The foreground first: its change can release a confinement made
    // before it (Wine does so), and a panel locked while it opens is not
    // the foreground yet.
    ::SetForegroundWindow(m_hWnd);
    RECT clip = ConfinePointer();
    LockPoint centre = CentreOf({clip.left, clip.top, clip.right, clip.bottom});
    Platform().SetCursorPos(centre.x, centre.y);
    Platform().SetScreenSaverRunning(TRUE);
    if (protectedOn)
        SetProtectedRestart(true);
    m_bLocked = 1;
    ::SetTimer(m_hWnd, kReconfineTimer, 500, nullptr);
    ::SetDlgItemTextA(m_hWnd, IDC_LOCK, "解锁");
}

RECT CLockPanelDlg::ConfinePointer()
{
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    LockRect confined = ConfinementFor({window.left, window.top, window.right, window.bottom});
    RECT clip = {confined.left, confined.top, confined.right, confined.bottom};
    Platform().ClipCursor(&clip);
    return clip;
}

void CLockPanelDlg::OnTimer(UINT_PTR /*id*/)
{
    // Windows 9x keeps a confinement until it is released. Systems of the NT
    // line and Wine drop it when the foreground changes, which at start-up
    // can happen just after the panel has locked; while locked the panel
    // therefore takes the pointer back twice a second.
    if (m_bLocked)
        ConfinePointer();
}

void CLockPanelDlg::UnlockSteps(bool protectedOn)
{
    CPasswordPromptDlg prompt;
    if (prompt.DoModal() != IDOK)
        return;

    ::KillTimer(m_hWnd, kReconfineTimer);
    Platform().ClipCursor(nullptr);
    Platform().SetScreenSaverRunning(FALSE);
    m_bLocked = 0;
    // This program's own "VQS" goes whatever Protected reads now: one left
    // behind by turning protection off during a lock would otherwise make
    // every later start lock at once.
    if (protectedOn || HasOwnProtectedRestart())
        SetProtectedRestart(false);
    CSettingsFile settings = AppSettings();
    if (IsOn(settings.ReadInt(Key::UnlockHide)))
        OnCancel();
    if (IsOn(settings.ReadInt(Key::UnlockQuit)))
        OnOK();
    ::SetDlgItemTextA(m_hWnd, IDC_LOCK, "锁定");
}

void CLockPanelDlg::EnableButtons()
{
    BOOL unlocked = m_bLocked == 0;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SETTINGS), unlocked);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), unlocked);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), unlocked);
}

void CLockPanelDlg::OnLButtonDown(UINT /*flags*/, POINT point)
{
    // No caption to drag by: a press on the panel acts as one on a caption.
    if (!m_bLocked)
        ::PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    Default();
}

void CLockPanelDlg::OnSettings()
{
    CSettingsDlg settings;
    settings.DoModal();
}

void CLockPanelDlg::OnOK()
{
    // While locked nothing but the unlock may close the panel: Enter,
    // Escape or Alt+F4 would leave the pointer confined and task switching
    // off with no way back.
    if (m_bLocked)
        return;
    SavePosition();
    CDialog::OnOK();
}

void CLockPanelDlg::OnCancel()
{
    if (m_bLocked)
        return;
    SavePosition();
    CDialog::OnCancel();
}

void CLockPanelDlg::SavePosition()
{
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    CSettingsFile settings = AppSettings();
    settings.WriteInt(Key::Top, window.top);
    settings.WriteInt(Key::Left, window.left);
    s_bOpen = 0;
}

bool CLockPanelDlg::HasOwnProtectedRestart()
{
    std::string path;
    std::string data;
    return AfxGetModulePath(&path) && Platform().ReadRunValue(kProtectedRestartValue, &data) &&
           IsOwnProtectedRestartCommand(data, path);
}

void CLockPanelDlg::SetProtectedRestart(bool enable)
{
    if (!enable) {
        Platform().DeleteRunValue(kProtectedRestartValue);
        return;
    }
    // A cut path would start something else at the next boot: write nothing.
    std::string path;
    if (!AfxGetModulePath(&path))
        return;
    Platform().SetRunValue(kProtectedRestartValue, ProtectedRestartCommand(path));
}

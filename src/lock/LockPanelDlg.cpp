#include "lock/LockPanelDlg.h"

#include <iterator>

#include "app/AppSettings.h"
#include "app/Platform.h"
#include "dialogs/SettingsDlg.h"
#include "frame/SystemTray.h"
#include "fw/Afx.h"
#include "lock/LockGeometry.h"
#include "lock/PasswordPromptDlg.h"
#include "lock/WrongPasswordNotice.h"
#include "res/resource.h"
#include "settings/RunKey.h"
#include "settings/SettingsFile.h"

int CLockPanelDlg::s_bOpen = 0;
int CLockPanelDlg::s_bLockInForce = 0;
CLockPanelDlg* CLockPanelDlg::s_pOpenPanel = nullptr;

namespace {

const UINT_PTR kReconfineTimer = 1;
// Posted to the panel itself: confine again once an activation change has
// run its course.
const UINT WM_RECONFINE = WM_APP + 1;
// Posted to the panel itself: a lock was requested from outside.
const UINT WM_LOCKREQUEST = WM_APP + 2;

// The desktop less the taskbar.
LockRect WorkArea()
{
    RECT work;
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        work.left = 0;
        work.top = 0;
        work.right = ::GetSystemMetrics(SM_CXSCREEN);
        work.bottom = ::GetSystemMetrics(SM_CYSCREEN);
    }
    return {work.left, work.top, work.right, work.bottom};
}

LockRect WindowRectOf(HWND hWnd)
{
    RECT r;
    ::GetWindowRect(hWnd, &r);
    return {r.left, r.top, r.right, r.bottom};
}

// Where a window the size of sized, put at (left, top), goes to lie wholly
// inside the work area.
LockPoint InsideWorkArea(int32_t left, int32_t top, const LockRect& sized)
{
    return PlacedInside(left, top, Extent(sized.left, sized.right), Extent(sized.top, sized.bottom), WorkArea());
}

}  // namespace

const MessageMapEntry CLockPanelDlg::messageEntries[] = {
    OnCommandRow(IDC_LOCK, &CLockPanelDlg::OnLock),
    OnMouseRow(WM_LBUTTONDOWN, &CLockPanelDlg::OnLButtonDown),
    OnCommandRow(IDC_SETTINGS, &CLockPanelDlg::OnSettings),
    OnTimerRow(&CLockPanelDlg::OnTimer),
    OnMessageRow(WM_ACTIVATE, &CLockPanelDlg::OnActivate),
    OnMessageRow(WM_RECONFINE, &CLockPanelDlg::OnReconfine),
    OnMessageRow(WM_WINDOWPOSCHANGING, &CLockPanelDlg::OnWindowPosChanging),
    OnMessageRow(WM_WINDOWPOSCHANGED, &CLockPanelDlg::OnWindowPosChanged),
    OnMessageRow(WM_ENDSESSION, &CLockPanelDlg::OnEndSession),
    OnMessageRow(WM_SETTINGCHANGE, &CLockPanelDlg::OnSettingChange),
    OnMessageRow(CSystemTray::TaskbarCreatedMessage(), &CLockPanelDlg::OnTaskbarCreated),
    OnMessageRow(WM_ENABLE, &CLockPanelDlg::OnEnable),
    OnMessageRow(WM_LOCKREQUEST, &CLockPanelDlg::OnLockRequest),
};
const MessageMap CLockPanelDlg::messageMap = {&CDialog::messageMap, messageEntries, std::size(messageEntries)};

CLockPanelDlg::CLockPanelDlg() : CDialog(IDD_LOCKPANEL) {}

INT_PTR CLockPanelDlg::DoModal()
{
    if (s_bOpen)
        return 0;
    s_bOpen = 1;
    s_pOpenPanel = this;
    INT_PTR result = CDialog::DoModal();
    s_pOpenPanel = nullptr;
    // Still locked when the run is over: it was ended by WM_QUIT or from
    // outside, and the program is on its way out.
    if (m_bLocked)
        ReleaseLock();
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

    // The place is worked out whole before the panel first shows: a place
    // saved on a larger screen, or over the taskbar, would give a lock
    // nobody can reach or one that holds the tray, and even a moment there
    // is seen. The stored values stay until the panel next saves its place.
    CSettingsFile settings = AppSettings();
    int top = settings.ReadInt(Key::Top);
    int left = settings.ReadInt(Key::Left);
    LockRect window = WindowRectOf(m_hWnd);
    bool saved = HasSavedPosition(top, left);
    LockPoint inside = InsideWorkArea(saved ? left : window.left, saved ? top : window.top, window);
    if (saved || inside.x != window.left || inside.y != window.top)
        ::SetWindowPos(m_hWnd, nullptr, inside.x, inside.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);

    if (m_bLockOnOpen)
        OnLock();
    return TRUE;
}

bool CLockPanelDlg::RequestLock()
{
    CLockPanelDlg* panel = s_pOpenPanel;
    if (!s_bOpen || panel == nullptr || panel->m_hWnd == nullptr)
        return false;
    if (!panel->m_bLocked) {
        panel->m_bLockRequested = 1;
        ::PostMessageA(panel->m_hWnd, WM_LOCKREQUEST, 0, 0);
    }
    return true;
}

LRESULT CLockPanelDlg::OnLockRequest(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    // A dialog over the panel keeps it disabled; its end enables the panel
    // again, and WM_ENABLE brings the request back here.
    if (!m_bLockRequested || !::IsWindowEnabled(m_hWnd))
        return 0;
    m_bLockRequested = 0;
    if (!m_bLocked)
        OnLock();
    return 0;
}

LRESULT CLockPanelDlg::OnEnable(WPARAM enabled, LPARAM /*lParam*/)
{
    // Posted: the dialog that disabled the panel is still on its way out.
    if (enabled && m_bLockRequested)
        ::PostMessageA(m_hWnd, WM_LOCKREQUEST, 0, 0);
    return Default();
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
    // A new lock has no wrong passwords yet: a count left by a lock that
    // ended without an unlock is not this one's.
    if (!m_bCarryOnLock)
        ForgetWrongPasswords(AppSettings());
    m_bCarryOnLock = 0;
    // Whatever asked for a lock has it now.
    m_bLockRequested = 0;
    // The foreground first: its change can release a confinement made
    // before it (Wine does so), and a panel locked while it opens is not
    // the foreground yet. Then wholly inside the work area, wherever it was
    // dragged: the pointer held over the taskbar could reach it.
    TakeKeyboard();
    KeepInsideWorkArea();
    RECT clip = ConfinePointer();
    LockPoint centre = CentreOf({clip.left, clip.top, clip.right, clip.bottom});
    Platform().SetCursorPos(centre.x, centre.y);
    Platform().SetScreenSaverRunning(TRUE);
    if (protectedOn)
        SetProtectedRestart(true);
    SetLocked(1);
    ::SetTimer(m_hWnd, kReconfineTimer, 500, nullptr);
    AfxSetDlgItemString(m_hWnd, IDC_LOCK, IDS_UNLOCK);
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
    // therefore takes the pointer back twice a second, and the keyboard
    // with it.
    if (!m_bLocked)
        return;
    TakeKeyboard();
    ConfinePointer();
}

void CLockPanelDlg::TakeKeyboard()
{
    // A window another program opens during the lock takes the foreground,
    // and the keys typed then would go there.
    HWND front = Platform().GetForegroundWindow();
    for (HWND w = front; w != nullptr; w = reinterpret_cast<HWND>(::GetWindowLongPtrA(w, GWLP_HWNDPARENT))) {
        if (w == m_hWnd)
            return;
    }
    // The prompt or the report when one is up, else the panel.
    HWND ours = ::GetLastActivePopup(m_hWnd);
    if (Platform().SetForegroundWindow(ours))
        return;
    // Windows 98/Me refuse a process that did not receive the last input
    // (a timed lock that falls due while someone types elsewhere), except
    // from a thread attached to the foreground thread's input.
    DWORD mine = ::GetCurrentThreadId();
    DWORD theirs = ::GetWindowThreadProcessId(front, nullptr);
    if (theirs == 0 || theirs == mine || !Platform().AttachThreadInput(mine, theirs, TRUE))
        return;
    Platform().SetForegroundWindow(ours);
    ::SetFocus(ours);
    Platform().AttachThreadInput(mine, theirs, FALSE);
}

void CLockPanelDlg::UnlockSteps(bool protectedOn)
{
    CPasswordPromptDlg prompt;
    if (prompt.DoModal() != IDOK) {
        // The activation is back from the prompt: Wine may have dropped the
        // confinement on the way.
        if (m_hWnd != nullptr && m_bLocked)
            ConfinePointer();
        return;
    }

    ReleaseLock();
    // This program's own "VQS" goes whatever Protected reads now: one left
    // behind by turning protection off during a lock would otherwise make
    // every later start lock at once.
    if (protectedOn || HasOwnProtectedRestart())
        SetProtectedRestart(false);
    // Unlocked before the report: while it is up, the lock is gone, and the
    // panel shows it.
    AfxSetDlgItemString(m_hWnd, IDC_LOCK, IDS_LOCK);
    EnableButtons();
    CSettingsFile settings = AppSettings();
    ReportWrongPasswords(settings);
    // A lock asked for while the report was up (the hotkey, the timed lock)
    // takes the panel instead of its closing; a panel destroyed meanwhile
    // (Exit from the tray) has nothing left to close.
    if (m_hWnd == nullptr || m_bLockRequested || m_bLocked)
        return;
    if (IsOn(settings.ReadInt(Key::UnlockHide)))
        OnCancel();
    if (IsOn(settings.ReadInt(Key::UnlockQuit)))
        OnOK();
}

void CLockPanelDlg::ReportWrongPasswords(const CSettingsFile& settings)
{
    int count = settings.ReadInt(Key::WrongPasswords);
    if (count <= 0)
        return;
    LocalDateTime last;
    bool lastKnown = CTime(settings.ReadInt(Key::LastWrongPassword)).GetLocalDateTime(&last);
    char pattern[256];
    pattern[0] = '\0';
    AfxLoadString(IDS_WRONG_PASSWORDS, pattern, sizeof pattern);
    char text[384];
    FormatWrongPasswordNotice(pattern, count, last, lastKnown, text, sizeof text);
    AfxMessageBox(text, MB_OK);
    ForgetWrongPasswords(settings);
}

void CLockPanelDlg::ForgetWrongPasswords(const CSettingsFile& settings)
{
    settings.Remove(Key::WrongPasswords);
    settings.Remove(Key::LastWrongPassword);
}

void CLockPanelDlg::SetLocked(int locked)
{
    m_bLocked = locked;
    s_bLockInForce = locked;
}

void CLockPanelDlg::ReleaseLock()
{
    if (m_hWnd != nullptr)
        ::KillTimer(m_hWnd, kReconfineTimer);
    Platform().ClipCursor(nullptr);
    Platform().SetScreenSaverRunning(FALSE);
    SetLocked(0);
}

BOOL CLockPanelDlg::OnCmdMsg(UINT id)
{
    // Hide, Close and Settings are disabled while locked, but another
    // program can enable them or send their commands: refuse them here.
    if (m_bLocked && id != IDC_LOCK)
        return TRUE;
    return CDialog::OnCmdMsg(id);
}

LRESULT CLockPanelDlg::OnActivate(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    LRESULT result = Default();
    // Wine drops the confinement when the foreground moves away from the
    // program or passes through the desktop on its way between the panel and
    // the prompt; Windows 9x keeps it. Take it back at once, and again once
    // the move is complete; the timer stays as the backstop.
    if (m_bLocked) {
        ConfinePointer();
        ::PostMessageA(m_hWnd, WM_RECONFINE, 0, 0);
    }
    return result;
}

LRESULT CLockPanelDlg::OnReconfine(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (m_bLocked)
        ConfinePointer();
    return 0;
}

void CLockPanelDlg::KeepInsideWorkArea()
{
    LockRect window = WindowRectOf(m_hWnd);
    LockPoint inside = InsideWorkArea(window.left, window.top, window);
    if (inside.x != window.left || inside.y != window.top)
        ::SetWindowPos(m_hWnd, nullptr, inside.x, inside.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CLockPanelDlg::OnWindowPosChanging(WPARAM /*wParam*/, LPARAM lParam)
{
    LRESULT result = Default();
    auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    if (!m_bLocked || (pos->flags & SWP_NOMOVE) != 0)
        return result;
    // Another program moves the locked panel: it stays wholly on the work
    // area, so the lock can neither hold the taskbar nor leave the screen.
    LockRect sized = WindowRectOf(m_hWnd);
    if ((pos->flags & SWP_NOSIZE) == 0)
        sized = {0, 0, pos->cx, pos->cy};
    LockPoint inside = InsideWorkArea(pos->x, pos->y, sized);
    pos->x = inside.x;
    pos->y = inside.y;
    return result;
}

LRESULT CLockPanelDlg::OnWindowPosChanged(WPARAM /*wParam*/, LPARAM lParam)
{
    LRESULT result = Default();
    auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (!m_bLocked || (pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE))
        return result;
    // A move made without asking first (SWP_NOSENDCHANGING) is put right
    // here; then the confinement follows the panel.
    KeepInsideWorkArea();
    ConfinePointer();
    return result;
}

LRESULT CLockPanelDlg::OnSettingChange(WPARAM action, LPARAM /*lParam*/)
{
    // The taskbar moved or grew (a protected restart starts while the shell
    // is still laying it out): back inside, the confinement following.
    if (action == SPI_SETWORKAREA)
        KeepInsideWorkArea();
    return Default();
}

LRESULT CLockPanelDlg::OnTaskbarCreated(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    KeepInsideWorkArea();
    return 0;
}

LRESULT CLockPanelDlg::OnEndSession(WPARAM ending, LPARAM /*lParam*/)
{
    // The session ends and the process with it: nothing may stay behind.
    // The program goes as it would on WM_QUIT; the Run value brings the
    // lock back at the next start.
    if (ending && m_bLocked) {
        ReleaseLock();
        ::PostQuitMessage(0);
    }
    return 0;
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
    // Only a place that was read: the panel may be gone already.
    RECT window;
    if (::GetWindowRect(m_hWnd, &window)) {
        CSettingsFile settings = AppSettings();
        settings.WriteInt(Key::Top, window.top);
        settings.WriteInt(Key::Left, window.left);
    }
    s_bOpen = 0;
}

bool CLockPanelDlg::HasOwnProtectedRestart()
{
    std::string path;
    std::string data;
    return AfxGetModulePath(&path) && Platform().ReadRunValue(kProtectedRestartValue, &data) &&
           IsOwnProtectedRestartCommand(data.c_str(), path.c_str());
}

void CLockPanelDlg::SetProtectedRestart(bool enable)
{
    if (!enable) {
        Platform().DeleteRunValue(kProtectedRestartValue);
        return;
    }
    // Part of the lock step, with task switching already off: nothing here
    // may allocate. A cut path would start something else at the next boot:
    // write nothing.
    char path[kAfxModulePathRoom];
    char command[ProtectedRestartCommandRoom(kAfxModulePathRoom)];
    if (!AfxGetModulePath(path, sizeof path) || !ProtectedRestartCommand(path, command, sizeof command))
        return;
    Platform().SetRunValue(kProtectedRestartValue, command);
}

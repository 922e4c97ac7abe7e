#include "frame/MainFrame.h"

#include <iterator>

#include "app/AppSettings.h"
#include "app/Platform.h"
#include "dialogs/SettingsDlg.h"
#include "frame/HotKey.h"
#include "frame/IdleLockMessage.h"
#include "frame/LockHotKeyMessage.h"
#include "frame/PowerCommands.h"
#include "frame/StartupPlan.h"
#include "frame/TimedLock.h"
#include "fw/Afx.h"
#include "lock/LockPanelDlg.h"
#include "res/resource.h"
#include "settings/TimeValue.h"

namespace {

const UINT kTimedLockTimer = 0;
const UINT kIdleLockTimer = 1;
const int kLockHotKeyId = 1;
const char kHomepage[] = "http://tethra.sourceforge.net/";
const char kEmail[] = "mailto:tethra@users.sourceforge.net";

}  // namespace

const CRuntimeClass CMainFrame::classCMainFrame = {"CMainFrame", &CFrameWnd::classCFrameWnd};

const MessageMapEntry CMainFrame::messageEntries[] = {
    OnCreateRow(&CMainFrame::OnCreate),
    OnFocusRow(WM_SETFOCUS, &CMainFrame::OnSetFocus),
    OnTimerRow(&CMainFrame::OnTimer),
    OnMessageRow(WM_TRAYNOTIFY, &CMainFrame::OnTrayNotify),
    OnMessageRow(CSystemTray::TaskbarCreatedMessage(), &CMainFrame::OnTaskbarCreated),
    OnMessageRow(WM_INITMENU, &CMainFrame::OnInitMenu),
    OnMessageRow(WM_INITMENUPOPUP, &CMainFrame::OnInitMenuPopup),
    OnMessageRow(WM_DRAWITEM, &CMainFrame::OnDrawItem),
    OnMessageRow(WM_MEASUREITEM, &CMainFrame::OnMeasureItem),
    OnMessageRow(WM_MENUCHAR, &CMainFrame::OnMenuChar),
    OnCommandRow(ID_SHOW, &CMainFrame::OnShow),
    OnCommandRow(ID_LOCK, &CMainFrame::OnLock),
    OnCommandRow(ID_SETTINGS, &CMainFrame::OnSettings),
    OnCommandRow(ID_SLEEP, &CMainFrame::OnSleep),
    OnCommandRow(ID_RESTART, &CMainFrame::OnRestart),
    OnCommandRow(ID_SHUTDOWN, &CMainFrame::OnShutdown),
    OnCommandRow(ID_LOGOFF, &CMainFrame::OnLogoff),
    OnCommandRow(ID_HOMEPAGE, &CMainFrame::OnHomepage),
    OnCommandRow(ID_EMAIL, &CMainFrame::OnEmail),
    OnMessageRow(WM_CLOSE, &CMainFrame::OnClose),
    OnMessageRow(WM_HOTKEY, &CMainFrame::OnHotKey),
    OnMessageRow(WM_SETLOCKHOTKEY, &CMainFrame::OnSetLockHotKey),
    OnMessageRow(WM_IDLELOCKCHANGED, &CMainFrame::OnIdleLockChanged),
};
const MessageMap CMainFrame::messageMap = {&CFrameWnd::messageMap, messageEntries, std::size(messageEntries)};

CMainFrame::CMainFrame(bool protectedStart) : m_bProtectedStart(protectedStart), m_lockAtTime(2000, 1, 1, 1, 0, 0)
{
    // Without its pictures the menus are still drawn, only with no icons.
    m_iconMenu.LoadToolBarImages(IDR_MAINFRAME);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.lpszClass = AfxRegisterWndClass(0, nullptr, nullptr, nullptr);
    return cs.lpszClass != nullptr;
}

BOOL CMainFrame::OnCmdMsg(UINT id)
{
    // While a lock is in force nothing but the panel's own unlock road may
    // act: a command that reaches the frame (a tray menu the lock did not
    // cover, another program's message) is taken and dropped. Exit and
    // About go through here too, on their way to the application object.
    if (CLockPanelDlg::IsLockInForce())
        return TRUE;
    if (m_clientWnd.OnCmdMsg(id))
        return TRUE;
    return CFrameWnd::OnCmdMsg(id);
}

int CMainFrame::OnCreate(CREATESTRUCTA* /*cs*/)
{
    if (Default() == -1)
        return -1;

    RECT none = {0, 0, 0, 0};
    if (!m_clientWnd.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, none, this, AFX_IDW_PANE_FIRST))
        return -1;

    HICON icon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!m_trayIcon.AddIcon(this, WM_TRAYNOTIFY, kTrayTooltip, icon, kTrayIconId))
        return -1;

    CSettingsFile settings = AppSettings();
    // Taken before a lock at start: that lock's panel runs inside this call.
    // A key another program holds leaves the program without one, silently.
    TakeLockHotKey(HotKeyFromStored(settings.ReadInt(Key::HotKey)));
    ArmIdleLock();
    StartupPlan plan =
        DecideStartup(m_bProtectedStart, [&settings](const SettingKey& key) { return settings.ReadInt(key); });
    if (plan.lock)
        RunLockPanel(true, m_bProtectedStart);
    if (plan.armTimedLock)
        ArmTimedLock();
    if (plan.showPanel)
        OnShow();
    return 0;
}

void CMainFrame::OnSetFocus(HWND /*previous*/)
{
    if (m_clientWnd.m_hWnd != nullptr)
        ::SetFocus(m_clientWnd.m_hWnd);
}

LRESULT CMainFrame::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    // No menu and no default command while locked, whoever sent the callback.
    if (CLockPanelDlg::IsLockInForce())
        return 0;
    return m_trayIcon.HandleTrayMessage(wParam, lParam);
}

void CMainFrame::OnClose()
{
    // Closing the frame ends the program; while locked only the password may.
    if (CLockPanelDlg::IsLockInForce())
        return;
    Default();
}

LRESULT CMainFrame::OnTaskbarCreated(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    // Explorer restarted: without this the icon, the only way to the
    // program's commands, would be gone for the rest of the run.
    if (m_trayIcon.IsIconAdded())
        m_trayIcon.RestoreIcon();
    return 0;
}

// Every menu the frame shows, the tray's popup included, is drawn by the
// icon menu: its items become owner-drawn as the menu opens.
LRESULT CMainFrame::OnInitMenu(WPARAM wParam, LPARAM /*lParam*/)
{
    Default();
    m_iconMenu.ConvertMenu(reinterpret_cast<HMENU>(wParam));
    return 0;
}

LRESULT CMainFrame::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    Default();
    if (!HIWORD(lParam))
        m_iconMenu.ConvertMenu(reinterpret_cast<HMENU>(wParam));
    return 0;
}

LRESULT CMainFrame::OnDrawItem(WPARAM /*wParam*/, LPARAM lParam)
{
    if (m_iconMenu.DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)))
        return TRUE;
    return Default();
}

LRESULT CMainFrame::OnMeasureItem(WPARAM /*wParam*/, LPARAM lParam)
{
    if (m_iconMenu.MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
        return TRUE;
    return Default();
}

LRESULT CMainFrame::OnMenuChar(WPARAM wParam, LPARAM lParam)
{
    LRESULT answer = 0;
    if (!(HIWORD(wParam) & MF_SYSMENU) &&
        m_iconMenu.MenuChar(LOWORD(wParam), reinterpret_cast<HMENU>(lParam), &answer))
        return answer;
    return Default();
}

void CMainFrame::RunLockPanel(bool lockOnOpen, bool carryOn)
{
    CLockPanelDlg panel;
    panel.m_bLockOnOpen = lockOnOpen ? 1 : 0;
    panel.m_bCarryOnLock = carryOn ? 1 : 0;
    if (panel.DoModal() != IDOK)
        return;
    // Close, or an unlock that quits: the program ends. The frame stays to
    // the process's end, so the icon goes explicitly.
    m_trayIcon.DeleteIcon();
    ::PostQuitMessage(0);
}

void CMainFrame::OnShow()
{
    RunLockPanel(false);
}

void CMainFrame::OnLock()
{
    RunLockPanel(true);
}

LRESULT CMainFrame::OnHotKey(WPARAM wParam, LPARAM /*lParam*/)
{
    if (wParam == kLockHotKeyId)
        LockNow();
    return 0;
}

void CMainFrame::LockNow()
{
    // The settings dialog is where the hotkey is edited: nothing happens
    // while it is open. A lock in force stays as it is.
    if (CSettingsDlg::s_bOpen || CLockPanelDlg::IsLockInForce())
        return;
    if (!CLockPanelDlg::RequestLock())
        OnLock();
}

LRESULT CMainFrame::OnSetLockHotKey(WPARAM wParam, LPARAM /*lParam*/)
{
    return TakeLockHotKey(static_cast<int>(wParam)) ? FALSE : TRUE;
}

bool CMainFrame::TakeLockHotKey(int hotKey)
{
    int previous = m_lockHotKey;
    ::UnregisterHotKey(m_hWnd, kLockHotKeyId);
    m_lockHotKey = 0;
    bool taken = hotKey == 0 || RegisterLockHotKey(hotKey);
    if (taken)
        m_lockHotKey = hotKey;
    else if (previous != 0 && RegisterLockHotKey(previous))
        m_lockHotKey = previous;
    char keyText[kHotKeyTextSize];
    HotKeyText(m_lockHotKey, keyText);
    m_trayIcon.SetCommandKeyText(ID_LOCK, keyText);
    return taken;
}

bool CMainFrame::RegisterLockHotKey(int hotKey)
{
    return ::RegisterHotKey(m_hWnd, kLockHotKeyId, HotKeyRegisterModifiers(hotKey), HotKeyVirtualKey(hotKey)) !=
           FALSE;
}

void CMainFrame::OnSettings()
{
    // The timed lock does not tick while the settings are being edited; the
    // running time goes on counting all the same.
    CSettingsDlg settings;
    BOOL timerWasRunning = ::KillTimer(m_hWnd, kTimedLockTimer);
    settings.DoModal();
    if (timerWasRunning)
        ::SetTimer(m_hWnd, kTimedLockTimer, 1000, nullptr);
}

void CMainFrame::ArmTimedLock()
{
    CSettingsFile settings = AppSettings();
    m_lockMode = TimedLockModeFor(settings.ReadInt(Key::TimeLockType));
    if (m_lockMode == kTimedLockAtClock) {
        m_lockAtTime = StoredTimeValue(settings.ReadInt(Key::OnTime));
    } else {
        std::tm local = {};
        StoredTimeValue(settings.ReadInt(Key::AfterTime)).GetLocalTm(&local);
        m_lockAfterSeconds = SecondsOfDay(local);
        m_lockStartTick = Platform().GetTickCount();
    }
    ::SetTimer(m_hWnd, kTimedLockTimer, 1000, nullptr);
}

void CMainFrame::ArmIdleLock()
{
    ::KillTimer(m_hWnd, kIdleLockTimer);
    CSettingsFile settings = AppSettings();
    if (!IsOn(settings.ReadInt(Key::IdleLock)))
        return;
    InputState input;
    Platform().ReadInput(&input);
    m_idleWatch.Start(settings.ReadInt(Key::IdleMinutes), Platform().GetTickCount(), input);
    ::SetTimer(m_hWnd, kIdleLockTimer, 1000, nullptr);
}

LRESULT CMainFrame::OnIdleLockChanged(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    ArmIdleLock();
    return 0;
}

void CMainFrame::OnIdleTick()
{
    InputState input;
    Platform().ReadInput(&input);
    uint32_t now = Platform().GetTickCount();
    bool idle = m_idleWatch.IsIdle(now, input);
    // Someone is at the machine while the settings are edited; while a lock
    // is in force the count starts again, so that it runs from the unlock.
    if (CSettingsDlg::s_bOpen || CLockPanelDlg::IsLockInForce()) {
        m_idleWatch.Touch(now);
        return;
    }
    if (!idle)
        return;
    m_idleWatch.Touch(now);
    LockNow();
}

void CMainFrame::OnTimer(UINT_PTR id)
{
    if (id == kIdleLockTimer) {
        OnIdleTick();
        return;
    }
    bool due = false;
    if (m_lockMode == kTimedLockAfterRunning) {
        due = RunningTimeReached(Platform().GetTickCount(), m_lockStartTick, m_lockAfterSeconds);
    } else if (m_lockMode == kTimedLockAtClock) {
        std::tm now = {};
        std::tm target = {};
        due = CTime(Platform().CurrentTime()).GetLocalTm(&now) && m_lockAtTime.GetLocalTm(&target) &&
              ClockTimeReached(now, target);
    }
    if (!due)
        return;
    // Stopped first: the lock fires once per run, and no tick may come
    // while the panel below runs. A panel already open locks itself.
    ::KillTimer(m_hWnd, kTimedLockTimer);
    if (!CLockPanelDlg::RequestLock())
        OnLock();
}

void CMainFrame::OnSleep()
{
    PowerSleep();
}

void CMainFrame::OnRestart()
{
    PowerExit(kExitReboot);
}

void CMainFrame::OnShutdown()
{
    PowerExit(kExitShutdown);
}

void CMainFrame::OnLogoff()
{
    PowerExit(kExitLogoff);
}

void CMainFrame::OnHomepage()
{
    Platform().ShellOpen(kHomepage);
}

void CMainFrame::OnEmail()
{
    Platform().ShellOpen(kEmail);
}

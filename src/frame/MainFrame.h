// CMainFrame: the hidden main window. It owns the tray icon, carries the
// commands of the tray menu, runs the lock panel and drives the timed lock.
#ifndef TETHRA_FRAME_MAINFRAME_H
#define TETHRA_FRAME_MAINFRAME_H

#include <cstdint>

#include "controls/IconMenu.h"
#include "frame/FrameClientWnd.h"
#include "frame/IdleWatch.h"
#include "frame/SystemTray.h"
#include "fw/FrameWnd.h"
#include "fw/Time.h"

// The tray icon's callback message and id.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 10;
constexpr UINT kTrayIconId = 128;
constexpr char kTrayTooltip[] = "Tethra V2.0";

class CMainFrame : public CFrameWnd {
public:
    static const CRuntimeClass classCMainFrame;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCMainFrame; }

    // protectedStart: the program was started to come back locked after a
    // restart; its window's creation then locks at once.
    explicit CMainFrame(bool protectedStart = false);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCmdMsg(UINT id) override;

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    // Exposed for tests: the timed-lock state.
    int LockMode() const { return m_lockMode; }
    const CSystemTray& TrayIcon() const { return m_trayIcon; }
    const CIconMenu& IconMenu() const { return m_iconMenu; }

protected:
    int OnCreate(CREATESTRUCTA* cs);
    void OnSetFocus(HWND previous);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR id);
    LRESULT OnInitMenu(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnMeasureItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuChar(WPARAM wParam, LPARAM lParam);
    void OnClose();
    LRESULT OnHotKey(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetLockHotKey(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleLockChanged(WPARAM wParam, LPARAM lParam);

    void OnShow();
    void OnLock();
    void OnSettings();
    void OnSleep();
    void OnRestart();
    void OnShutdown();
    void OnLogoff();
    void OnHomepage();
    void OnEmail();

private:
    // Runs a fresh lock panel; lockOnOpen makes it lock as it opens.
    // carryOn: the lock of a protected restart, which goes on with the lock
    // in force before it.
    void RunLockPanel(bool lockOnOpen, bool carryOn = false);
    void ArmTimedLock();
    // Starts the once-a-second look at the input when "IdleLock" is on, and
    // stops it otherwise: with it off no timer exists.
    void ArmIdleLock();
    void OnIdleTick();
    // The lock hotkey's and the idle lock's road: the tray's Lock, and an
    // open unlocked panel locks; nothing while a lock is in force or the
    // settings dialog is open.
    void LockNow();
    // Gives up the current lock hotkey and registers hotKey (0: none). When
    // the system refuses it the old key is taken back; false then.
    bool TakeLockHotKey(int hotKey);
    bool RegisterLockHotKey(int hotKey);

    bool m_bProtectedStart;
    CFrameClientWnd m_clientWnd;
    CTime m_lockAtTime;
    int m_lockMode = 0;
    uint32_t m_lockAfterSeconds = 0;
    uint32_t m_lockStartTick = 0;
    int m_lockHotKey = 0;
    CIdleWatch m_idleWatch;
    CSystemTray m_trayIcon;
    CIconMenu m_iconMenu;
};

#endif

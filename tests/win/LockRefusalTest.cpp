// The main frame while a panel is locked: no tray menu, no command, no
// close, whoever sends them; once unlocked the frame takes commands again.
#include "WinTestSupport.h"
#include "app/TethraApp.h"
#include "frame/MainFrame.h"
#include "fw/AfxRes.h"
#include "lock/LockPanelDlg.h"
#include "res/resource.h"
#include "settings/SettingsFile.h"

namespace {

using LockRefusalTest = WinTest;

TEST_F(LockRefusalTest, TheFrameRefusesEverythingWhileAPanelIsLocked)
{
    CSettingsFile(m_ini.Path()).WriteFlag(Key::InitTray, true);
    CMainFrame frame(false);
    TheApp().m_pMainWnd = &frame;
    ASSERT_TRUE(frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
    HWND hFrame = frame.m_hWnd;
    ASSERT_TRUE(frame.TrayIcon().IsIconAdded());

    HWND panel = nullptr;
    HWND prompt = nullptr;
    int ticks = 0;
    int menusSeen = 0;
    int dialogsSeen = 0;
    Script script;
    script
        .Until([&] {
            panel = FindDialog(hFrame);
            return panel != nullptr && CLockPanelDlg::IsLockInForce();
        })
        .Then([&] {
            ::PostMessageA(hFrame, WM_TRAYNOTIFY, kTrayIconId, WM_RBUTTONUP);
            ::PostMessageA(hFrame, WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDBLCLK);
            for (UINT id : {ID_APP_EXIT, ID_APP_ABOUT, ID_SETTINGS, ID_SLEEP, ID_RESTART, ID_SHUTDOWN, ID_LOGOFF,
                            ID_HOMEPAGE, ID_EMAIL, ID_SHOW, ID_LOCK})
                ::PostMessageA(hFrame, WM_COMMAND, id, 0);
            ::PostMessageA(hFrame, WM_CLOSE, 0, 0);
            ::PostMessageA(hFrame, WM_SYSCOMMAND, SC_CLOSE, 0);
            // Sent as well as posted: a sender waits for the frame's answer.
            ::SendMessageA(hFrame, WM_COMMAND, ID_APP_EXIT, 0);
            ::SendMessageA(hFrame, WM_TRAYNOTIFY, kTrayIconId, WM_RBUTTONUP);
        })
        .Until([&] {
            if (HWND menu = FindMenuWindow()) {
                ++menusSeen;
                ::EndMenu();
                (void)menu;
            }
            if (FindDialog(static_cast<HWND>(INVALID_HANDLE_VALUE), panel) != nullptr)
                ++dialogsSeen;
            return ++ticks >= 10;
        })
        .Then([&] {
            EXPECT_EQ(menusSeen, 0) << "a tray menu opened while locked";
            EXPECT_EQ(dialogsSeen, 0) << "a dialog opened over the locked panel";
            EXPECT_TRUE(::IsWindow(hFrame)) << "the frame was closed while locked";
            EXPECT_TRUE(::IsWindow(panel) && CLockPanelDlg::IsLockInForce());
            for (const char* effect : {"ExitWindowsEx", "SetSystemPowerState", "EnableShutdownPrivilege", "ShellOpen"})
                EXPECT_TRUE(m_platform.CallsStartingWith(effect).empty()) << effect << " ran while locked";
            EXPECT_TRUE(frame.TrayIcon().IsIconAdded());
            ::PostMessageA(panel, WM_COMMAND, MAKEWPARAM(IDC_LOCK, BN_CLICKED), 0);
        })
        .Until([&] {
            prompt = FindDialog(panel);
            return prompt != nullptr;
        })
        .Then([&] { ::PostMessageA(prompt, WM_COMMAND, IDOK, 0); })
        .Until([&] { return !CLockPanelDlg::IsLockInForce(); })
        // Unlocked, with the panel still open: the frame's commands work again.
        .Then([&] { ::PostMessageA(hFrame, WM_COMMAND, ID_HOMEPAGE, 0); })
        .Until([&] { return !m_platform.CallsStartingWith("ShellOpen").empty(); })
        .Then([&] { ::PostMessageA(panel, WM_COMMAND, IDCANCEL, 0); });
    script.Start();
    ::SendMessageA(hFrame, WM_COMMAND, ID_LOCK, 0);
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_FALSE(CLockPanelDlg::IsLockInForce());
    EXPECT_TRUE(::IsWindow(hFrame));
    EXPECT_EQ(TakeQuitMessage(), -1);

    // And so does closing it.
    ::SendMessageA(hFrame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hFrame));
    EXPECT_EQ(TakeQuitMessage(), 0);
    TheApp().m_pMainWnd = nullptr;
}

}  // namespace

namespace {

// The protected flag is handed to the frame: with it the frame's creation
// locks whatever the options say; without it the options decide.
TEST_F(LockRefusalTest, TheFrameLocksAtCreationOnlyWhenHandedAProtectedStart)
{
    CSettingsFile(m_ini.Path()).WriteFlag(Key::InitTray, true);
    for (bool protectedStart : {false, true}) {
        SCOPED_TRACE(protectedStart ? "protected start" : "plain start");
        m_platform.calls.clear();
        CMainFrame frame(protectedStart);
        TheApp().m_pMainWnd = &frame;
        bool lockedDuringCreation = false;
        HWND prompt = nullptr;
        Script script;
        script
            .Until([&] {
                HWND panel = FindDialog();
                if (panel == nullptr || !CLockPanelDlg::IsLockInForce())
                    return false;
                lockedDuringCreation = true;
                ::PostMessageA(panel, WM_COMMAND, MAKEWPARAM(IDC_LOCK, BN_CLICKED), 0);
                return true;
            })
            .Until([&] {
                prompt = FindDialog(static_cast<HWND>(INVALID_HANDLE_VALUE), FindDialog(frame.m_hWnd));
                return prompt != nullptr && ::GetDlgItem(prompt, IDC_PASSWORD) != nullptr;
            })
            .Then([&] { ::PostMessageA(prompt, WM_COMMAND, IDOK, 0); })
            .Until([&] { return !CLockPanelDlg::IsLockInForce(); })
            .Then([&] { ::PostMessageA(FindDialog(frame.m_hWnd), WM_COMMAND, IDCANCEL, 0); });
        script.Start();
        // A panel opened by the creation runs inside it.
        BOOL created = frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr);
        script.Stop();
        EXPECT_TRUE(created);
        EXPECT_EQ(lockedDuringCreation, protectedStart);
        EXPECT_EQ(m_platform.CallsStartingWith("SetScreenSaverRunning(1)").size(), protectedStart ? 1u : 0u);
        EXPECT_EQ(script.Done(), protectedStart) << "a plain start opens no panel to unlock";
        TheApp().m_pMainWnd = nullptr;
        frame.DestroyWindow();
    }
}

}  // namespace

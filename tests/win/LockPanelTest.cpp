// The lock panel run for real over a hidden main window, driven from a
// timer, with the recording platform in place of the pointer, task
// switching and the Run key.
#include <algorithm>
#include <atomic>
#include <memory>

#include "WinTestSupport.h"
#include "app/TethraApp.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/SettingsDlg.h"
#include "fw/FrameWnd.h"
#include "lock/LockPanelDlg.h"
#include "res/resource.h"
#include "settings/PasswordStore.h"
#include "settings/RunKey.h"
#include "settings/SettingsFile.h"

namespace {

// The button texts as the ANSI functions see them in code page 936.
const char kUnlockText[] = "\xBD\xE2\xCB\xF8";  // 解锁
const char kLockText[] = "\xCB\xF8\xB6\xA8";    // 锁定
static_assert(sizeof("解锁") == sizeof kUnlockText, "sources reach the program as code page 936");

using Calls = std::vector<std::string>;

std::string ButtonText(HWND panel, int id)
{
    return TextOf(::GetDlgItem(panel, id));
}

bool ButtonEnabled(HWND panel, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(panel, id)) != FALSE;
}

// The lock-time calls for a panel at rect: confined 12 pixels in from
// every side, the pointer at the middle of that.
// The calls with the locked panel's periodic re-confinement left out: a
// ClipCursor to the rectangle already in force.
Calls Effects(const Calls& calls)
{
    Calls effects;
    std::string confinement;
    for (const std::string& call : calls) {
        if (call.rfind("ClipCursor(", 0) == 0) {
            if (call == confinement)
                continue;
            confinement = call;
        }
        effects.push_back(call);
    }
    return effects;
}

Calls LockCallsFor(const RECT& r)
{
    RECT c = {r.left + 12, r.top + 12, r.right - 12, r.bottom - 12};
    return {Format("ClipCursor(%ld,%ld,%ld,%ld)", c.left, c.top, c.right, c.bottom),
            Format("SetCursorPos(%ld,%ld)", (c.left + c.right) / 2, (c.top + c.bottom) / 2),
            "SetScreenSaverRunning(1)"};
}

class LockPanelTest : public WinTest {
protected:
    void SetUp() override
    {
        WinTest::SetUp();
        // The panel and its prompt are owned through the main window, as in the program.
        ASSERT_TRUE(m_main.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
        TheApp().m_pMainWnd = &m_main;
    }
    void TearDown() override
    {
        TheApp().m_pMainWnd = nullptr;
        m_main.DestroyWindow();
        WinTest::TearDown();
    }

    CSettingsFile Settings() const { return CSettingsFile(m_ini.Path()); }

    void StorePassword(const std::string& password)
    {
        Settings().WriteText(Key::Password, EncodeStoredPassword(CTethraApp::ScramblePassword(password)));
    }

    // Steps: wait for the panel to show.
    void WaitForPanel(Script& script, CLockPanelDlg& panel)
    {
        script.Until([&panel] { return panel.m_hWnd != nullptr && ::IsWindowVisible(panel.m_hWnd); });
    }

    // Steps: press the lock button, answer the prompt with typed, and wait
    // until the prompt is gone (unless the panel ends with it).
    void AnswerPrompt(Script& script, CLockPanelDlg& panel, const std::string& typed, bool panelStays = true)
    {
        auto prompt = std::make_shared<HWND>(nullptr);
        script
            .Then([&panel] {
                ::PostMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOCK, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(panel.m_hWnd, IDC_LOCK)));
            })
            .Until([&panel, prompt] {
                *prompt = FindDialog(panel.m_hWnd);
                return *prompt != nullptr;
            })
            .Then([&panel, prompt, typed] {
                EXPECT_FALSE(::IsWindowEnabled(panel.m_hWnd)) << "the prompt is modal over the panel";
                ::SetDlgItemTextA(*prompt, IDC_PASSWORD, typed.c_str());
                ::PostMessageA(*prompt, WM_COMMAND, IDOK, 0);
            });
        if (panelStays)
            script.Until([prompt] { return !::IsWindow(*prompt); });
    }

    // The panel locks on opening; steps: a wrong password, then the right
    // one (empty), and the report of the wrong password up in *report.
    void UnlockAfterAWrongPassword(Script& script, CLockPanelDlg& panel, HWND* report)
    {
        panel.m_bLockOnOpen = 1;
        WaitForPanel(script, panel);
        AnswerPrompt(script, panel, "wrong");
        AnswerPrompt(script, panel, "", false);
        script.Until([&panel, report] {
            *report = FindDialog(panel.m_hWnd);
            return *report != nullptr && TextOf(*report) == "Tethra";
        });
    }

    // Steps: close an unlocked panel with its Close button.
    void Close(Script& script, CLockPanelDlg& panel)
    {
        script.Then([&panel] { ::PostMessageA(panel.m_hWnd, WM_COMMAND, IDOK, 0); });
    }

    INT_PTR Run(CLockPanelDlg& panel, Script& script)
    {
        script.Start();
        INT_PTR result = panel.DoModal();
        script.Stop();
        EXPECT_TRUE(script.Done()) << "the panel ended before the script did";
        EXPECT_EQ(CLockPanelDlg::s_bOpen, 0);
        return result;
    }

    CFrameWnd m_main;
};

TEST_F(LockPanelTest, LockedPanelHoldsThePointerAndOnlyTheRightPasswordFreesIt)
{
    StorePassword("锁定 pw");
    CLockPanelDlg panel;
    panel.m_bLockOnOpen = 1;

    RECT atLock = {};
    Calls afterLock;
    int ticks = 0;
    RECT atClose = {};
    Script script;
    WaitForPanel(script, panel);
    script
        .Then([&] {
            HWND p = panel.m_hWnd;
            ::GetWindowRect(p, &atLock);
            afterLock = Effects(m_platform.calls);
            EXPECT_EQ(afterLock, LockCallsFor(atLock));
            EXPECT_EQ(panel.m_bLocked, 1);
            EXPECT_EQ(ButtonText(p, IDC_LOCK), Shown(kUnlockText, "Unlock"));
            EXPECT_EQ(ButtonText(p, IDC_LOCK), Shown(kUnlockText, "Unlock"));
            EXPECT_TRUE(ButtonEnabled(p, IDC_LOCK));
            EXPECT_FALSE(ButtonEnabled(p, IDC_SETTINGS));
            EXPECT_FALSE(ButtonEnabled(p, IDCANCEL));
            EXPECT_FALSE(ButtonEnabled(p, IDOK));

            // Every other way out of the panel.
            HWND focus = ::GetDlgItem(p, IDC_LOCK);
            ::PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0);
            ::PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 0);
            ::PostMessageA(p, WM_COMMAND, IDCANCEL, 0);
            ::PostMessageA(p, WM_COMMAND, IDOK, 0);
            ::PostMessageA(p, WM_CLOSE, 0, 0);
            ::PostMessageA(p, WM_SYSCOMMAND, SC_CLOSE, 0);
        })
        .Until([&] { return ++ticks >= 4; })
        .Then([&] {
            HWND p = panel.m_hWnd;
            EXPECT_TRUE(::IsWindow(p) && ::IsWindowVisible(p)) << "a locked panel cannot be closed";
            EXPECT_EQ(panel.m_bLocked, 1);
            EXPECT_EQ(Effects(m_platform.calls), afterLock);
            EXPECT_EQ(ButtonText(p, IDC_LOCK), Shown(kUnlockText, "Unlock"));
            EXPECT_EQ(Settings().ReadInt(Key::Top), -1) << "no position is saved while locked";
        })
        // Wine and the NT line drop a confinement when the foreground
        // changes: the locked panel keeps putting it back.
        .Until([&] { return m_platform.calls.size() > afterLock.size() + 1; })
        .Then([&] {
            for (size_t i = afterLock.size(); i < m_platform.calls.size(); ++i)
                EXPECT_EQ(m_platform.calls[i], afterLock.front()) << "only the same confinement again";
        });
    for (const char* wrong : {"", "锁定 PW", "锁定 pw ", "锁定"})
        AnswerPrompt(script, panel, wrong);
    script.Then([&] {
        HWND p = panel.m_hWnd;
        EXPECT_EQ(panel.m_bLocked, 1) << "a wrong password unlocks nothing";
        EXPECT_EQ(Effects(m_platform.calls), afterLock);
        EXPECT_EQ(ButtonText(p, IDC_LOCK), Shown(kUnlockText, "Unlock"));
        EXPECT_FALSE(ButtonEnabled(p, IDOK));
    });
    AnswerPrompt(script, panel, "锁定 pw");
    // The four wrong passwords are reported once, over the panel, with the
    // pointer already free; then the count is gone.
    HWND report = nullptr;
    script
        .Until([&] {
            report = FindDialog(panel.m_hWnd);
            return report != nullptr && TextOf(report) == "Tethra";
        })
        .Then([&] {
            EXPECT_NE(TextOf(::GetDlgItem(report, 0xFFFF)).find(" 4 "), std::string::npos)
                << TextOf(::GetDlgItem(report, 0xFFFF));
            EXPECT_EQ(m_platform.calls.back(), "SetScreenSaverRunning(0)");
            ::PostMessageA(report, WM_COMMAND, IDOK, 0);
        });
    script.Then([&] {
        HWND p = panel.m_hWnd;
        EXPECT_EQ(Settings().ReadInt(Key::WrongPasswords), 0);
        Calls expected = afterLock;
        expected.push_back("ClipCursor(null)");
        expected.push_back("SetScreenSaverRunning(0)");
        EXPECT_EQ(Effects(m_platform.calls), expected);
        EXPECT_EQ(panel.m_bLocked, 0);
        EXPECT_EQ(ButtonText(p, IDC_LOCK), Shown(kLockText, "Lock"));
        EXPECT_TRUE(ButtonEnabled(p, IDC_SETTINGS));
        EXPECT_TRUE(ButtonEnabled(p, IDCANCEL));
        EXPECT_TRUE(ButtonEnabled(p, IDOK));
        EXPECT_TRUE(::IsWindowVisible(p)) << "unlocking alone does not close the panel";
        ::GetWindowRect(p, &atClose);
    });
    Close(script, panel);

    EXPECT_EQ(Run(panel, script), IDOK);
    EXPECT_EQ(Settings().ReadInt(Key::Top), atClose.top);
    EXPECT_EQ(Settings().ReadInt(Key::Left), atClose.left);
    EXPECT_TRUE(::IsWindowEnabled(m_main.m_hWnd));
}

TEST_F(LockPanelTest, ProtectedRestartFollowsTheSettingReadAtEachPress)
{
    char exe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, exe, sizeof exe);
    char command[ProtectedRestartCommandRoom(MAX_PATH)] = "";
    ASSERT_TRUE(ProtectedRestartCommand(exe, command, sizeof command));
    const std::string setRun = std::string("SetRunValue(VQS,") + command + ")";

    // On at both presses: set at the lock, deleted at the unlock.
    Settings().WriteFlag(Key::Protected, true);
    {
        CLockPanelDlg panel;
        panel.m_bLockOnOpen = 1;
        Script script;
        WaitForPanel(script, panel);
        script.Then([&] {
            EXPECT_EQ(m_platform.CallsStartingWith("SetRunValue"), Calls({setRun}));
            EXPECT_EQ(Effects(m_platform.calls).back(), setRun) << "after the other lock steps";
            EXPECT_TRUE(m_platform.CallsStartingWith("DeleteRunValue").empty());
        });
        AnswerPrompt(script, panel, "");
        Close(script, panel);
        EXPECT_EQ(Run(panel, script), IDOK);
        ASSERT_GE(m_platform.calls.size(), 3u);
        EXPECT_EQ(Calls(m_platform.calls.end() - 3, m_platform.calls.end()),
                  Calls({"ClipCursor(null)", "SetScreenSaverRunning(0)", "DeleteRunValue(VQS)"}));
    }

    // Turned off while locked: this program's own value goes at the unlock
    // all the same, or every later start would lock at once.
    m_platform.calls.clear();
    {
        CLockPanelDlg panel;
        panel.m_bLockOnOpen = 1;
        Script script;
        WaitForPanel(script, panel);
        script.Then([&] {
            EXPECT_EQ(m_platform.CallsStartingWith("SetRunValue"), Calls({setRun}));
            Settings().WriteFlag(Key::Protected, false);
        });
        AnswerPrompt(script, panel, "");
        Close(script, panel);
        EXPECT_EQ(Run(panel, script), IDOK);
        EXPECT_EQ(m_platform.CallsStartingWith("ClipCursor(null)").size(), 1u);
        EXPECT_EQ(m_platform.CallsStartingWith("DeleteRunValue"), Calls({"DeleteRunValue(VQS)"}));
        EXPECT_TRUE(m_platform.runValues.empty());
    }

    // Protection off at both presses: another program's "VQS" is not ours to delete.
    m_platform.calls.clear();
    m_platform.runValues = {{"VQS", "C:\\Other\\Other.exe /protected"}};
    {
        CLockPanelDlg panel;
        panel.m_bLockOnOpen = 1;
        Script script;
        WaitForPanel(script, panel);
        AnswerPrompt(script, panel, "");
        Close(script, panel);
        EXPECT_EQ(Run(panel, script), IDOK);
        EXPECT_TRUE(m_platform.CallsStartingWith("SetRunValue").empty());
        EXPECT_TRUE(m_platform.CallsStartingWith("DeleteRunValue").empty());
        EXPECT_EQ(m_platform.runValues.size(), 1u);
    }
}

TEST_F(LockPanelTest, UnlockHidesOrQuitsWhenTheSettingsSaySo)
{
    struct Case {
        const char* name;
        bool hide;
        bool quit;
        INT_PTR result;
    };
    const Case cases[] = {
        {"hide", true, false, IDCANCEL},
        {"quit", false, true, IDOK},
        {"hide and quit", true, true, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSettingsFile settings = Settings();
        settings.WriteFlag(Key::UnlockHide, c.hide);
        settings.WriteFlag(Key::UnlockQuit, c.quit);
        settings.WriteInt(Key::Top, -1);
        settings.WriteInt(Key::Left, -1);
        m_platform.calls.clear();

        CLockPanelDlg panel;
        panel.m_bLockOnOpen = 1;
        RECT atLock = {};
        Script script;
        WaitForPanel(script, panel);
        script.Then([&] { ::GetWindowRect(panel.m_hWnd, &atLock); });
        AnswerPrompt(script, panel, "", false);
        EXPECT_EQ(Run(panel, script), c.result);
        EXPECT_EQ(m_platform.CallsStartingWith("ClipCursor(null)").size(), 1u);
        EXPECT_EQ(settings.ReadInt(Key::Top), atLock.top);
        EXPECT_EQ(settings.ReadInt(Key::Left), atLock.left);
    }
}

TEST_F(LockPanelTest, OnePanelAtATimeAndASavedPlaceIsKept)
{
    CSettingsFile settings = Settings();
    settings.WriteInt(Key::Top, 37);
    settings.WriteInt(Key::Left, 53);

    // A saved place is where the panel opens, and where a lock on opening
    // confines the pointer.
    CLockPanelDlg panel;
    panel.m_bLockOnOpen = 1;
    RECT opened = {};
    INT_PTR secondResult = -99;
    bool secondMadeAWindow = true;
    Script script;
    WaitForPanel(script, panel);
    script.Then([&] {
        ::GetWindowRect(panel.m_hWnd, &opened);
        EXPECT_EQ(Effects(m_platform.calls), LockCallsFor(opened));
        size_t before = ThreadWindows().size();
        CLockPanelDlg second;
        secondResult = second.DoModal();
        secondMadeAWindow = ThreadWindows().size() != before;
    });
    AnswerPrompt(script, panel, "");
    script.Then([&] { ::PostMessageA(panel.m_hWnd, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(Run(panel, script), IDCANCEL);
    EXPECT_EQ(opened.left, 53);
    EXPECT_EQ(opened.top, 37);
    EXPECT_EQ(secondResult, 0);
    EXPECT_FALSE(secondMadeAWindow);

    // Once closed, or torn down from outside, another panel may open.
    CLockPanelDlg torn;
    Script tear;
    WaitForPanel(tear, torn);
    tear.Then([&] { ::DestroyWindow(torn.m_hWnd); });
    EXPECT_EQ(Run(torn, tear), -1);

    CLockPanelDlg last;
    Script close;
    WaitForPanel(close, last);
    Close(close, last);
    EXPECT_EQ(Run(last, close), IDOK);
}

}  // namespace

namespace {

using LockPanelExitTest = LockPanelTest;

// The program ended while locked, by WM_QUIT or by the end of the session:
// the pointer is freed and task switching comes back, but the Run value that
// brings a protected lock back after a restart stays.
TEST_F(LockPanelExitTest, EndingTheProgramWhileLockedReleasesAllButTheRunValue)
{
    Settings().WriteFlag(Key::Protected, true);
    struct Case {
        const char* name;
        bool promptOpen;
        std::function<void(HWND)> end;
    };
    auto quit = [](HWND) { ::PostQuitMessage(0); };
    auto endSession = [](HWND panel) { ::SendMessageA(panel, WM_ENDSESSION, TRUE, 0); };
    const Case cases[] = {
        {"WM_QUIT", false, quit},
        {"WM_QUIT, prompt open", true, quit},
        {"end of session", false, endSession},
        {"end of session, prompt open", true, endSession},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_platform.calls.clear();
        CLockPanelDlg panel;
        panel.m_bLockOnOpen = 1;
        Script script;
        WaitForPanel(script, panel);
        script.Then([&] { EXPECT_TRUE(CLockPanelDlg::IsLockInForce()); });
        if (c.promptOpen) {
            script.Then([&] { ::PostMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOCK, BN_CLICKED), 0); })
                .Until([&panel] { return FindDialog(panel.m_hWnd) != nullptr; });
        }
        script.Then([&] { c.end(panel.m_hWnd); });
        script.Start();
        INT_PTR result = panel.DoModal();
        script.Stop();
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(result, -1);
        EXPECT_EQ(TakeQuitMessage(), 0) << "the quit goes on to the loop outside";
        EXPECT_FALSE(CLockPanelDlg::IsLockInForce());
        EXPECT_EQ(CLockPanelDlg::s_bOpen, 0);
        Calls effects = Effects(m_platform.calls);
        ASSERT_GE(effects.size(), 3u);
        EXPECT_EQ(Calls(effects.end() - 2, effects.end()), Calls({"ClipCursor(null)", "SetScreenSaverRunning(0)"}));
        EXPECT_EQ(m_platform.CallsStartingWith("SetScreenSaverRunning(0)").size(), 1u) << "released once";
        EXPECT_TRUE(m_platform.CallsStartingWith("DeleteRunValue").empty()) << "the restart must lock again";
    }

    // A session that does not end changes nothing.
    m_platform.calls.clear();
    CLockPanelDlg panel;
    panel.m_bLockOnOpen = 1;
    Script script;
    WaitForPanel(script, panel);
    script.Then([&] {
        ::SendMessageA(panel.m_hWnd, WM_ENDSESSION, FALSE, 0);
        EXPECT_TRUE(CLockPanelDlg::IsLockInForce());
        EXPECT_TRUE(m_platform.CallsStartingWith("ClipCursor(null)").empty());
    });
    AnswerPrompt(script, panel, "");
    Close(script, panel);
    EXPECT_EQ(Run(panel, script), IDOK);
    EXPECT_EQ(TakeQuitMessage(), -1);
}

// While locked only the lock button acts, even on buttons another program
// has enabled and on commands sent straight to the panel.
TEST_F(LockPanelExitTest, OnlyTheUnlockRoadTakesCommandsWhileLocked)
{
    CLockPanelDlg panel;
    panel.m_bLockOnOpen = 1;
    int ticks = 0;
    Script script;
    WaitForPanel(script, panel);
    script
        .Then([&] {
            for (int id : {IDC_SETTINGS, IDCANCEL, IDOK}) {
                HWND button = ::GetDlgItem(panel.m_hWnd, id);
                ::EnableWindow(button, TRUE);
                ::PostMessageA(button, BM_CLICK, 0, 0);
                ::PostMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
            }
        })
        .Until([&] { return ++ticks >= 4; })
        .Then([&] {
            EXPECT_TRUE(::IsWindowVisible(panel.m_hWnd));
            EXPECT_EQ(panel.m_bLocked, 1);
            EXPECT_EQ(FindDialog(panel.m_hWnd), nullptr) << "no dialog opened over the locked panel";
        });
    AnswerPrompt(script, panel, "");
    script.Then([&] { EXPECT_FALSE(CLockPanelDlg::IsLockInForce()); });
    Close(script, panel);
    EXPECT_EQ(Run(panel, script), IDOK);
}

// The confinement comes back as soon as the activation moves inside the
// program, not only at the backstop timer's next tick; and it follows a
// locked panel that another program moves, which stays on the work area.
TEST_F(LockPanelExitTest, ConfinementFollowsActivationAndMoves)
{
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    auto confinementOf = [](HWND p) {
        RECT r;
        ::GetWindowRect(p, &r);
        return LockCallsFor(r).front();
    };
    CLockPanelDlg panel;
    panel.m_bLockOnOpen = 1;
    auto prompt = std::make_shared<HWND>(nullptr);
    std::string clip;
    Script script;
    WaitForPanel(script, panel);
    script
        .Then([&] {
            // The backstop stopped: what confines from here on is the activation road.
            ::KillTimer(panel.m_hWnd, 1);
            clip = confinementOf(panel.m_hWnd);
            m_platform.calls.clear();
            ::PostMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOCK, BN_CLICKED), 0);
        })
        .Until([&] {
            *prompt = FindDialog(panel.m_hWnd);
            return *prompt != nullptr && ::GetActiveWindow() == *prompt;
        })
        .Then([&] {
            EXPECT_FALSE(m_platform.CallsStartingWith("ClipCursor").empty()) << "nothing confined as the prompt opened";
            for (const std::string& call : m_platform.CallsStartingWith("ClipCursor"))
                EXPECT_EQ(call, clip);
            m_platform.calls.clear();
            ::SetDlgItemTextA(*prompt, IDC_PASSWORD, "wrong");
            ::PostMessageA(*prompt, WM_COMMAND, IDOK, 0);
        })
        .Until([&] { return !::IsWindow(*prompt); })
        .Then([&] {
            EXPECT_FALSE(m_platform.CallsStartingWith("ClipCursor").empty()) << "nothing confined as the prompt closed";
            for (const std::string& call : m_platform.CallsStartingWith("ClipCursor"))
                EXPECT_EQ(call, clip);
            m_platform.calls.clear();
            // Another program moves the locked panel far off the screen.
            ::SetWindowPos(panel.m_hWnd, nullptr, work.right + 500, work.bottom + 500, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            RECT r;
            ::GetWindowRect(panel.m_hWnd, &r);
            EXPECT_EQ(r.right, work.right);
            EXPECT_EQ(r.bottom, work.bottom);
            ASSERT_FALSE(m_platform.calls.empty());
            EXPECT_EQ(m_platform.calls.back(), confinementOf(panel.m_hWnd)) << "the confinement followed the move";
            EXPECT_EQ(Settings().ReadInt(Key::Top), -1) << "a move saves nothing";

            // Moved over the taskbar without the panel being asked first.
            ::SetWindowPos(panel.m_hWnd, nullptr, work.left - 50, work.bottom - 10, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
            ::GetWindowRect(panel.m_hWnd, &r);
            EXPECT_EQ(r.left, work.left);
            EXPECT_EQ(r.bottom, work.bottom);
            EXPECT_EQ(m_platform.calls.back(), confinementOf(panel.m_hWnd));
        });
    AnswerPrompt(script, panel, "");
    // The unlock reports the wrong password typed above.
    script.Until([&] {
        HWND report = FindDialog(panel.m_hWnd);
        return report != nullptr && TextOf(report) == "Tethra" && ::PostMessageA(report, WM_COMMAND, IDOK, 0);
    });
    script.Then([&] {
        // Unlocked, the panel goes where it is put.
        ::SetWindowPos(panel.m_hWnd, nullptr, work.right - 10, work.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT r;
        ::GetWindowRect(panel.m_hWnd, &r);
        EXPECT_EQ(r.left, work.right - 10);
        // Locking there brings it back inside first; the confinement is taken there.
        ::PostMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOCK, BN_CLICKED), 0);
    });
    script.Until([&] { return panel.m_bLocked == 1; }).Then([&] {
        RECT r;
        ::GetWindowRect(panel.m_hWnd, &r);
        EXPECT_EQ(r.right, work.right);
        EXPECT_EQ(m_platform.CallsStartingWith("ClipCursor(").back(), confinementOf(panel.m_hWnd));
    });
    AnswerPrompt(script, panel, "");
    script.Then([&] {
        ::SetWindowPos(panel.m_hWnd, nullptr, work.left + 20, work.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
    Close(script, panel);
    EXPECT_EQ(Run(panel, script), IDOK);
}

// Notes the panel's place at every move or show that leaves it visible.
class CWatchedPanel : public CLockPanelDlg {
public:
    std::vector<RECT> shownAt;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_WINDOWPOSCHANGED && ::IsWindowVisible(m_hWnd)) {
            RECT r;
            ::GetWindowRect(m_hWnd, &r);
            shownAt.push_back(r);
        }
        return CLockPanelDlg::WindowProc(message, wParam, lParam);
    }
};

bool Inside(const RECT& r, const RECT& area)
{
    return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}

// A saved place the panel cannot wholly show at opens inside the work area,
// and it is never seen anywhere else on the way; the stored values are left
// as they are until the panel saves its place.
TEST_F(LockPanelExitTest, ASavedPlaceOffTheWorkAreaOpensInside)
{
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    struct Case {
        const char* name;
        int left, top;
    };
    const Case cases[] = {
        {"off the right and bottom", work.right + 200, work.bottom + 100},
        {"over the taskbar", 40, work.bottom - 20},
        {"above and left", -300, -200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings().WriteInt(Key::Left, c.left);
        Settings().WriteInt(Key::Top, c.top);
        m_platform.calls.clear();
        CWatchedPanel panel;
        panel.m_bLockOnOpen = 1;
        RECT opened = {};
        Script script;
        WaitForPanel(script, panel);
        script.Then([&] {
            EXPECT_FALSE(panel.shownAt.empty());
            for (const RECT& r : panel.shownAt)
                EXPECT_TRUE(Inside(r, work)) << "shown at " << r.left << "," << r.top;
            ::GetWindowRect(panel.m_hWnd, &opened);
            EXPECT_GE(opened.left, work.left);
            EXPECT_GE(opened.top, work.top);
            EXPECT_LE(opened.right, work.right);
            EXPECT_LE(opened.bottom, work.bottom);
            EXPECT_EQ(Effects(m_platform.calls), LockCallsFor(opened)) << "locked where it shows";
            EXPECT_EQ(Settings().ReadInt(Key::Left), c.left);
            EXPECT_EQ(Settings().ReadInt(Key::Top), c.top);
        });
        AnswerPrompt(script, panel, "");
        Close(script, panel);
        EXPECT_EQ(Run(panel, script), IDOK);
        EXPECT_EQ(Settings().ReadInt(Key::Left), opened.left);
        EXPECT_EQ(Settings().ReadInt(Key::Top), opened.top);
    }
}

// The work area changes under an open panel (the taskbar grows, or comes
// back after the shell restarted): the panel goes back inside it, and a
// locked panel's confinement follows.
TEST_F(LockPanelExitTest, AChangedWorkAreaTakesThePanelBackInside)
{
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // The system's work area, whatever the test does to it.
    struct Restore {
        RECT area;
        ~Restore() { ::SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0); }
    } restore{work};
    Settings().WriteInt(Key::Left, work.right);
    Settings().WriteInt(Key::Top, work.bottom);

    CLockPanelDlg panel;
    panel.m_bLockOnOpen = 1;
    RECT smaller = {work.left, work.top, work.right - 120, work.bottom - 90};
    Script script;
    WaitForPanel(script, panel);
    script.Then([&] {
        RECT r;
        ::GetWindowRect(panel.m_hWnd, &r);
        ASSERT_EQ(r.right, work.right) << "opens in the corner";
        ASSERT_TRUE(::SystemParametersInfoA(SPI_SETWORKAREA, 0, &smaller, 0));
        m_platform.calls.clear();
        ::SendMessageA(panel.m_hWnd, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
        ::GetWindowRect(panel.m_hWnd, &r);
        EXPECT_EQ(r.right, smaller.right);
        EXPECT_EQ(r.bottom, smaller.bottom);
        ASSERT_FALSE(m_platform.calls.empty());
        EXPECT_EQ(m_platform.calls.back(), LockCallsFor(r).front()) << "the confinement followed";
    });
    AnswerPrompt(script, panel, "");
    script.Then([&] {
        // Unlocked, at the edge of a grown work area: the new taskbar's
        // announcement alone brings it back.
        ::SystemParametersInfoA(SPI_SETWORKAREA, 0, &work, 0);
        ::SetWindowPos(panel.m_hWnd, nullptr, work.right - 40, work.bottom - 30, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::SystemParametersInfoA(SPI_SETWORKAREA, 0, &smaller, 0);
        ::SendMessageA(panel.m_hWnd, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        RECT r;
        ::GetWindowRect(panel.m_hWnd, &r);
        EXPECT_TRUE(Inside(r, smaller)) << r.left << "," << r.top << " " << r.right << "," << r.bottom;
        // Another setting's change moves nothing.
        ::SystemParametersInfoA(SPI_SETWORKAREA, 0, &work, 0);
        ::SetWindowPos(panel.m_hWnd, nullptr, work.right - 40, work.bottom - 30, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::SystemParametersInfoA(SPI_SETWORKAREA, 0, &smaller, 0);
        ::SendMessageA(panel.m_hWnd, WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
        ::GetWindowRect(panel.m_hWnd, &r);
        EXPECT_EQ(r.left, work.right - 40);
    });
    Close(script, panel);
    EXPECT_EQ(Run(panel, script), IDOK);
}

// A lock requested while the panel is open (the timed lock fell due): an
// unlocked panel locks, at once or as soon as a dialog over it has closed;
// a locked one stays as it is.
TEST_F(LockPanelExitTest, ARequestedLockTakesTheOpenPanel)
{
    EXPECT_FALSE(CLockPanelDlg::RequestLock()) << "no panel open";
    CLockPanelDlg panel;
    Calls atLock;
    int ticks = 0;
    Script script;
    WaitForPanel(script, panel);
    script.Then([&] { EXPECT_TRUE(CLockPanelDlg::RequestLock()); })
        .Until([&] { return panel.m_bLocked == 1; })
        .Then([&] {
            RECT r;
            ::GetWindowRect(panel.m_hWnd, &r);
            EXPECT_EQ(Effects(m_platform.calls), LockCallsFor(r));
            EXPECT_EQ(ButtonText(panel.m_hWnd, IDC_LOCK), kUnlockText);
            atLock = Effects(m_platform.calls);
            EXPECT_TRUE(CLockPanelDlg::RequestLock());
        })
        .Until([&] { return ++ticks >= 4; })
        .Then([&] { EXPECT_EQ(Effects(m_platform.calls), atLock) << "a locked panel stays as it is"; });
    AnswerPrompt(script, panel, "");

    // Over the panel: its settings dialog, then the about box.
    for (int over = 0; over < 2; ++over) {
        auto dialog = std::make_shared<HWND>(nullptr);
        script
            .Then([&, over] {
                ticks = 0;
                m_platform.calls.clear();
                if (over == 0) {
                    CSettingsDlg settings;
                    settings.DoModal();
                } else {
                    CAboutDlg about;
                    about.DoModal();
                }
            })
            .Until([&, dialog] { return (*dialog = FindDialog(panel.m_hWnd)) != nullptr; })
            .Then([] { EXPECT_TRUE(CLockPanelDlg::RequestLock()); })
            .Until([&] { return ++ticks >= 4; })
            .Then([&, dialog] {
                EXPECT_EQ(panel.m_bLocked, 0) << "not while the dialog is open";
                EXPECT_TRUE(m_platform.CallsStartingWith("ClipCursor").empty());
                ::PostMessageA(*dialog, WM_COMMAND, IDCANCEL, 0);
            })
            .Until([&] { return panel.m_bLocked == 1; })
            .Then([&, dialog] {
                EXPECT_FALSE(::IsWindow(*dialog));
                RECT r;
                ::GetWindowRect(panel.m_hWnd, &r);
                EXPECT_EQ(Effects(m_platform.calls), LockCallsFor(r)) << "locked once the dialog closed";
            });
        AnswerPrompt(script, panel, "");
    }
    Close(script, panel);
    EXPECT_EQ(Run(panel, script), IDOK);
    EXPECT_FALSE(CLockPanelDlg::RequestLock());
}

}  // namespace

namespace {

using LockPanelKeyboardTest = LockPanelTest;

// A shown window of another thread, as another program's would be: it takes
// the foreground when it starts and again at each Activate.
class ForeignWindow {
public:
    ~ForeignWindow()
    {
        if (m_thread == nullptr)
            return;
        ::PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        ::WaitForSingleObject(m_thread, 5000);
        ::CloseHandle(m_thread);
    }
    void Start() { m_thread = ::CreateThread(nullptr, 0, &Run, this, 0, &m_threadId); }
    void Activate() { ::PostThreadMessageA(m_threadId, WM_APP, 0, 0); }
    bool InFront() const { return m_hWnd != nullptr && ::GetForegroundWindow() == m_hWnd; }

private:
    static DWORD WINAPI Run(LPVOID self)
    {
        auto* foreign = static_cast<ForeignWindow*>(self);
        HWND hWnd = ::CreateWindowExA(0, "STATIC", "foreign", WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 20, 120, 60,
                                      nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(hWnd);
        foreign->m_hWnd = hWnd;
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_APP)
                ::SetForegroundWindow(hWnd);
            ::DispatchMessageA(&msg);
        }
        ::DestroyWindow(hWnd);
        return 0;
    }

    HANDLE m_thread = nullptr;
    DWORD m_threadId = 0;
    std::atomic<HWND> m_hWnd{nullptr};
};

// Another program's window in front: a lock that falls due then takes the
// foreground, by way of the foreground thread's input when the system
// refuses it as Windows 98 does; and while the prompt is up, the half-second
// timer gives the keyboard back to the prompt, which goes on working.
TEST_F(LockPanelKeyboardTest, TheLockedPanelTakesTheKeyboardBack)
{
    const Calls attachRoad = {"SetForegroundWindow refused", "AttachThreadInput(1)", "SetForegroundWindow",
                              "AttachThreadInput(0)"};
    CLockPanelDlg panel;
    ForeignWindow foreign;
    auto prompt = std::make_shared<HWND>(nullptr);
    Script script;
    WaitForPanel(script, panel);
    script.Then([&] { foreign.Start(); })
        .Until([&] { return foreign.InFront(); })
        .Then([&] {
            m_platform.refuseForeground = 1;
            m_platform.foregroundCalls.clear();
            EXPECT_TRUE(CLockPanelDlg::RequestLock());
        })
        .Until([&] { return panel.m_bLocked == 1; })
        .Then([&] {
            Calls calls = m_platform.foregroundCalls;
            calls.resize(std::min(calls.size(), attachRoad.size()));
            EXPECT_EQ(calls, attachRoad);
        })
        // Under Wine the foreground can read as none once the input is
        // detached again; the timer's next tick then takes it back.
        .Until([&] { return ::GetForegroundWindow() == panel.m_hWnd; })
        .Then([&] { ::PostMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOCK, BN_CLICKED), 0); })
        .Until([&] { return (*prompt = FindDialog(panel.m_hWnd)) != nullptr && ::GetForegroundWindow() == *prompt; })
        .Then([&] {
            // The timer held back until the other window is in front.
            ::KillTimer(panel.m_hWnd, 1);
            foreign.Activate();
        })
        .Until([&] { return foreign.InFront(); })
        .Then([&] {
            m_platform.foregroundCalls.clear();
            ::SetTimer(panel.m_hWnd, 1, 500, nullptr);
        })
        .Until([&] { return ::GetForegroundWindow() == *prompt; })
        .Then([&] {
            EXPECT_EQ(m_platform.foregroundCalls, Calls({"SetForegroundWindow"}));
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(*prompt, IDC_PASSWORD)) << "the typing goes to the password";
            ::SetDlgItemTextA(*prompt, IDC_PASSWORD, "");
            ::PostMessageA(*prompt, WM_COMMAND, IDOK, 0);
        })
        .Until([&] { return panel.m_bLocked == 0; });
    Close(script, panel);
    EXPECT_EQ(Run(panel, script), IDOK);
}

// The report of wrong passwords comes after the unlock: while it is up the
// panel is unlocked, and a lock asked for then (the hotkey, the timed lock)
// takes the panel instead of the hide that UnlockHide asks for.
TEST_F(LockPanelKeyboardTest, ALockAskedForDuringTheReportIsKept)
{
    Settings().WriteFlag(Key::UnlockHide, true);
    CLockPanelDlg panel;
    HWND report = nullptr;
    Script script;
    UnlockAfterAWrongPassword(script, panel, &report);
    script
        .Then([&] {
            EXPECT_FALSE(CLockPanelDlg::IsLockInForce());
            EXPECT_EQ(ButtonText(panel.m_hWnd, IDC_LOCK), Shown(kLockText, "Lock"));
            for (int id : {IDC_SETTINGS, IDCANCEL, IDOK})
                EXPECT_TRUE(ButtonEnabled(panel.m_hWnd, id)) << id;
            m_platform.calls.clear();
            EXPECT_TRUE(CLockPanelDlg::RequestLock());
            ::PostMessageA(report, WM_COMMAND, IDOK, 0);
        })
        .Until([&] { return panel.m_bLocked == 1; })
        .Then([&] {
            RECT r;
            ::GetWindowRect(panel.m_hWnd, &r);
            EXPECT_EQ(Effects(m_platform.calls), LockCallsFor(r));
            EXPECT_EQ(ButtonText(panel.m_hWnd, IDC_LOCK), Shown(kUnlockText, "Unlock"));
        });
    // No wrong password this time: no report, and the panel hides.
    AnswerPrompt(script, panel, "", false);
    EXPECT_EQ(Run(panel, script), IDCANCEL);
}

// Exit from the tray while the report is up destroys the panel under it:
// no place is saved from a window that is gone.
TEST_F(LockPanelKeyboardTest, ExitDuringTheReportSavesNoPlace)
{
    Settings().WriteFlag(Key::UnlockHide, true);
    Settings().WriteFlag(Key::UnlockQuit, true);
    CLockPanelDlg panel;
    HWND report = nullptr;
    Script script;
    UnlockAfterAWrongPassword(script, panel, &report);
    script.Then([&] { m_main.DestroyWindow(); });
    EXPECT_EQ(Run(panel, script), -1);
    EXPECT_EQ(TakeQuitMessage(), 0);
    EXPECT_EQ(Settings().ReadInt(Key::Top), -1);
    EXPECT_EQ(Settings().ReadInt(Key::Left), -1);
}

// A count left by a lock that ended without an unlock is not the next
// lock's; the lock of a protected restart carries on the one in force.
TEST_F(LockPanelKeyboardTest, ANewLockStartsWithNoCountButAProtectedRestartKeepsIt)
{
    for (int carryOn : {0, 1}) {
        SCOPED_TRACE(carryOn);
        Settings().WriteInt(Key::WrongPasswords, 4);
        Settings().WriteInt(Key::LastWrongPassword, 946684800);
        CLockPanelDlg panel;
        panel.m_bLockOnOpen = 1;
        panel.m_bCarryOnLock = carryOn;
        Script script;
        WaitForPanel(script, panel);
        script.Then([&] {
            EXPECT_EQ(Settings().ReadInt(Key::WrongPasswords), carryOn ? 4 : 0);
            EXPECT_EQ(Settings().ReadInt(Key::LastWrongPassword), carryOn ? 946684800 : 0);
            ::PostQuitMessage(0);
        });
        EXPECT_EQ(Run(panel, script), -1);
        EXPECT_EQ(TakeQuitMessage(), 0);
    }
}

}  // namespace

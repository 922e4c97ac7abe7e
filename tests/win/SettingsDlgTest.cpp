// The settings and change-password dialogs run for real over a hidden main
// window, driven through their controls, with the real settings file and
// the recording platform's Run key.
#include "WinTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest-spi.h>

#include <algorithm>
#include "app/TethraApp.h"
#include "dialogs/ChangePasswordDlg.h"
#include "dialogs/SettingsDlg.h"
#include "frame/MainFrame.h"
#include "fw/Afx.h"
#include "fw/FrameWnd.h"
#include "lock/LockPanelDlg.h"
#include "lock/PasswordPromptDlg.h"
#include "res/resource.h"
#include "settings/PasswordStore.h"
#include "settings/SettingsFile.h"
#include "settings/TimeValue.h"

namespace {

using Lines = std::vector<std::string>;

const int kBoxes[] = {IDC_INIT_TRAY, IDC_INIT_LOCK, IDC_AUTORUN,        IDC_UNLOCK_HIDE,
                      IDC_UNLOCK_QUIT, IDC_PROTECT_RESTART, IDC_TIME_LOCK};
const int kTimedControls[] = {IDC_AFTER_RUNNING, IDC_AT_CLOCK, IDC_AFTER_TIME, IDC_ON_TIME};

bool Checked(HWND d, int id)
{
    return ::IsDlgButtonChecked(d, id) == BST_CHECKED;
}

bool Enabled(HWND d, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(d, id)) != FALSE;
}

void Click(HWND d, int id)
{
    ::SendMessageA(::GetDlgItem(d, id), BM_CLICK, 0, 0);
}

// The checked boxes among kBoxes, and whether the timed-lock controls are on.
std::string BoxState(HWND d)
{
    std::string state;
    for (int id : kBoxes)
        state += Checked(d, id) ? '1' : '0';
    state += ' ';
    int enabled = 0;
    for (int id : kTimedControls)
        enabled += Enabled(d, id) ? 1 : 0;
    state += enabled == 4 ? "on" : enabled == 0 ? "off" : "mixed";
    return state;
}

std::string PickerText(HWND d, int id)
{
    SYSTEMTIME st = {};
    if (::SendMessageA(::GetDlgItem(d, id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID)
        return "none";
    return Format("%04u-%02u-%02u %02u:%02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

void SetPickerTime(HWND d, int id, int hour, int minute, int second)
{
    HWND picker = ::GetDlgItem(d, id);
    SYSTEMTIME st = {};
    ::SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    ::SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

// The file's non-empty lines, in order.
Lines FileLines(const std::string& text)
{
    Lines lines;
    std::string line;
    for (char c : text) {
        if (c == '\r')
            continue;
        if (c == '\n') {
            if (!line.empty())
                lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

BOOL CALLBACK FindBoxText(HWND child, LPARAM lParam)
{
    auto* text = reinterpret_cast<std::string*>(lParam);
    auto style = static_cast<DWORD>(::GetWindowLongA(child, GWL_STYLE));
    if (ClassOf(child) == "Static" && (style & SS_TYPEMASK) != SS_ICON && !TextOf(child).empty())
        *text = TextOf(child);
    return TRUE;
}

// The text of a message box.
std::string BoxText(HWND box)
{
    std::string text;
    ::EnumChildWindows(box, &FindBoxText, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::string StringResource(UINT id)
{
    char text[256] = "";
    AfxLoadString(id, text, sizeof text);
    return text;
}

class SettingsDlgTest : public WinTest {
protected:
    void SetUp() override
    {
        WinTest::SetUp();
        ASSERT_TRUE(m_main.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
        TheApp().m_pMainWnd = &m_main;
    }
    void TearDown() override
    {
        TheApp().m_pMainWnd = nullptr;
        m_main.DestroyWindow();
        EXPECT_EQ(CSettingsDlg::s_bOpen, 0);
        CSettingsDlg::s_bOpen = 0;
        WinTest::TearDown();
    }

    CSettingsFile Settings() const { return CSettingsFile(m_ini.Path()); }

    // Runs dialog; act gets its window once it shows.
    INT_PTR Run(CDialog& dialog, const std::function<void(HWND)>& act)
    {
        Script steps;
        steps.Until([&] { return dialog.m_hWnd != nullptr && ::IsWindowVisible(dialog.m_hWnd); })
            .Then([&] { act(dialog.m_hWnd); });
        steps.Start();
        INT_PTR result = dialog.DoModal();
        steps.Stop();
        EXPECT_TRUE(steps.Done()) << "the dialog never showed";
        return result;
    }

    CFrameWnd m_main;
};

TEST_F(SettingsDlgTest, OpensWithNoFileAtTheDefaultsAndTheRunKeyDecidesTheAutorunBox)
{
    std::string state;
    std::string after;
    std::string on;
    bool firstBoxFocused = false;
    CSettingsDlg dialog;
    INT_PTR result = Run(dialog, [&](HWND d) {
        state = BoxState(d);
        EXPECT_TRUE(Checked(d, IDC_AFTER_RUNNING));
        EXPECT_FALSE(Checked(d, IDC_AT_CLOCK));
        after = PickerText(d, IDC_AFTER_TIME);
        on = PickerText(d, IDC_ON_TIME);
        firstBoxFocused = ::GetFocus() == ::GetDlgItem(d, IDC_INIT_TRAY);
        EXPECT_EQ(TextOf(d), Shown("设置", "Settings"));
        ::PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(state, "0000000 off");
    EXPECT_EQ(after, "2000-01-01 01:00:00");
    EXPECT_EQ(on, "2000-01-01 01:00:00");
    EXPECT_TRUE(firstBoxFocused);
    EXPECT_TRUE(m_platform.calls.empty()) << "Cancel touches no Run value";
    EXPECT_EQ(m_ini.ReadRaw(), "") << "nor the settings file";

    // Any "Tethra" value ticks the box, one too long for the 80-byte read too.
    for (const std::string& data : {std::string("C:\\T\\L.EXE"), "C:\\" + std::string(100, 'x') + ".EXE"}) {
        SCOPED_TRACE(data.size());
        m_platform.runValues = {{"Tethra", data}};
        CSettingsDlg again;
        Run(again, [&](HWND d) {
            state = BoxState(d);
            ::PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(state, "0010000 off");
    }
}

TEST_F(SettingsDlgTest, StoredOptionsShowAndATimeWithNoLocalTimeShowsOneOClock)
{
    CTime halfPast(2000, 1, 1, 0, 30, 0);
    m_ini.WriteRaw(Format("[Option]\r\nInitTray=1\r\nUnlockQuit=1\r\nProtected=1\r\nTimeLock=1\r\n"
                          "[Time]\r\nTimeLockType=1\r\nAfterTime=%ld\r\nOnTime=-5\r\n",
                          static_cast<long>(halfPast.GetTime())));
    std::string state;
    std::string after;
    std::string on;
    bool clockChecked = false;
    CSettingsDlg dialog;
    Run(dialog, [&](HWND d) {
        state = BoxState(d);
        clockChecked = Checked(d, IDC_AT_CLOCK) && !Checked(d, IDC_AFTER_RUNNING);
        after = PickerText(d, IDC_AFTER_TIME);
        on = PickerText(d, IDC_ON_TIME);
        ::PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(state, "1000111 on");
    EXPECT_TRUE(clockChecked);
    EXPECT_EQ(after, "2000-01-01 00:30:00");
    EXPECT_EQ(on, "2000-01-01 01:00:00");
    // OK replaces the unreadable time with what the picker showed.
    EXPECT_EQ(Settings().ReadInt(Key::OnTime), DefaultTimeValue().GetTime());
    EXPECT_EQ(Settings().ReadInt(Key::AfterTime), halfPast.GetTime());
    EXPECT_EQ(Settings().ReadInt(Key::TimeLockType), 1);

    // TimeLock 5 reads the Time keys but shows an unchecked box and the
    // timed controls off; TimeLockType 2 shows the running-time button.
    m_ini.WriteRaw("[Option]\r\nTimeLock=5\r\nInitLock=5\r\n[Time]\r\nTimeLockType=2\r\nAfterTime=-1\r\nOnTime=1800\r\n");
    CSettingsDlg odd;
    bool runningChecked = false;
    Run(odd, [&](HWND d) {
        state = BoxState(d);
        runningChecked = Checked(d, IDC_AFTER_RUNNING);
        after = PickerText(d, IDC_AFTER_TIME);
        on = PickerText(d, IDC_ON_TIME);
        ::PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(state, "0000000 off");
    EXPECT_TRUE(runningChecked);
    EXPECT_EQ(after, "2000-01-01 01:00:00");
    EXPECT_NE(on, "2000-01-01 01:00:00") << "a readable time is shown as stored";
}

TEST_F(SettingsDlgTest, ClickRulesThroughTheBoxes)
{
    m_ini.WriteRaw("[Option]\r\nInitTray=1\r\nTimeLock=1\r\nUnlockQuit=1\r\n");
    std::string before = m_ini.ReadRaw();
    std::vector<std::pair<const char*, std::string>> seen;
    CSettingsDlg dialog;
    INT_PTR result = Run(dialog, [&](HWND d) {
        auto step = [&](const char* what, int id) {
            Click(d, id);
            seen.emplace_back(what, BoxState(d));
        };
        seen.emplace_back("open", BoxState(d));
        step("check lock after start", IDC_INIT_LOCK);
        step("check timed lock", IDC_TIME_LOCK);
        step("check hide after unlock", IDC_UNLOCK_HIDE);
        step("check quit after unlock", IDC_UNLOCK_QUIT);
        step("check tray at start", IDC_INIT_TRAY);
        step("check lock after start again", IDC_INIT_LOCK);
        step("uncheck lock after start", IDC_INIT_LOCK);
        step("check timed lock again", IDC_TIME_LOCK);
        step("uncheck timed lock", IDC_TIME_LOCK);
        step("uncheck quit after unlock", IDC_UNLOCK_QUIT);
        step("check autorun", IDC_AUTORUN);
        step("check protection", IDC_PROTECT_RESTART);
        ::PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    //          1009 1010 1011 1012 1013 1014 1015
    const std::pair<const char*, std::string> expected[] = {
        {"open", "1000101 on"},
        {"check lock after start", "0100100 off"},
        {"check timed lock", "0000101 on"},
        {"check hide after unlock", "0001001 on"},
        {"check quit after unlock", "0000101 on"},
        {"check tray at start", "1000101 on"},
        {"check lock after start again", "0100100 off"},
        {"uncheck lock after start", "0000100 off"},
        {"check timed lock again", "0000101 on"},
        {"uncheck timed lock", "0000100 off"},
        {"uncheck quit after unlock", "0000000 off"},
        {"check autorun", "0010000 off"},
        {"check protection", "0010010 off"},
    };
    ASSERT_EQ(seen.size(), std::size(expected));
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i].second, expected[i].second) << expected[i].first;
    EXPECT_EQ(m_ini.ReadRaw(), before) << "Cancel writes nothing";
    EXPECT_TRUE(m_platform.calls.empty());
}

// Notes the settings file as it was when the Run key was written.
class CSnapshotPlatform : public CRecordingPlatform {
public:
    explicit CSnapshotPlatform(const TempIni& ini) : m_ini(ini) {}
    std::vector<std::string> fileAtRunKey;

    void SetRunValue(const char* name, const char* data) override
    {
        fileAtRunKey.push_back(m_ini.ReadRaw());
        CRecordingPlatform::SetRunValue(name, data);
    }
    void DeleteRunValue(const char* name) override
    {
        fileAtRunKey.push_back(m_ini.ReadRaw());
        CRecordingPlatform::DeleteRunValue(name);
    }

private:
    const TempIni& m_ini;
};

TEST_F(SettingsDlgTest, OkWritesTheOptionsThenTheAutorunValueThenTheTimes)
{
    CSnapshotPlatform platform(m_ini);
    SetPlatform(&platform);
    char exe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, exe, sizeof exe);

    CSettingsDlg dialog;
    INT_PTR result = Run(dialog, [&](HWND d) {
        Click(d, IDC_AUTORUN);
        Click(d, IDC_UNLOCK_HIDE);
        Click(d, IDC_TIME_LOCK);
        Click(d, IDC_AT_CLOCK);
        SetPickerTime(d, IDC_AFTER_TIME, 0, 30, 0);
        SetPickerTime(d, IDC_ON_TIME, 22, 15, 30);
        ::PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);
    const Lines options = {"[Option]",     "InitTray=0",  "InitLock=0", "UnlockHide=1",
                           "UnlockQuit=0", "Protected=0", "TimeLock=1"};
    Lines expected = options;
    // The lock hotkey last, in its section: the control showed Ctrl+Alt+L.
    expected.push_back("HotKey=1612");
    expected.push_back("IdleLock=0");
    expected.push_back("[Time]");
    expected.push_back("TimeLockType=1");
    expected.push_back(Format("AfterTime=%ld", static_cast<long>(CTime(2000, 1, 1, 0, 30, 0).GetTime())));
    expected.push_back(Format("OnTime=%ld", static_cast<long>(CTime(2000, 1, 1, 22, 15, 30).GetTime())));
    EXPECT_EQ(FileLines(m_ini.ReadRaw()), expected);
    EXPECT_EQ(platform.calls, Lines({std::string("SetRunValue(Tethra,") + exe + ")"}));
    ASSERT_EQ(platform.fileAtRunKey.size(), 1u);
    EXPECT_EQ(FileLines(platform.fileAtRunKey[0]), options) << "the six options first, the times after";

    // With the timed lock off the Time keys stay as they were, and an
    // unchecked autorun box deletes the value.
    std::string timeBefore = m_ini.ReadRaw().substr(m_ini.ReadRaw().find("[Time]"));
    platform.calls.clear();
    CSettingsDlg second;
    std::string state;
    Run(second, [&](HWND d) {
        state = BoxState(d);
        Click(d, IDC_AUTORUN);
        Click(d, IDC_TIME_LOCK);
        ::PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(state, "0011001 on");
    EXPECT_EQ(platform.calls, Lines({"DeleteRunValue(Tethra)"}));
    std::string file = m_ini.ReadRaw();
    EXPECT_NE(file.find("TimeLock=0"), std::string::npos);
    EXPECT_EQ(file.substr(file.find("[Time]")), timeBefore);
    SetPlatform(&m_platform);
}

// Alt+F4 would stop closing windows in every program: refused at OK with
// the message of the other refused keys, and the dialog stays with nothing
// written.
TEST_F(SettingsDlgTest, AltF4IsRefusedAtOk)
{
    CSettingsDlg dialog;
    HWND box = nullptr;
    std::string text;
    bool stayed = false;
    Script script;
    script.Until([&] { return dialog.m_hWnd != nullptr && ::IsWindowVisible(dialog.m_hWnd); })
        .Then([&] {
            ::SendDlgItemMessageA(dialog.m_hWnd, IDC_HOTKEY, HKM_SETHOTKEY, MAKEWORD(VK_F4, HOTKEYF_ALT), 0);
            ::PostMessageA(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
        })
        .Until([&] { return (box = FindDialog(dialog.m_hWnd)) != nullptr; })
        .Then([&] {
            text = BoxText(box);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        })
        .Until([&] { return !::IsWindow(box); })
        .Then([&] {
            stayed = ::IsWindowVisible(dialog.m_hWnd) != FALSE;
            ::PostMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        });
    script.Start();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(text, StringResource(IDS_HOTKEY_REFUSED));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(m_ini.ReadRaw(), "");
}

TEST_F(SettingsDlgTest, IdleMinutesFollowTheirBoxAndOnlyOneTo240IsKept)
{
    Settings().WriteText(Key::IdleMinutes, "500");
    CSettingsDlg dialog;
    std::string shown;
    std::string report;
    Script script;
    script.Until([&] { return dialog.m_hWnd != nullptr && ::IsWindowVisible(dialog.m_hWnd); })
        .Then([&] {
            HWND d = dialog.m_hWnd;
            shown = TextOf(::GetDlgItem(d, IDC_IDLE_MINUTES));
            EXPECT_FALSE(Enabled(d, IDC_IDLE_MINUTES)) << "off by default, its field with it";
            Click(d, IDC_IDLE_LOCK);
            EXPECT_TRUE(Enabled(d, IDC_IDLE_MINUTES));
            ::SetDlgItemTextA(d, IDC_IDLE_MINUTES, "0");
            ::PostMessageA(d, WM_COMMAND, IDOK, 0);
        })
        .Until([&] {
            HWND box = FindDialog(dialog.m_hWnd);
            if (box == nullptr || BoxText(box).empty())
                return false;
            report = BoxText(box);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        })
        .Until([&] { return FindDialog(dialog.m_hWnd) == nullptr; })
        .Then([&] {
            HWND d = dialog.m_hWnd;
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(d, IDC_IDLE_MINUTES));
            EXPECT_EQ(Settings().ReadInt(Key::IdleLock), 0) << "nothing written while the minutes are wrong";
            ::SetDlgItemTextA(d, IDC_IDLE_MINUTES, "240");
            ::PostMessageA(d, WM_COMMAND, IDOK, 0);
        });
    script.Start();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(shown, "10") << "a stored value out of range reads as 10";
    EXPECT_EQ(report, StringResource(IDS_IDLE_MINUTES_RANGE));
    EXPECT_EQ(Settings().ReadInt(Key::IdleLock), 1);
    EXPECT_EQ(Settings().ReadInt(Key::IdleMinutes), 240);
}

TEST_F(SettingsDlgTest, OneSettingsDialogFromThePanelOrTheTrayAndTheTimedLockPaused)
{
    // A pending running-time lock: the frame's timer runs.
    m_ini.WriteRaw(Format("[Option]\r\nInitTray=1\r\nTimeLock=1\r\n[Time]\r\nAfterTime=%ld\r\n",
                          static_cast<long>(DefaultTimeValue().GetTime())));
    TheApp().m_pMainWnd = nullptr;
    m_main.DestroyWindow();
    CMainFrame frame;
    ASSERT_TRUE(frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
    TheApp().m_pMainWnd = &frame;
    HWND f = frame.m_hWnd;

    auto settingsDialogs = [] {
        int count = 0;
        for (HWND hWnd : ThreadWindows()) {
            if (ClassOf(hWnd) == "#32770" && ::IsWindowVisible(hWnd) && TextOf(hWnd) == Shown("设置", "Settings"))
                ++count;
        }
        return count;
    };
    auto panelWindow = [] {
        for (HWND hWnd : ThreadWindows()) {
            if (ClassOf(hWnd) == "#32770" && ::IsWindowVisible(hWnd) && ::GetDlgItem(hWnd, IDC_LOCK) != nullptr)
                return hWnd;
        }
        return static_cast<HWND>(nullptr);
    };

    int most = 0;
    int ticks = 0;
    BOOL timerDuringDialog = TRUE;
    HWND panel = nullptr;
    Script script;
    script
        // From the tray's command first; the panel's button then finds it open.
        .Then([&] { ::SendMessageA(f, WM_COMMAND, ID_SETTINGS, 0); })
        .Until([&] { return settingsDialogs() == 1; })
        .Then([&] {
            timerDuringDialog = ::KillTimer(f, 0);
            ::PostMessageA(f, WM_COMMAND, ID_SETTINGS, 0);
            ::PostMessageA(f, WM_COMMAND, ID_SHOW, 0);
        })
        .Until([&] { return (panel = panelWindow()) != nullptr; })
        .Then([&] { Click(panel, IDC_SETTINGS); })
        .Until([&] {
            most = std::max(most, settingsDialogs());
            return ++ticks >= 6;
        })
        .Then([&] { ::PostMessageA(panel, WM_COMMAND, IDCANCEL, 0); })
        .Until([&] { return panelWindow() == nullptr; })
        .Then([&] {
            for (HWND hWnd : ThreadWindows()) {
                if (ClassOf(hWnd) == "#32770" && TextOf(hWnd) == Shown("设置", "Settings"))
                    ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
            }
        });
    script.Start();
    // The first step blocks in the frame's settings run until the last one ends it.
    while (!script.Done() && !script.TimedOut()) {
        MSG msg;
        if (::GetMessageA(&msg, nullptr, 0, 0) <= 0)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(most, 1);
    EXPECT_FALSE(timerDuringDialog) << "the timed lock does not tick while the settings are open";
    EXPECT_TRUE(::KillTimer(f, 0)) << "and ticks again afterwards";
    EXPECT_EQ(CSettingsDlg::s_bOpen, 0);
    EXPECT_EQ(CLockPanelDlg::s_bOpen, 0);

    // Opened from the panel first; the tray's command then finds it open.
    most = 0;
    ticks = 0;
    panel = nullptr;
    Script second;
    second.Then([&] { ::SendMessageA(f, WM_COMMAND, ID_SHOW, 0); })
        .Until([&] { return (panel = panelWindow()) != nullptr; })
        .Then([&] { Click(panel, IDC_SETTINGS); })
        .Until([&] { return settingsDialogs() == 1; })
        .Then([&] { ::SendMessageA(f, WM_COMMAND, ID_SETTINGS, 0); })
        .Until([&] {
            most = std::max(most, settingsDialogs());
            return ++ticks >= 6;
        })
        .Then([&] {
            for (HWND hWnd : ThreadWindows()) {
                if (ClassOf(hWnd) == "#32770" && TextOf(hWnd) == Shown("设置", "Settings"))
                    ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
            }
        })
        .Until([&] { return settingsDialogs() == 0; })
        .Then([&] { ::PostMessageA(panel, WM_COMMAND, IDCANCEL, 0); });
    second.Start();
    while (!second.Done() && !second.TimedOut()) {
        MSG msg;
        if (::GetMessageA(&msg, nullptr, 0, 0) <= 0)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    second.Stop();
    EXPECT_TRUE(second.Done());
    EXPECT_EQ(most, 1);

    TheApp().m_pMainWnd = nullptr;
    frame.DestroyWindow();
    PumpMessages();
    TakeQuitMessage();
}

// A second request for a dialog that is open brings it out from behind
// another window: owned by the hidden frame, it has no taskbar button.
TEST_F(SettingsDlgTest, ASecondRequestBringsTheOpenDialogToTheFront)
{
    m_ini.WriteRaw("[Option]\r\nInitTray=1\r\n");
    TheApp().m_pMainWnd = nullptr;
    m_main.DestroyWindow();
    CMainFrame frame;
    ASSERT_TRUE(frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
    TheApp().m_pMainWnd = &frame;
    HWND f = frame.m_hWnd;
    CWnd other;
    RECT everywhere = {0, 0, 1024, 768};
    ASSERT_TRUE(other.CreateEx(0, nullptr, "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, everywhere, nullptr, 0));

    auto dialogsTitled = [](const char* title) {
        std::vector<HWND> found;
        for (HWND hWnd : ThreadWindows()) {
            if (ClassOf(hWnd) == "#32770" && ::IsWindowVisible(hWnd) && TextOf(hWnd) == title)
                found.push_back(hWnd);
        }
        return found;
    };
    auto panelWindow = [] {
        for (HWND hWnd : ThreadWindows()) {
            if (ClassOf(hWnd) == "#32770" && ::IsWindowVisible(hWnd) && ::GetDlgItem(hWnd, IDC_LOCK) != nullptr)
                return hWnd;
        }
        return static_cast<HWND>(nullptr);
    };
    struct Case {
        const char* name;
        UINT command;  // the request, from the tray
        const char* title;
        bool fromPanel;  // first opened by the panel's button
    };
    const Case cases[] = {
        {"settings from the tray", ID_SETTINGS, "设置", false},
        {"settings from the panel", ID_SETTINGS, "设置", true},
        {"about box", ID_APP_ABOUT, "关于 Tethra", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND dialog = nullptr;
        HWND panel = nullptr;
        Script script;
        if (c.fromPanel) {
            script.Then([&] { ::PostMessageA(f, WM_COMMAND, ID_SHOW, 0); })
                .Until([&] { return (panel = panelWindow()) != nullptr; })
                .Then([&] { Click(panel, IDC_SETTINGS); });
        } else {
            script.Then([&] { ::PostMessageA(f, WM_COMMAND, c.command, 0); });
        }
        script
            .Until([&] {
                std::vector<HWND> open = dialogsTitled(c.title);
                dialog = open.empty() ? nullptr : open[0];
                return dialog != nullptr;
            })
            .Then([&] { ::SetForegroundWindow(other.m_hWnd); })
            .Until([&] { return ::GetForegroundWindow() == other.m_hWnd; })
            .Then([&] { ::PostMessageA(f, WM_COMMAND, c.command, 0); })
            .Until([&] { return ::GetForegroundWindow() == dialog; })
            .Then([&] {
                EXPECT_EQ(dialogsTitled(c.title).size(), 1u);
                ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            })
            .Until([&] { return dialogsTitled(c.title).empty(); })
            .Then([&] {
                if (panel != nullptr)
                    ::PostMessageA(panel, WM_COMMAND, IDCANCEL, 0);
            })
            .Until([&] { return panelWindow() == nullptr; });
        script.Start();
        while (!script.Done() && !script.TimedOut()) {
            MSG msg;
            if (::GetMessageA(&msg, nullptr, 0, 0) <= 0)
                break;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        script.Stop();
        EXPECT_TRUE(script.Done()) << "the open dialog never came to the front";
    }

    other.DestroyWindow();
    TheApp().m_pMainWnd = nullptr;
    frame.DestroyWindow();
}

TEST_F(SettingsDlgTest, WithoutThePickerClassTheDialogSaysWhyItCannotOpen)
{
    // A COMCTL32 without InitCommonControlsEx, as on the first Windows 95.
    // KERNEL32 stands in for it; the Windows 95/98 rules report the lookup
    // of a name that DLL lacks, and only this one.
    AfxSetCommonControlsLibrary("kernel32.dll");
    CSettingsDlg dialog;
    std::string text;
    std::string caption;
    int guardWhileShown = 0;
    Script script;
    script.Until([&] {
        HWND box = FindDialog();
        if (box == nullptr || BoxText(box).empty())
            return false;
        text = BoxText(box);
        caption = TextOf(box);
        guardWhileShown = CSettingsDlg::s_bOpen;
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    script.Start();
    INT_PTR result = 0;
    EXPECT_NONFATAL_FAILURE(result = dialog.DoModal(), "GetProcAddress: InitCommonControlsEx from kernel32.dll");
    EXPECT_EQ(result, -1);
    script.Stop();
    AfxSetCommonControlsLibrary(nullptr);
    EXPECT_TRUE(script.Done()) << "no message box";
    EXPECT_EQ(text, StringResource(IDS_NO_DATE_PICKER));
    EXPECT_NE(text.find("COMCTL32 4.70"), std::string::npos) << text;
    EXPECT_EQ(caption, "Tethra");
    EXPECT_EQ(guardWhileShown, 1) << "a second request meanwhile would stack another box";
    EXPECT_EQ(CSettingsDlg::s_bOpen, 0) << "the guard is let go";
    EXPECT_EQ(dialog.m_hWnd, nullptr);

    CSettingsDlg next;
    EXPECT_EQ(Run(next, [](HWND d) { ::PostMessageA(d, WM_COMMAND, IDCANCEL, 0); }), IDCANCEL);
}

// ---------------------------------------------------------------------------
// Change-password dialog

class ChangePasswordTest : public SettingsDlgTest {
protected:
    void StorePassword(const std::string& password)
    {
        Settings().WriteText(Key::Password, EncodeStoredPassword(CTethraApp::ScramblePassword(password)));
    }
    std::string StoredPassword() const
    {
        return CTethraApp::ScramblePassword(DecodeStoredPassword(Settings().ReadText(Key::Password)));
    }

    struct Attempt {
        const char* oldText;
        const char* newText;
        const char* repeatText;
        UINT message;       // the box that answers
        int focusedEdit;    // 0: the dialog ends
    };

    // Each attempt fills the three boxes, presses OK and answers the box;
    // checks the message, and the focus and selection while the dialog stays.
    INT_PTR RunAttempts(const std::vector<Attempt>& attempts)
    {
        CChangePasswordDlg dialog;
        size_t index = 0;
        Script script;
        script.Until([&] { return dialog.m_hWnd != nullptr && ::IsWindowVisible(dialog.m_hWnd); });
        for (size_t i = 0; i < attempts.size(); ++i) {
            script
                .Then([&, i] {
                    index = i;
                    HWND d = dialog.m_hWnd;
                    EXPECT_EQ(::SendDlgItemMessageA(d, IDC_OLD_PASSWORD, EM_GETLIMITTEXT, 0, 0), 128);
                    ::SetDlgItemTextA(d, IDC_OLD_PASSWORD, attempts[i].oldText);
                    ::SetDlgItemTextA(d, IDC_NEW_PASSWORD, attempts[i].newText);
                    ::SetDlgItemTextA(d, IDC_REPEAT_PASSWORD, attempts[i].repeatText);
                    ::PostMessageA(d, WM_COMMAND, IDOK, 0);
                })
                .Until([&, i] {
                    HWND box = FindDialog(static_cast<HWND>(INVALID_HANDLE_VALUE), dialog.m_hWnd);
                    if (box == nullptr || BoxText(box).empty())
                        return false;
                    EXPECT_EQ(BoxText(box), StringResource(attempts[i].message)) << "attempt " << i;
                    EXPECT_EQ(TextOf(box), "Tethra");
                    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                    return true;
                });
            if (attempts[i].focusedEdit == 0)
                break;
            script
                .Until([&] { return FindDialog(static_cast<HWND>(INVALID_HANDLE_VALUE), dialog.m_hWnd) == nullptr; })
                .Then([&, i] {
                    HWND d = dialog.m_hWnd;
                    HWND edit = ::GetDlgItem(d, attempts[i].focusedEdit);
                    DWORD start = 1;
                    DWORD end = 0;
                    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
                    EXPECT_EQ(::GetFocus(), edit) << "attempt " << i;
                    EXPECT_EQ(start, 0u) << "attempt " << i;
                    EXPECT_EQ(end, static_cast<DWORD>(::GetWindowTextLengthA(edit))) << "attempt " << i;
                    EXPECT_EQ(TextOf(::GetDlgItem(d, IDC_OLD_PASSWORD)), attempts[i].oldText) << "texts kept";
                });
        }
        script.Start();
        INT_PTR result = dialog.DoModal();
        script.Stop();
        EXPECT_TRUE(script.Done()) << "stopped at attempt " << index;
        return result;
    }
};

TEST_F(ChangePasswordTest, ChecksTheOldPasswordFirstThenTheRepeatThenWrites)
{
    StorePassword("old");
    std::string before = m_ini.ReadRaw();
    INT_PTR result = RunAttempts({
        {"", "new", "new", IDS_WRONG_PASSWORD, IDC_OLD_PASSWORD},
        {"wrong", "new", "other", IDS_WRONG_PASSWORD, IDC_OLD_PASSWORD},
        {"old", "new", "NEW", IDS_PASSWORDS_DIFFER, IDC_NEW_PASSWORD},
        {"old", "new", "new", IDS_PASSWORD_CHANGED, 0},
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(StoredPassword(), "new");
    EXPECT_NE(m_ini.ReadRaw(), before);

    // The new one is now the old one; an empty new password is stored as an empty value.
    EXPECT_EQ(RunAttempts({{"old", "", "", IDS_WRONG_PASSWORD, IDC_OLD_PASSWORD},
                           {"new", "", "", IDS_PASSWORD_CHANGED, 0}}),
              IDOK);
    EXPECT_NE(m_ini.ReadRaw().find("Password=\r\n"), std::string::npos);
    EXPECT_EQ(StoredPassword(), "");

    // Cancel after a failed check writes nothing.
    before = m_ini.ReadRaw();
    CChangePasswordDlg cancelled;
    EXPECT_EQ(Run(cancelled, [](HWND d) { ::PostMessageA(d, WM_COMMAND, IDCANCEL, 0); }), IDCANCEL);
    EXPECT_EQ(m_ini.ReadRaw(), before);
}

TEST_F(ChangePasswordTest, AReadOnlyFileIsReportedAndKeepsTheOldPassword)
{
    StorePassword("old");
    // Read-only. Wine maps the attribute to Unix permissions, which do not
    // stop the root user these tests may run as; a handle that lets others
    // read but not write stops every user.
    ASSERT_TRUE(::SetFileAttributesA(m_ini.Path().c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE held = ::CreateFileA(m_ini.Path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    INT_PTR result = RunAttempts({{"old", "new", "new", IDS_WRITE_FAILED, 0}});
    ::CloseHandle(held);
    ::SetFileAttributesA(m_ini.Path().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(StoredPassword(), "old");
}

TEST_F(ChangePasswordTest, TheLongestDoubleBytePasswordItTakesUnlocksAfterwards)
{
    // 128 double-byte characters: 256 bytes, stored as 512 hex digits.
    std::string longest;
    for (int i = 0; i < 64; ++i)
        longest += "锁定";
    ASSERT_EQ(longest.size(), 256u);
    INT_PTR result = RunAttempts({{"", longest.c_str(), longest.c_str(), IDS_PASSWORD_CHANGED, 0}});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Settings().ReadText(Key::Password).size(), 512u);
    EXPECT_EQ(StoredPassword(), longest);

    CPasswordPromptDlg prompt;
    EXPECT_EQ(Run(prompt,
                  [&](HWND d) {
                      ::SetDlgItemTextA(d, IDC_PASSWORD, longest.c_str());
                      ::PostMessageA(d, WM_COMMAND, IDOK, 0);
                  }),
              IDOK);
    CPasswordPromptDlg shorter;
    EXPECT_EQ(Run(shorter,
                  [&](HWND d) {
                      ::SetDlgItemTextA(d, IDC_PASSWORD, longest.substr(0, 254).c_str());
                      ::PostMessageA(d, WM_COMMAND, IDOK, 0);
                  }),
              IDCANCEL);
}

TEST_F(ChangePasswordTest, ThePasswordButtonRunsItAndCancelKeepsTheNewPassword)
{
    StorePassword("old");
    CSettingsDlg settings;
    Script script;
    HWND change = nullptr;
    script.Until([&] { return settings.m_hWnd != nullptr && ::IsWindowVisible(settings.m_hWnd); })
        .Then([&] { Click(settings.m_hWnd, IDC_CHANGE_PASSWORD); })
        .Until([&] { return (change = FindDialog(settings.m_hWnd)) != nullptr; })
        .Then([&] {
            EXPECT_EQ(TextOf(change), Shown("密码", "Password"));
            ::SetDlgItemTextA(change, IDC_OLD_PASSWORD, "old");
            ::SetDlgItemTextA(change, IDC_NEW_PASSWORD, "new");
            ::SetDlgItemTextA(change, IDC_REPEAT_PASSWORD, "new");
            ::PostMessageA(change, WM_COMMAND, IDOK, 0);
        })
        .Until([&] {
            HWND box = FindDialog(change);
            if (box == nullptr)
                return false;
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        })
        .Until([&] { return !::IsWindow(change); })
        .Then([&] { ::PostMessageA(settings.m_hWnd, WM_COMMAND, IDCANCEL, 0); });
    script.Start();
    EXPECT_EQ(settings.DoModal(), IDCANCEL);
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(StoredPassword(), "new");
    EXPECT_EQ(m_ini.ReadRaw().find("[Option]"), std::string::npos) << "no option written";
}

}  // namespace

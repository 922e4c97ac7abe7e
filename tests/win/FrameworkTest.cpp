// The framework layer with real windows: command routing, message maps,
// modal runs, data exchange and message boxes.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <set>
#include <utility>

#include "WinTestSupport.h"

#include <commctrl.h>
#include "app/TethraApp.h"
#include "controls/BitmapStatic.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/SettingsDlg.h"
#include "frame/FrameClientWnd.h"
#include "frame/MainFrame.h"
#include "fw/Afx.h"
#include "fw/Dialog.h"
#include "fw/FrameWnd.h"
#include "fw/WinApp.h"
#include "lock/LockPanelDlg.h"
#include "res/resource.h"

namespace {

const UINT kSharedCmd = 40001;      // the client and the frame both take it
const UINT kFrameOnlyCmd = 40002;
const UINT kBaseOnlyCmd = 40003;    // only the frame's base class takes it
const UINT kOverriddenCmd = 40004;  // base and derived frame both take it
const UINT kNobodysCmd = 40005;

std::vector<std::string> g_routeLog;

class CRouteClient : public CWnd {
public:
    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

private:
    void OnShared() { g_routeLog.push_back("client"); }
};

const MessageMapEntry CRouteClient::messageEntries[] = {
    OnCommandRow(kSharedCmd, &CRouteClient::OnShared),
};
const MessageMap CRouteClient::messageMap = {&CWnd::messageMap, messageEntries, std::size(messageEntries)};

class CRouteFrameBase : public CFrameWnd {
public:
    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

private:
    void OnBaseOnly() { g_routeLog.push_back("base"); }
    void OnOverridden() { g_routeLog.push_back("base-overridden"); }
};

const MessageMapEntry CRouteFrameBase::messageEntries[] = {
    OnCommandRow(kBaseOnlyCmd, &CRouteFrameBase::OnBaseOnly),
    OnCommandRow(kOverriddenCmd, &CRouteFrameBase::OnOverridden),
};
const MessageMap CRouteFrameBase::messageMap = {&CFrameWnd::messageMap, messageEntries,
                                                std::size(messageEntries)};

// Offers commands to its client window first, as the main frame does.
class CRouteFrame : public CRouteFrameBase {
public:
    CRouteClient m_client;

    BOOL OnCmdMsg(UINT id) override { return m_client.OnCmdMsg(id) || CRouteFrameBase::OnCmdMsg(id); }

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

private:
    int OnCreate(CREATESTRUCTA*)
    {
        RECT none = {0, 0, 0, 0};
        return m_client.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, none, this, AFX_IDW_PANE_FIRST) ? 0 : -1;
    }
    void OnShared() { g_routeLog.push_back("frame"); }
    void OnFrameOnly() { g_routeLog.push_back("frame"); }
    void OnOverridden() { g_routeLog.push_back("derived"); }
};

const MessageMapEntry CRouteFrame::messageEntries[] = {
    OnCreateRow(&CRouteFrame::OnCreate),
    OnCommandRow(kSharedCmd, &CRouteFrame::OnShared),
    OnCommandRow(kFrameOnlyCmd, &CRouteFrame::OnFrameOnly),
    OnCommandRow(kOverriddenCmd, &CRouteFrame::OnOverridden),
};
const MessageMap CRouteFrame::messageMap = {&CRouteFrameBase::messageMap, messageEntries,
                                            std::size(messageEntries)};

std::vector<std::string> SendCommand(HWND hWnd, UINT id, UINT code = 0)
{
    g_routeLog.clear();
    ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(id, code), 0);
    return g_routeLog;
}

using Log = std::vector<std::string>;

const std::string kAboutCaption = Shown("关于 Tethra", "About Tethra");

std::vector<HWND> AboutBoxes()
{
    std::vector<HWND> found;
    for (HWND hWnd : ThreadWindows()) {
        if (ClassOf(hWnd) == "#32770" && ::IsWindowVisible(hWnd) && TextOf(hWnd) == kAboutCaption)
            found.push_back(hWnd);
    }
    return found;
}

using FrameworkTest = WinTest;

TEST_F(FrameworkTest, CommandsGoToTheClientThenTheFrameThenTheApplication)
{
    CRouteFrame frame;
    ASSERT_TRUE(frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
    HWND hWnd = frame.m_hWnd;
    ASSERT_NE(frame.m_client.m_hWnd, nullptr);

    EXPECT_EQ(SendCommand(hWnd, kSharedCmd), Log({"client"}));
    EXPECT_EQ(SendCommand(hWnd, kFrameOnlyCmd), Log({"frame"}));
    EXPECT_EQ(SendCommand(hWnd, kBaseOnlyCmd), Log({"base"}));
    EXPECT_EQ(SendCommand(hWnd, kOverriddenCmd), Log({"derived"})) << "the most derived row wins";
    EXPECT_EQ(SendCommand(hWnd, kNobodysCmd), Log());
    EXPECT_EQ(SendCommand(hWnd, kFrameOnlyCmd, 1), Log({"frame"})) << "accelerators are commands";
    EXPECT_EQ(SendCommand(hWnd, kFrameOnlyCmd, EN_CHANGE), Log()) << "control notifications are not";

    // The pane follows the frame's client area.
    ::MoveWindow(hWnd, 20, 20, 320, 240, TRUE);
    RECT frameClient;
    RECT pane;
    ::GetClientRect(hWnd, &frameClient);
    ::GetWindowRect(frame.m_client.m_hWnd, &pane);
    ::MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&pane), 2);
    EXPECT_TRUE(::EqualRect(&frameClient, &pane));

    // Neither window takes the about command: the application object shows
    // its box, owned by the main window. A second request while it is open
    // must not stack another box.
    TheApp().m_pMainWnd = &frame;
    size_t mostBoxes = 0;
    HWND aboutOwner = nullptr;
    bool ownerEnabledDuringRun = true;
    int quietTicks = 0;
    Script script;
    script
        .Until([&] {
            std::vector<HWND> boxes = AboutBoxes();
            if (boxes.empty())
                return false;
            aboutOwner = ::GetWindow(boxes[0], GW_OWNER);
            ownerEnabledDuringRun = ::IsWindowEnabled(hWnd) != FALSE;
            ::PostMessageA(hWnd, WM_COMMAND, ID_APP_ABOUT, 0);
            return true;
        })
        .Until([&] {
            mostBoxes = std::max(mostBoxes, AboutBoxes().size());
            return ++quietTicks >= 4;
        })
        .Then([&] {
            for (HWND box : AboutBoxes())
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
    script.Start();
    ::SendMessageA(hWnd, WM_COMMAND, ID_APP_ABOUT, 0);
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(mostBoxes, 1u);
    EXPECT_EQ(aboutOwner, hWnd);
    EXPECT_FALSE(ownerEnabledDuringRun);
    EXPECT_TRUE(::IsWindowEnabled(hWnd));
    EXPECT_TRUE(AboutBoxes().empty());

    // The exit command reaches CWinApp, which closes the main window; the
    // main window's end ends the message loop.
    ::SendMessageA(hWnd, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(frame.m_hWnd, nullptr);
    EXPECT_EQ(frame.m_client.m_hWnd, nullptr);
    EXPECT_EQ(TakeQuitMessage(), 0);
    TheApp().m_pMainWnd = nullptr;
}

TEST_F(FrameworkTest, TheAboutBoxShowsEachLineWhole)
{
    // A static narrower than its text wraps it onto a second line that its
    // height cannot show: the line's end is lost. Checked in the font Wine
    // draws with, and in the metrics of Windows 9x's 宋体 (SimSun), which
    // Wine lacks: at 9 pt each byte of GBK text is one 6-pixel half-width
    // cell and its average width is 6 pixels, so a line of n bytes needs
    // 4n dialog units, that is n times the horizontal base unit in pixels.
    CAboutDlg dialog;
    int lines = 0;
    std::string cut;
    Script script;
    script.Until([&] { return dialog.m_hWnd != nullptr && ::IsWindowVisible(dialog.m_hWnd); }).Then([&] {
        HWND d = dialog.m_hWnd;
        RECT units = {0, 0, 4, 8};
        ::MapDialogRect(d, &units);
        HDC dc = ::GetDC(d);
        HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(d, WM_GETFONT, 0, 0)));
        for (HWND child = ::GetWindow(d, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
            auto style = static_cast<DWORD>(::GetWindowLongA(child, GWL_STYLE));
            if (ClassOf(child) != "Static" || (style & SS_TYPEMASK) != SS_LEFT)
                continue;
            std::string text = TextOf(child);
            SIZE extent = {0, 0};
            ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            LONG simSun = static_cast<LONG>(text.size()) * units.right;
            RECT client;
            ::GetClientRect(child, &client);
            ++lines;
            if (client.right < extent.cx || client.right < simSun)
                cut += Format("\"%s\": %ld wide, text %ld here, %ld in 宋体; ", text.c_str(), client.right,
                              extent.cx, simSun);
        }
        ::SelectObject(dc, oldFont);
        ::ReleaseDC(d, dc);
        ::PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    script.Start();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(lines, 5);
    EXPECT_EQ(cut, "");
}

TEST_F(FrameworkTest, OnlyTheMainWindowsEndQuitsAndExitNeedsAMainWindow)
{
    CRouteFrame frame;
    ASSERT_TRUE(frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
    HWND hWnd = frame.m_hWnd;

    // No main window: the exit command has nothing to close.
    ::SendMessageA(hWnd, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(::IsWindow(hWnd));

    // A frame that is not the main window goes quietly.
    frame.DestroyWindow();
    EXPECT_EQ(frame.m_hWnd, nullptr);
    EXPECT_EQ(TakeQuitMessage(), -1);
}

// A row per message (per command id for WM_COMMAND) in each table: a second
// row would never be reached, so it is always a mistake.
void ExpectWellFormedMaps(const char* name, const MessageMap* map)
{
    int tables = 0;
    for (; map != nullptr; map = map->base, ++tables) {
        std::set<std::pair<UINT, UINT>> seen;
        for (size_t i = 0; i < map->count; ++i) {
            const MessageMapEntry& row = map->entries[i];
            EXPECT_TRUE(seen.insert({row.message, row.id ^ (row.code << 16)}).second)
                << name << ", table " << tables << ": message " << row.message << " id " << row.id << " twice";
            EXPECT_NE(row.message, 0u) << name << ", table " << tables << ", row " << i;
            EXPECT_EQ(row.shape == HandlerShape::Command, row.message == WM_COMMAND)
                << name << ", table " << tables << ", row " << i << ": commands need command rows";
            EXPECT_EQ(row.shape == HandlerShape::Notify, row.message == WM_NOTIFY)
                << name << ", table " << tables << ", row " << i << ": notifications need notify rows";
            if (row.message != WM_NOTIFY) {
                EXPECT_EQ(row.id != 0, row.message == WM_COMMAND) << name << ", table " << tables << ", row " << i;
            }
            EXPECT_TRUE(row.handler != nullptr);
        }
    }
    EXPECT_GT(tables, 1) << name << " is chained to its bases";
}

TEST(MessageMaps, NoTableHasTwoRowsForOneMessage)
{
    ExpectWellFormedMaps("CMainFrame", &CMainFrame::messageMap);
    ExpectWellFormedMaps("CFrameClientWnd", &CFrameClientWnd::messageMap);
    ExpectWellFormedMaps("CLockPanelDlg", &CLockPanelDlg::messageMap);
    ExpectWellFormedMaps("CBitmapStatic", &CBitmapStatic::messageMap);
    ExpectWellFormedMaps("CTethraApp", &CTethraApp::messageMap);
    ExpectWellFormedMaps("CSettingsDlg", &CSettingsDlg::messageMap);
}

// ---------------------------------------------------------------------------
// Modal runs

struct ModalRun {
    INT_PTR result = 0;
    bool ownerEnabledDuringRun = true;
    bool centredOverOwner = false;
    HWND dialog = nullptr;
};

// Runs dialog over owner; act gets the open dialog once it shows.
ModalRun RunModal(CDialog& dialog, HWND owner, const std::function<void(HWND)>& act)
{
    ModalRun run;
    Script script;
    script.Until([&] {
        if (dialog.m_hWnd == nullptr || !::IsWindowVisible(dialog.m_hWnd))
            return false;
        run.dialog = dialog.m_hWnd;
        run.ownerEnabledDuringRun = ::IsWindowEnabled(owner) != FALSE;
        RECT o;
        RECT d;
        ::GetWindowRect(owner, &o);
        ::GetWindowRect(dialog.m_hWnd, &d);
        run.centredOverOwner = std::abs((o.left + o.right) - (d.left + d.right)) <= 1 &&
                               std::abs((o.top + o.bottom) - (d.top + d.bottom)) <= 1;
        act(dialog.m_hWnd);
        return true;
    });
    script.Start();
    run.result = dialog.DoModal();
    script.Stop();
    EXPECT_TRUE(script.Done()) << "the dialog never showed";
    return run;
}

class COpenDialog : public CDialog {
public:
    explicit COpenDialog(UINT templateId = IDD_ABOUTBOX, CWnd* parent = nullptr) : CDialog(templateId, parent) {}
};

TEST_F(FrameworkTest, ModalRunsEndWithTheLastEndDialogCodeAndFreeTheOwner)
{
    CWnd owner;
    RECT place = {100, 80, 600, 480};
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, place, nullptr, 0));

    const std::pair<const char*, std::function<void(CDialog&, HWND)>> cases[] = {
        {"OK button", [](CDialog&, HWND d) { ::PostMessageA(d, WM_COMMAND, IDOK, 0); }},
        {"Cancel button", [](CDialog&, HWND d) { ::PostMessageA(d, WM_COMMAND, IDCANCEL, 0); }},
        {"Enter key", [](CDialog&, HWND d) { ::PostMessageA(::GetDlgItem(d, IDOK), WM_KEYDOWN, VK_RETURN, 0); }},
        {"Escape key", [](CDialog&, HWND d) { ::PostMessageA(::GetDlgItem(d, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"EndDialog 2 then 1",
         [](CDialog& dlg, HWND) {
             dlg.EndDialog(IDCANCEL);
             dlg.EndDialog(IDOK);
         }},
        {"EndDialog 42", [](CDialog& dlg, HWND) { dlg.EndDialog(42); }},
        {"destroyed from outside", [](CDialog&, HWND d) { ::DestroyWindow(d); }},
    };
    const INT_PTR expected[] = {IDOK, IDCANCEL, IDOK, IDCANCEL, IDOK, 42, -1};

    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].first);
        COpenDialog dialog(IDD_ABOUTBOX, &owner);
        ModalRun run = RunModal(dialog, owner.m_hWnd, [&](HWND d) { cases[i].second(dialog, d); });
        EXPECT_EQ(run.result, expected[i]);
        EXPECT_FALSE(run.ownerEnabledDuringRun);
        EXPECT_TRUE(run.centredOverOwner) << "a hidden template opens centred over its owner";
        EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
        EXPECT_FALSE(::IsWindow(run.dialog));
        EXPECT_EQ(dialog.m_hWnd, nullptr);
    }

    // A template that does not exist: -1 at once, and the owner is usable.
    COpenDialog missing(4242, &owner);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));

    // An owner that was disabled before stays disabled: the run gives back
    // only what it took.
    ::EnableWindow(owner.m_hWnd, FALSE);
    COpenDialog dialog(IDD_ABOUTBOX, &owner);
    ModalRun run = RunModal(dialog, owner.m_hWnd, [](HWND d) { ::PostMessageA(d, WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_FALSE(::IsWindowEnabled(owner.m_hWnd));

    owner.DestroyWindow();
}

TEST_F(FrameworkTest, QuitDuringAModalRunEndsEveryRunAndStaysQueued)
{
    // One dialog.
    COpenDialog single;
    Script one;
    one.Until([&] { return single.m_hWnd != nullptr; }).Then([] { ::PostQuitMessage(7); });
    one.Start();
    EXPECT_EQ(single.DoModal(), -1);
    one.Stop();
    EXPECT_TRUE(one.Done());
    EXPECT_EQ(TakeQuitMessage(), 7);

    // Two nested dialogs: the inner run passes the quit on to the outer one.
    COpenDialog outer;
    COpenDialog inner(IDD_ABOUTBOX, &outer);
    INT_PTR innerResult = 0;
    bool outerStillOpenAfterInner = false;
    Script two;
    two.Until([&] { return outer.m_hWnd != nullptr; })
        .Then([&] {
            innerResult = inner.DoModal();
            outerStillOpenAfterInner = ::IsWindow(outer.m_hWnd) != FALSE;
        })
        .Until([&] { return inner.m_hWnd != nullptr && ::IsWindowVisible(inner.m_hWnd); })
        .Then([] { ::PostQuitMessage(7); });
    two.Start();
    EXPECT_EQ(outer.DoModal(), -1);
    two.Stop();
    EXPECT_TRUE(two.Done());
    EXPECT_EQ(innerResult, -1);
    EXPECT_TRUE(outerStillOpenAfterInner);
    EXPECT_EQ(TakeQuitMessage(), 7);
}

// Another program can send or post WM_DESTROY and WM_NCDESTROY to any of our
// windows. Forged, they change nothing: the objects keep their windows, the
// modal run goes on and no quit is posted. Real ends still let go.
class CRefusedWnd : public CWnd {
public:
    int ends = 0;

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

protected:
    void PostNcDestroy() override { ++ends; }

private:
    int OnCreate(CREATESTRUCTA*) { return -1; }
};

const MessageMapEntry CRefusedWnd::messageEntries[] = {
    OnCreateRow(&CRefusedWnd::OnCreate),
};
const MessageMap CRefusedWnd::messageMap = {&CWnd::messageMap, messageEntries, std::size(messageEntries)};

TEST_F(FrameworkTest, ForgedDestroyMessagesChangeNothing)
{
    CFrameWnd main;
    ASSERT_TRUE(main.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
    TheApp().m_pMainWnd = &main;
    HWND hMain = main.m_hWnd;
    auto forge = [](HWND hWnd) {
        ::SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
        ::SendMessageA(hWnd, WM_DESTROY, 0, 0);
        ::PostMessageA(hWnd, WM_NCDESTROY, 0, 0);
        ::PostMessageA(hWnd, WM_DESTROY, 0, 0);
    };

    COpenDialog dialog;
    HWND hDialog = nullptr;
    int ticks = 0;
    Script script;
    script
        .Until([&] {
            if (dialog.m_hWnd == nullptr || !::IsWindowVisible(dialog.m_hWnd))
                return false;
            hDialog = dialog.m_hWnd;
            forge(hDialog);
            forge(hMain);
            return true;
        })
        .Until([&] { return ++ticks >= 4; })
        .Then([&] {
            EXPECT_EQ(dialog.m_hWnd, hDialog);
            EXPECT_EQ(CWnd::FromHandle(hDialog), &dialog);
            EXPECT_TRUE(::IsWindowVisible(hDialog));
            EXPECT_EQ(main.m_hWnd, hMain);
            EXPECT_EQ(CWnd::FromHandle(hMain), &main);
            ::PostMessageA(hDialog, WM_COMMAND, IDOK, 0);
        });
    script.Start();
    INT_PTR result = dialog.DoModal();
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(result, IDOK) << "the modal run went on to its own end";
    EXPECT_EQ(TakeQuitMessage(), -1);

    // Ended for real: by DestroyWindow, and by a creation refused.
    main.DestroyWindow();
    EXPECT_EQ(main.m_hWnd, nullptr);
    EXPECT_EQ(TakeQuitMessage(), 0) << "the main window's end posts the quit";
    TheApp().m_pMainWnd = nullptr;
    CRefusedWnd refused;
    RECT place = {0, 0, 50, 50};
    EXPECT_FALSE(refused.CreateEx(0, nullptr, "refused", WS_OVERLAPPEDWINDOW, place, nullptr, 0));
    EXPECT_EQ(refused.m_hWnd, nullptr);
    EXPECT_EQ(refused.ends, 1);
}

// ---------------------------------------------------------------------------
// Window classes

TEST(WindowClasses, OneNamePerShapeAndNamesThatNeverMove)
{
    HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
    HBRUSH window = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    const char* first = AfxRegisterWndClass(CS_DBLCLKS, arrow, window, nullptr);
    ASSERT_NE(first, nullptr);
    const std::string firstName = first;
    EXPECT_EQ(firstName.rfind("Afx:", 0), 0u) << firstName;
    WNDCLASSA info = {};
    EXPECT_TRUE(::GetClassInfoA(AfxGetInstanceHandle(), first, &info));
    EXPECT_EQ(info.lpfnWndProc, &CWnd::StaticWndProc);
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));

    // The same shape again: the same registered name, the same text.
    EXPECT_EQ(AfxRegisterWndClass(CS_DBLCLKS, arrow, window, nullptr), first);
    // Each differing argument makes another class.
    std::set<std::string> names = {firstName};
    names.insert(AfxRegisterWndClass(CS_DBLCLKS, nullptr, window, nullptr));
    names.insert(AfxRegisterWndClass(CS_DBLCLKS, arrow, nullptr, nullptr));
    names.insert(AfxRegisterWndClass(CS_DBLCLKS, arrow, window, ::LoadIconA(nullptr, IDI_APPLICATION)));
    names.insert(AfxRegisterWndClass(0, arrow, window, nullptr));
    EXPECT_EQ(names.size(), 5u);

    // Callers keep the returned text as a window's class name: many more
    // registrations must leave it where and as it was.
    for (INT_PTR colour = 0; colour <= COLOR_INFOBK; ++colour) {
        HBRUSH brush = reinterpret_cast<HBRUSH>(colour + 1);
        ASSERT_NE(AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, arrow, brush, nullptr), nullptr);
    }
    EXPECT_EQ(std::string(first), firstName);
    EXPECT_EQ(AfxRegisterWndClass(CS_DBLCLKS, arrow, window, nullptr), first);
}

// ---------------------------------------------------------------------------
// Data exchange and message boxes

class CLimitedTextDlg : public CDialog {
public:
    CLimitedTextDlg() : CDialog(IDD_PASSWORD_PROMPT) {}
    std::string m_text = "abc";

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_PASSWORD, m_text);
        DDV_MaxChars(pDX, m_text, 5);
    }
};

struct BoxView {
    HWND hWnd = nullptr;
    std::string caption;
    std::string text;
    HICON icon = nullptr;  // null when the icon control is hidden or empty
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM lParam)
{
    auto* view = reinterpret_cast<BoxView*>(lParam);
    if (ClassOf(child) != "Static")
        return TRUE;
    auto style = static_cast<DWORD>(::GetWindowLongA(child, GWL_STYLE));
    if ((style & SS_TYPEMASK) == SS_ICON) {
        if (::IsWindowVisible(child))
            view->icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
    } else if (!TextOf(child).empty()) {
        view->text = TextOf(child);
    }
    return TRUE;
}

BoxView ReadBox(HWND box)
{
    BoxView view;
    view.hWnd = box;
    view.caption = TextOf(box);
    ::EnumChildWindows(box, &ReadBoxChild, reinterpret_cast<LPARAM>(&view));
    return view;
}

TEST_F(FrameworkTest, TextExchangeLimitsLoadsSavesAndRejectsOverlongText)
{
    CLimitedTextDlg dialog;
    HWND edit = nullptr;
    LRESULT limit = 0;
    std::string loaded;
    BoxView box;
    bool stillOpenAfterRefusal = false;
    bool editFocusedAndSelected = false;

    Script script;
    script
        .Until([&] {
            if (dialog.m_hWnd == nullptr || !::IsWindowVisible(dialog.m_hWnd))
                return false;
            edit = ::GetDlgItem(dialog.m_hWnd, IDC_PASSWORD);
            limit = ::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0);
            loaded = TextOf(edit);
            // WM_SETTEXT is not bound by the limit: as if pasted past it.
            // The focus is elsewhere, as after a click on OK.
            ::SetWindowTextA(edit, "abcdefg");
            ::SendMessageA(edit, EM_SETSEL, 0, 0);
            ::SetFocus(::GetDlgItem(dialog.m_hWnd, IDOK));
            ::PostMessageA(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
            return true;
        })
        .Until([&] {
            HWND found = FindDialog(static_cast<HWND>(INVALID_HANDLE_VALUE), dialog.m_hWnd);
            if (found == nullptr)
                return false;
            box = ReadBox(found);
            ::PostMessageA(found, WM_COMMAND, IDOK, 0);
            return true;
        })
        .Until([&] { return FindDialog(static_cast<HWND>(INVALID_HANDLE_VALUE), dialog.m_hWnd) == nullptr; })
        .Then([&] {
            stillOpenAfterRefusal = ::IsWindow(dialog.m_hWnd) && ::IsWindowVisible(dialog.m_hWnd);
            DWORD start = 0;
            DWORD end = 0;
            ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            editFocusedAndSelected = ::GetFocus() == edit && start == 0 && end == 7;
            ::SetWindowTextA(edit, "fiver");
            ::PostMessageA(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
        });
    script.Start();
    INT_PTR result = dialog.DoModal();
    script.Stop();
    EXPECT_TRUE(script.Done());

    EXPECT_EQ(limit, 5);
    EXPECT_EQ(loaded, "abc");
    EXPECT_EQ(box.caption, "Tethra");
    EXPECT_NE(box.text.find(" 5 "), std::string::npos) << "the limit is named: " << box.text;
    EXPECT_TRUE(stillOpenAfterRefusal) << "OK with an invalid field must not end the dialog";
    EXPECT_TRUE(editFocusedAndSelected) << "the offending field gets the focus, all selected";
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_text, "fiver");
}

TEST_F(FrameworkTest, MessageBoxesCarryTheTitleAndAnIconForPlainOk)
{
    struct Case {
        const char* name;
        UINT type;
        int answer;
        HICON expectedIcon;
    };
    const Case cases[] = {
        {"plain OK", MB_OK, IDOK, ::LoadIconA(nullptr, IDI_EXCLAMATION)},
        {"OK with its own icon", MB_OK | MB_ICONINFORMATION, IDOK, ::LoadIconA(nullptr, IDI_ASTERISK)},
        {"yes/no", MB_YESNO, IDNO, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BoxView box;
        Script script;
        script.Until([&] {
            HWND found = FindDialog();
            if (found == nullptr)
                return false;
            box = ReadBox(found);
            ::PostMessageA(found, WM_COMMAND, static_cast<WPARAM>(c.answer), 0);
            return true;
        });
        script.Start();
        int answer = AfxMessageBox("message text", c.type);
        script.Stop();
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(box.caption, "Tethra");
        EXPECT_EQ(box.text, "message text");
        EXPECT_EQ(box.icon, c.expectedIcon);
    }
}

// ---------------------------------------------------------------------------
// Control notifications, and colour changes passed down

const int kButtonId = 101;
const int kStaticId = 102;
const int kListId = 103;
const int kCheckId = 104;
const int kPickerId = 105;

class CSenderParent : public CWnd {
public:
    std::vector<std::string> log;
    LRESULT notifyResult = 7;

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    HWND Child(int id) const { return ::GetDlgItem(m_hWnd, id); }

private:
    void OnButton() { log.push_back("button"); }
    void OnStatic() { log.push_back("static"); }
    void OnList() { log.push_back("list"); }
    void OnCheck() { log.push_back("check"); }
    void OnPickerChange(NMHDR* header, LRESULT* result)
    {
        log.push_back(Format("change %d", static_cast<int>(header->idFrom)));
        *result = notifyResult;
    }
    void OnPickerFocus(NMHDR*, LRESULT*) { log.push_back("focus"); }
};

const MessageMapEntry CSenderParent::messageEntries[] = {
    OnCommandRow(kButtonId, &CSenderParent::OnButton),
    OnCommandRow(kStaticId, &CSenderParent::OnStatic),
    OnCommandRow(kListId, &CSenderParent::OnList),
    OnCommandRow(kCheckId, &CSenderParent::OnCheck),
    OnNotifyRow(kPickerId, DTN_DATETIMECHANGE, &CSenderParent::OnPickerChange),
    OnNotifyRow(kPickerId, NM_SETFOCUS, &CSenderParent::OnPickerFocus),
};
const MessageMap CSenderParent::messageMap = {&CWnd::messageMap, messageEntries, std::size(messageEntries)};

class CSenderTest : public WinTest {
protected:
    void SetUp() override
    {
        WinTest::SetUp();
        ASSERT_TRUE(AfxInitCommonControls(ICC_DATE_CLASSES));
        RECT place = {50, 50, 450, 350};
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "senders", WS_OVERLAPPEDWINDOW | WS_VISIBLE, place, nullptr, 0));
        struct Control {
            const char* className;
            DWORD style;
            int id;
        };
        const Control controls[] = {
            {"Button", BS_PUSHBUTTON, kButtonId},  {"Static", SS_NOTIFY, kStaticId},
            {"ListBox", LBS_NOTIFY, kListId},      {"Button", BS_AUTOCHECKBOX, kCheckId},
            {DATETIMEPICK_CLASSA, DTS_TIMEFORMAT, kPickerId},
        };
        int y = 5;
        for (const Control& c : controls) {
            ASSERT_NE(::CreateWindowExA(0, c.className, "x", WS_CHILD | WS_VISIBLE | WS_TABSTOP | c.style, 5, y, 150, 24,
                                        m_parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                        ::GetModuleHandleA(nullptr), nullptr),
                      nullptr)
                << c.className;
            y += 30;
        }
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        WinTest::TearDown();
    }

    Log Command(int id, UINT code, HWND sender)
    {
        m_parent.log.clear();
        ::SendMessageA(m_parent.m_hWnd, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(sender));
        return m_parent.log;
    }

    CSenderParent m_parent;
};

TEST_F(CSenderTest, OnlyMenusAcceleratorsAndButtonClicksAreCommands)
{
    HWND button = m_parent.Child(kButtonId);
    HWND label = m_parent.Child(kStaticId);
    HWND list = m_parent.Child(kListId);
    EXPECT_EQ(Command(kButtonId, 0, nullptr), Log({"button"})) << "a menu item";
    EXPECT_EQ(Command(kButtonId, 1, nullptr), Log({"button"})) << "an accelerator";
    EXPECT_EQ(Command(kButtonId, 2, nullptr), Log()) << "no sender, no such code";
    EXPECT_EQ(Command(kButtonId, BN_CLICKED, button), Log({"button"}));
    EXPECT_EQ(Command(kButtonId, BN_DOUBLECLICKED, button), Log());
    EXPECT_EQ(Command(kStaticId, STN_CLICKED, label), Log()) << "the same code as a click, from a static";
    EXPECT_EQ(Command(kStaticId, STN_DBLCLK, label), Log());
    EXPECT_EQ(Command(kListId, LBN_SELCHANGE, list), Log()) << "the accelerator's code, from a list box";
    EXPECT_EQ(Command(kListId, LBN_DBLCLK, list), Log());

    // Real clicks and a real selection change.
    m_parent.log.clear();
    ::SendMessageA(button, BM_CLICK, 0, 0);
    ::SendMessageA(m_parent.Child(kCheckId), BM_CLICK, 0, 0);
    ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
    ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two"));
    RECT second;
    ::SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    LPARAM at = MAKELPARAM(second.left + 2, second.top + 2);
    ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(list, WM_LBUTTONUP, 0, at);
    PumpMessages();
    EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 1) << "the click selected the second row";
    EXPECT_EQ(m_parent.log, Log({"button", "check"}));
}

TEST_F(CSenderTest, NotifyRowsMatchTheControlAndTheCode)
{
    HWND picker = m_parent.Child(kPickerId);
    auto notify = [&](int id, UINT code) {
        m_parent.log.clear();
        NMHDR header = {picker, static_cast<UINT_PTR>(id), code};
        return ::SendMessageA(m_parent.m_hWnd, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
    };
    EXPECT_EQ(notify(kPickerId, DTN_DATETIMECHANGE), 7);
    EXPECT_EQ(m_parent.log, Log({Format("change %d", kPickerId)}));
    EXPECT_EQ(notify(kPickerId, DTN_DROPDOWN), 0);
    EXPECT_EQ(m_parent.log, Log());
    EXPECT_EQ(notify(kButtonId, DTN_DATETIMECHANGE), 0);
    EXPECT_EQ(m_parent.log, Log());

    // From the picker itself.
    m_parent.log.clear();
    ::SetForegroundWindow(m_parent.m_hWnd);
    ::SetFocus(picker);
    PumpMessages();
    EXPECT_NE(std::find(m_parent.log.begin(), m_parent.log.end(), "focus"), m_parent.log.end());
}

class CColourChild : public CWnd {
public:
    int changes = 0;

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

private:
    void OnSysColorChange() { ++changes; }
};

const MessageMapEntry CColourChild::messageEntries[] = {
    OnMessageRow(WM_SYSCOLORCHANGE, &CColourChild::OnSysColorChange),
};
const MessageMap CColourChild::messageMap = {&CWnd::messageMap, messageEntries, std::size(messageEntries)};

TEST_F(FrameworkTest, ColourChangesReachEveryDescendantOnce)
{
    CColourChild top;
    CColourChild child;
    CColourChild grandchild;
    RECT place = {50, 50, 350, 250};
    RECT inner = {5, 5, 200, 150};
    ASSERT_TRUE(top.CreateEx(0, nullptr, "top", WS_OVERLAPPEDWINDOW, place, nullptr, 0));
    ASSERT_TRUE(child.Create(nullptr, nullptr, WS_VISIBLE, inner, &top, 1));
    ASSERT_TRUE(grandchild.Create(nullptr, nullptr, WS_VISIBLE, inner, &child, 2));

    ::SendMessageA(top.m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(top.changes, 1);
    EXPECT_EQ(child.changes, 1);
    EXPECT_EQ(grandchild.changes, 1);
    // A child that hears of it passes nothing on: the top did.
    ::SendMessageA(child.m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(child.changes, 2);
    EXPECT_EQ(grandchild.changes, 1);
    top.DestroyWindow();

    // The lock panel's banner reloads its bitmap (for the new 3-D greys)
    // when the panel hears of new colours.
    CFrameWnd main;
    ASSERT_TRUE(main.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
    TheApp().m_pMainWnd = &main;
    CLockPanelDlg panel;
    HBITMAP before = nullptr;
    HBITMAP after = nullptr;
    Script script;
    script.Until([&] { return panel.m_hWnd != nullptr && ::IsWindowVisible(panel.m_hWnd); })
        .Then([&] {
            before = panel.m_banner.Bitmap();
            ::SendMessageA(panel.m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
            after = panel.m_banner.Bitmap();
            ::PostMessageA(panel.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        });
    script.Start();
    panel.DoModal();
    script.Stop();
    EXPECT_TRUE(script.Done());
    EXPECT_NE(before, nullptr);
    EXPECT_NE(after, nullptr);
    EXPECT_NE(after, before) << "the banner loaded its bitmap again";
    TheApp().m_pMainWnd = nullptr;
    main.DestroyWindow();
}

}  // namespace

namespace {

TEST_F(FrameworkTest, AModulePathThatDoesNotFitIsRefused)
{
    char whole[MAX_PATH] = "";
    DWORD length = ::GetModuleFileNameA(nullptr, whole, sizeof whole);
    ASSERT_GT(length, 3u);
    ASSERT_LT(length, sizeof whole - 1);

    std::string path = "stale";
    EXPECT_TRUE(AfxGetModulePath(&path));
    EXPECT_EQ(path, whole);
    EXPECT_TRUE(AfxGetModulePath(&path, length + 2));
    EXPECT_EQ(path, whole);
    // A path that fills the buffer, with or without room for its end, and
    // one cut short: none of them is handed out.
    for (DWORD room : {length + 1, length, length - 1, DWORD(2), DWORD(1), DWORD(0)}) {
        path = "stale";
        EXPECT_FALSE(AfxGetModulePath(&path, room)) << "room " << room;
        EXPECT_EQ(path, "") << "room " << room;
    }
}

// A frame whose member child window tells it when it goes (WM_PARENTNOTIFY).
class CDyingFrame : public CFrameWnd {
public:
    static int s_messagesWhileDying;
    static bool s_dying;
    CWnd m_child;

    ~CDyingFrame() override { s_dying = true; }

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (s_dying)
            ++s_messagesWhileDying;
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }

private:
    int OnCreate(CREATESTRUCTA*)
    {
        RECT none = {0, 0, 0, 0};
        return m_child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, none, this, AFX_IDW_PANE_FIRST) ? 0 : -1;
    }
};

int CDyingFrame::s_messagesWhileDying = 0;
bool CDyingFrame::s_dying = false;

const MessageMapEntry CDyingFrame::messageEntries[] = {
    OnCreateRow(&CDyingFrame::OnCreate),
};
const MessageMap CDyingFrame::messageMap = {&CFrameWnd::messageMap, messageEntries, std::size(messageEntries)};

TEST_F(FrameworkTest, TheMainWindowGoesBeforeItsObject)
{
    auto* frame = new CDyingFrame;
    TheApp().m_pMainWnd = frame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
    HWND hWnd = frame->m_hWnd;
    ASSERT_NE(frame->m_child.m_hWnd, nullptr);

    TheApp().DeleteMainWnd();
    EXPECT_EQ(CDyingFrame::s_messagesWhileDying, 0) << "a message reached the frame while it was being deleted";
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(TheApp().m_pMainWnd, nullptr);
    EXPECT_EQ(TakeQuitMessage(), -1) << "the program's end posts no second quit";
    TheApp().DeleteMainWnd();  // nothing left: nothing happens
}

}  // namespace

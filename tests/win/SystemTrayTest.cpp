// The tray icon in Wine's notification area, and what mouse events on it do.
#include "WinTestSupport.h"
#include "frame/SystemTray.h"
#include "fw/Wnd.h"
#include "res/resource.h"

namespace {

const UINT kCallback = WM_USER + 10;
const UINT kIconId = 128;

// A hidden owner window that records the commands it is sent.
class CCommandRecorder : public CWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> commands;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back({wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Whether the shell holds an icon for (owner, id): only a present icon can be modified.
bool ShellHasIcon(HWND owner, UINT id)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = NIF_TIP;
    ::lstrcpyA(data.szTip, "probe");
    return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

class SystemTrayTest : public WinTest {
protected:
    void SetUp() override
    {
        WinTest::SetUp();
        RECT none = {0, 0, 0, 0};
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, "tray owner", WS_POPUP, none, nullptr, 0));
        m_icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
        ASSERT_NE(m_icon, nullptr);
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        WinTest::TearDown();
    }

    CCommandRecorder m_owner;
    HICON m_icon = nullptr;
};

TEST_F(SystemTrayTest, IconComesAndGoesOnceAndNeedsALiveOwner)
{
    {
        CSystemTray tray;
        EXPECT_FALSE(tray.AddIcon(nullptr, kCallback, "Tethra V2.0", m_icon, kIconId));
        EXPECT_FALSE(tray.IsIconAdded());
        CWnd windowless;
        EXPECT_FALSE(tray.AddIcon(&windowless, kCallback, "Tethra V2.0", m_icon, kIconId));
        EXPECT_FALSE(tray.IsIconAdded());
        EXPECT_FALSE(ShellHasIcon(m_owner.m_hWnd, kIconId));

        ASSERT_TRUE(tray.AddIcon(&m_owner, kCallback, "Tethra V2.0", m_icon, kIconId));
        EXPECT_TRUE(tray.IsIconAdded());
        EXPECT_TRUE(ShellHasIcon(m_owner.m_hWnd, kIconId));

        tray.DeleteIcon();
        EXPECT_FALSE(tray.IsIconAdded());
        EXPECT_FALSE(ShellHasIcon(m_owner.m_hWnd, kIconId));
        tray.DeleteIcon();
        EXPECT_FALSE(tray.IsIconAdded());

        // Added again, and left for the destructor.
        ASSERT_TRUE(tray.AddIcon(&m_owner, kCallback, "Tethra V2.0", m_icon, kIconId));
        EXPECT_TRUE(ShellHasIcon(m_owner.m_hWnd, kIconId));
    }
    EXPECT_FALSE(ShellHasIcon(m_owner.m_hWnd, kIconId)) << "the icon outlived its tray object";
}

TEST_F(SystemTrayTest, MouseEventsOnTheIcon)
{
    CSystemTray tray;
    ASSERT_TRUE(tray.AddIcon(&m_owner, kCallback, "Tethra V2.0", m_icon, kIconId));

    // Any popup menu that opens is inspected and closed from the timer;
    // menusSeen counts the calls during which one was open.
    int menusSeen = 0;
    bool menuThisCall = false;
    UINT defaultItem = 0;
    int itemCount = 0;
    Script watcher;
    watcher.Until([&] {
        if (HWND menu = FindMenuWindow()) {
            menuThisCall = true;
            auto shown = reinterpret_cast<HMENU>(::SendMessageA(menu, MN_GETHMENU, 0, 0));
            defaultItem = ::GetMenuDefaultItem(shown, FALSE, 0);
            itemCount = ::GetMenuItemCount(shown);
            ::EndMenu();
        }
        return false;
    });
    watcher.Start(25, 60000);
    auto handle = [&](WPARAM id, UINT mouse) {
        menuThisCall = false;
        LRESULT result = tray.HandleTrayMessage(id, mouse);
        menusSeen += menuThisCall;
        return result;
    };

    // Another icon's events are not this icon's business.
    for (UINT mouse : {WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_LBUTTONUP}) {
        EXPECT_EQ(handle(kIconId + 1, mouse), 0) << "message " << mouse;
    }
    EXPECT_TRUE(m_owner.commands.empty());
    EXPECT_EQ(menusSeen, 0);

    // Presses, releases and moves are taken and do nothing.
    for (UINT mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_MBUTTONUP}) {
        EXPECT_EQ(handle(kIconId, mouse), 1) << "message " << mouse;
    }
    EXPECT_TRUE(m_owner.commands.empty());
    EXPECT_EQ(menusSeen, 0);

    // A double click runs the menu's first command, once.
    EXPECT_EQ(handle(kIconId, WM_LBUTTONDBLCLK), 1);
    ASSERT_EQ(m_owner.commands.size(), 1u);
    EXPECT_EQ(m_owner.commands[0].first, static_cast<WPARAM>(ID_SHOW));
    EXPECT_EQ(m_owner.commands[0].second, 0);
    m_owner.commands.clear();

    // A right-button release opens the menu with its first command as the
    // default; closing it without a choice sends nothing.
    EXPECT_EQ(handle(kIconId, WM_RBUTTONUP), 1);
    PumpMessages();
    watcher.Stop();
    EXPECT_EQ(menusSeen, 1);
    EXPECT_EQ(defaultItem, static_cast<UINT>(ID_SHOW));
    EXPECT_EQ(itemCount, 15);
    EXPECT_TRUE(m_owner.commands.empty());
    EXPECT_EQ(FindMenuWindow(), nullptr);
}

}  // namespace

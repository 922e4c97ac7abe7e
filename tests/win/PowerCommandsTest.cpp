// Sleep, restart, shut down and log off, from the tray menu's commands to
// the platform calls, through the recording platform only.
#include "WinTestSupport.h"
#include "frame/MainFrame.h"
#include "frame/PowerCommands.h"
#include "res/resource.h"

namespace {

using Calls = std::vector<std::string>;

class PowerCommandsTest : public WinTest {
protected:
    // The calls one menu command makes. The frame needs no window to take
    // a command through its map.
    Calls Command(UINT id)
    {
        m_platform.calls.clear();
        CMainFrame frame;
        EXPECT_TRUE(frame.OnCmdMsg(id)) << "command " << id;
        return m_platform.calls;
    }
};

TEST_F(PowerCommandsTest, OnWindows9xTheMenuCommandsCallTheSystemDirectly)
{
    m_platform.platformId = VER_PLATFORM_WIN32_WINDOWS;
    EXPECT_EQ(Command(ID_LOGOFF), Calls({"ExitWindowsEx(0,0)"}));
    EXPECT_EQ(Command(ID_SHUTDOWN), Calls({"ExitWindowsEx(1,0)"}));
    EXPECT_EQ(Command(ID_RESTART), Calls({"ExitWindowsEx(2,0)"}));
    EXPECT_EQ(Command(ID_SLEEP), Calls({"SetSystemPowerState(1,0)"}));
    EXPECT_EQ(Command(ID_HOMEPAGE), Calls({"ShellOpen(http://tethra.sourceforge.net/)"}));
    EXPECT_EQ(Command(ID_EMAIL), Calls({"ShellOpen(mailto:tethra@users.sourceforge.net)"}));
}

TEST_F(PowerCommandsTest, OnNtTheShutdownPrivilegeComesFirstAndGatesTheExit)
{
    m_platform.platformId = VER_PLATFORM_WIN32_NT;
    EXPECT_EQ(Command(ID_LOGOFF), Calls({"EnableShutdownPrivilege", "ExitWindowsEx(0,0)"}));
    EXPECT_EQ(Command(ID_SHUTDOWN), Calls({"EnableShutdownPrivilege", "ExitWindowsEx(1,0)"}));
    EXPECT_EQ(Command(ID_RESTART), Calls({"EnableShutdownPrivilege", "ExitWindowsEx(2,0)"}));

    m_platform.privilegeResult = FALSE;
    EXPECT_EQ(Command(ID_LOGOFF), Calls({"EnableShutdownPrivilege"}));
    EXPECT_EQ(Command(ID_SHUTDOWN), Calls({"EnableShutdownPrivilege"}));
    EXPECT_EQ(Command(ID_RESTART), Calls({"EnableShutdownPrivilege"}));
}

TEST_F(PowerCommandsTest, ExitWithPrivilegeReportsOnlyThePrivilegeStep)
{
    struct Case {
        int kind;
        BOOL privilege;
        int result;
        Calls calls;
    };
    const Case cases[] = {
        {kExitReboot, TRUE, 1, {"EnableShutdownPrivilege", "ExitWindowsEx(2,0)"}},
        {7, TRUE, 1, {"EnableShutdownPrivilege"}},
        {kExitShutdown, FALSE, 0, {"EnableShutdownPrivilege"}},
        {7, FALSE, 0, {"EnableShutdownPrivilege"}},
    };
    for (const Case& c : cases) {
        m_platform.calls.clear();
        m_platform.privilegeResult = c.privilege;
        EXPECT_EQ(ExitWithPrivilege(c.kind), c.result) << "kind " << c.kind << ", privilege " << c.privilege;
        EXPECT_EQ(m_platform.calls, c.calls) << "kind " << c.kind << ", privilege " << c.privilege;
    }

    // An unknown kind on Windows 9x makes no call at all.
    m_platform.calls.clear();
    m_platform.platformId = VER_PLATFORM_WIN32_WINDOWS;
    PowerExit(7);
    EXPECT_TRUE(m_platform.calls.empty());
}

}  // namespace

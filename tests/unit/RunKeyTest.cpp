#include <gtest/gtest.h>

#include <string>

#include "fw/CommandLine.h"
#include "settings/RunKey.h"

namespace {

TEST(RunKey, ProtectedRestartDataIsTheBarePathUnlessItHoldsABlank)
{
    // The data lengths the registry gets: the string and its NUL.
    std::string bare = ProtectedRestartCommand("C:\\T\\L.EXE");
    EXPECT_EQ(bare, "C:\\T\\L.EXE /protected");
    EXPECT_EQ(bare.size() + 1, 22u);

    std::string quoted = ProtectedRestartCommand("C:\\Program Files\\Tethra\\Tethra.exe");
    EXPECT_EQ(quoted, "\"C:\\Program Files\\Tethra\\Tethra.exe\" /protected");
    EXPECT_EQ(quoted.size(), std::string("C:\\Program Files\\Tethra\\Tethra.exe").size() + 2 + 11);

    // The longest path GetModuleFileNameA gives here: 259 characters.
    std::string longPath = "C:\\" + std::string(252, 'x') + ".EXE";
    ASSERT_EQ(longPath.size(), 259u);
    EXPECT_EQ(ProtectedRestartCommand(longPath).size() + 1, 271u);
}

TEST(RunKey, TheRestartedProgramSeesTheProtectedSwitchAsItsWholeTail)
{
    for (const char* path : {"C:\\T\\L.EXE", "C:\\Program Files\\Tethra\\Tethra.exe", "C:\\a b\\c d.exe",
                             "D:\\TOOLS\\TETHRA.EXE"}) {
        SCOPED_TRACE(path);
        std::string command = ProtectedRestartCommand(path);
        EXPECT_TRUE(EqualsIgnoreAsciiCase(CommandLineTail(command.c_str()), kProtectedSwitch));
    }
    // What the bare form did to a path with a blank: the tail is not the switch.
    std::string old = std::string("C:\\Program Files\\Tethra.exe") + " " + kProtectedSwitch;
    EXPECT_FALSE(EqualsIgnoreAsciiCase(CommandLineTail(old.c_str()), kProtectedSwitch));
}

TEST(RunKey, OwnValueIsWhatThisProgramWritesNowOrWroteBefore)
{
    const std::string blank = "C:\\Program Files\\Tethra\\Tethra.exe";
    EXPECT_TRUE(IsOwnProtectedRestartCommand(ProtectedRestartCommand(blank), blank));
    EXPECT_TRUE(IsOwnProtectedRestartCommand(blank + " /protected", blank)) << "the earlier bare form";
    EXPECT_TRUE(IsOwnProtectedRestartCommand("C:\\T\\L.EXE /protected", "C:\\T\\L.EXE"));

    EXPECT_FALSE(IsOwnProtectedRestartCommand("C:\\Other\\L.EXE /protected", "C:\\T\\L.EXE"));
    EXPECT_FALSE(IsOwnProtectedRestartCommand("C:\\T\\L.EXE", "C:\\T\\L.EXE")) << "the autorun form";
    EXPECT_FALSE(IsOwnProtectedRestartCommand("C:\\T\\L.EXE /protected x", "C:\\T\\L.EXE"));
    EXPECT_FALSE(IsOwnProtectedRestartCommand("", ""));
    EXPECT_FALSE(IsOwnProtectedRestartCommand(" /protected", ""));
}

}  // namespace

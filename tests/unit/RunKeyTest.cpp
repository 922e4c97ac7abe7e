#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fw/CommandLine.h"
#include "settings/RunKey.h"

namespace {

// The command line for path, built in a buffer of exactly the room the
// program reserves for a path of its length.
std::string Command(const std::string& path)
{
    std::vector<char> buffer(ProtectedRestartCommandRoom(path.size()), 'x');
    EXPECT_TRUE(ProtectedRestartCommand(path.c_str(), buffer.data(), buffer.size())) << path;
    return buffer.data();
}

TEST(RunKey, ProtectedRestartDataIsTheBarePathUnlessItHoldsABlank)
{
    // The data lengths the registry gets: the string and its NUL.
    std::string bare = Command("C:\\T\\L.EXE");
    EXPECT_EQ(bare, "C:\\T\\L.EXE /protected");
    EXPECT_EQ(bare.size() + 1, 22u);

    std::string quoted = Command("C:\\Program Files\\Tethra\\Tethra.exe");
    EXPECT_EQ(quoted, "\"C:\\Program Files\\Tethra\\Tethra.exe\" /protected");
    EXPECT_EQ(quoted.size(), std::string("C:\\Program Files\\Tethra\\Tethra.exe").size() + 2 + 11);

    // The longest path GetModuleFileNameA gives here: 259 characters.
    std::string longPath = "C:\\" + std::string(252, 'x') + ".EXE";
    ASSERT_EQ(longPath.size(), 259u);
    EXPECT_EQ(Command(longPath).size() + 1, 271u);
}

TEST(RunKey, ACommandThatDoesNotFitIsNotWritten)
{
    for (std::string path : {"C:\\T\\L.EXE", "C:\\a b\\c d.exe"}) {
        SCOPED_TRACE(path);
        size_t needed = Command(path).size() + 1;
        std::vector<char> buffer(needed + 8, 'x');
        EXPECT_TRUE(ProtectedRestartCommand(path.c_str(), buffer.data(), needed));
        EXPECT_EQ(buffer[needed], 'x') << "nothing past the room given";
        EXPECT_FALSE(ProtectedRestartCommand(path.c_str(), buffer.data(), needed - 1));
        EXPECT_EQ(buffer[0], '\0') << "a cut command is never left behind";
        EXPECT_FALSE(ProtectedRestartCommand(path.c_str(), buffer.data(), 0));
    }
}

TEST(RunKey, TheRestartedProgramSeesTheProtectedSwitchAsItsWholeTail)
{
    for (const char* path : {"C:\\T\\L.EXE", "C:\\Program Files\\Tethra\\Tethra.exe", "C:\\a b\\c d.exe",
                             "D:\\TOOLS\\TETHRA.EXE"}) {
        SCOPED_TRACE(path);
        std::string command = Command(path);
        EXPECT_TRUE(EqualsIgnoreAsciiCase(CommandLineTail(command.c_str()), kProtectedSwitch));
    }
    // What the bare form did to a path with a blank: the tail is not the switch.
    std::string old = std::string("C:\\Program Files\\Tethra.exe") + " " + kProtectedSwitch;
    EXPECT_FALSE(EqualsIgnoreAsciiCase(CommandLineTail(old.c_str()), kProtectedSwitch));
}

TEST(RunKey, OwnValueIsWhatThisProgramWritesNowOrWroteBefore)
{
    const std::string blank = "C:\\Program Files\\Tethra\\Tethra.exe";
    EXPECT_TRUE(IsOwnProtectedRestartCommand(Command(blank).c_str(), blank.c_str()));
    EXPECT_TRUE(IsOwnProtectedRestartCommand((blank + " /protected").c_str(), blank.c_str())) << "the earlier bare form";
    EXPECT_TRUE(IsOwnProtectedRestartCommand("C:\\T\\L.EXE /protected", "C:\\T\\L.EXE"));

    EXPECT_FALSE(IsOwnProtectedRestartCommand("C:\\Other\\L.EXE /protected", "C:\\T\\L.EXE"));
    EXPECT_FALSE(IsOwnProtectedRestartCommand("C:\\T\\L.EXE", "C:\\T\\L.EXE")) << "the autorun form";
    EXPECT_FALSE(IsOwnProtectedRestartCommand("C:\\T\\L.EXE /protected x", "C:\\T\\L.EXE"));
    EXPECT_FALSE(IsOwnProtectedRestartCommand("\"C:\\T\\L.EXE\" /protected", "C:\\T\\L.EXE"))
        << "a path without a blank is never quoted";
    EXPECT_FALSE(IsOwnProtectedRestartCommand(("\"" + blank + " /protected").c_str(), blank.c_str()));
    EXPECT_FALSE(IsOwnProtectedRestartCommand("", ""));
    EXPECT_FALSE(IsOwnProtectedRestartCommand(" /protected", ""));
}

}  // namespace

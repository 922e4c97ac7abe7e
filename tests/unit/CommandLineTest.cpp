#include <gtest/gtest.h>

#include "app/SettingsPath.h"
#include "fw/CommandLine.h"

namespace {

bool IsProtectedStart(const char* commandLine)
{
    return EqualsIgnoreAsciiCase(CommandLineTail(commandLine), "/protected");
}

TEST(CommandLineTail, SkipsTheProgramNameAndTheBlanksAfterIt)
{
    EXPECT_STREQ(CommandLineTail("lock.exe /protected"), "/protected");
    EXPECT_STREQ(CommandLineTail("\"C:\\My Tools\\lock.exe\"   \t/protected"), "/protected");
    EXPECT_STREQ(CommandLineTail("\"C:\\My Tools\\lock.exe\"/protected"), "/protected");
    EXPECT_STREQ(CommandLineTail("lock.exe"), "");
    EXPECT_STREQ(CommandLineTail(""), "");
    EXPECT_STREQ(CommandLineTail("\"unterminated"), "");
}

TEST(CommandLineTail, AnUnquotedNameEndsAtTheFirstBlankOrControlCharacter)
{
    EXPECT_STREQ(CommandLineTail("C:\\My Tools\\lock.exe /protected"), "Tools\\lock.exe /protected");
    EXPECT_STREQ(CommandLineTail("lock.exe\x01\x02 x"), "x");
    // Characters above 32 are not blanks, even the non-ASCII ones.
    EXPECT_STREQ(CommandLineTail("lock.exe \xA1\xA1"), "\xA1\xA1");
}

TEST(ProtectedStart, IsTheWholeTailInAnyAsciiCase)
{
    EXPECT_TRUE(IsProtectedStart("lock.exe /protected"));
    EXPECT_TRUE(IsProtectedStart("lock.exe /PROTECTED"));
    EXPECT_TRUE(IsProtectedStart("\"C:\\T\\L.EXE\" /Protected"));

    EXPECT_FALSE(IsProtectedStart("lock.exe /protected "));
    EXPECT_FALSE(IsProtectedStart("lock.exe /protected now"));
    EXPECT_FALSE(IsProtectedStart("lock.exe -protected"));
    EXPECT_FALSE(IsProtectedStart("lock.exe /protecte"));
    EXPECT_FALSE(IsProtectedStart("lock.exe"));
    // An unquoted path with a blank leaves the rest of the path in the tail.
    EXPECT_FALSE(IsProtectedStart("C:\\My Tools\\lock.exe /protected"));
}

TEST(ModuleBaseName, DropsFolderAndExtension)
{
    EXPECT_EQ(ModuleBaseName("C:\\TOOLS\\LOCK.EXE"), "LOCK");
    EXPECT_EQ(ModuleBaseName("C:\\MY.APPS\\lock.exe"), "lock");
    EXPECT_EQ(ModuleBaseName("C:\\MY.APPS\\lock"), "lock");
    EXPECT_EQ(ModuleBaseName("lock.tar.exe"), "lock.tar");
}

TEST(SettingsPath, ReplacesTheExtensionWithUpperCaseIni)
{
    EXPECT_EQ(SettingsPathFor("C:\\TOOLS\\LOCK.EXE"), "C:\\TOOLS\\LOCK.INI");
    EXPECT_EQ(SettingsPathFor("C:\\TOOLS\\lock.exe"), "C:\\TOOLS\\lock.INI");
    EXPECT_EQ(SettingsPathFor("C:\\MY.APPS\\LOCK.EXE"), "C:\\MY.APPS\\LOCK.INI");
    EXPECT_EQ(SettingsPathFor("C:\\A\\lock.v2.exe"), "C:\\A\\lock.v2.INI");
}

TEST(SettingsPath, ANameWithoutADotKeepsItsFolderWhole)
{
    EXPECT_EQ(SettingsPathFor("C:\\MY.APPS\\LOCK"), "C:\\MY.APPS\\LOCK.INI");
    EXPECT_EQ(SettingsPathFor("LOCK"), "LOCK.INI");
}

}  // namespace

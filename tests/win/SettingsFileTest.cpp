// The settings file and the stored password through the platform's own
// private-profile functions.
#include <random>

#include "WinTestSupport.h"
#include "app/TethraApp.h"
#include "settings/PasswordStore.h"
#include "settings/SettingsFile.h"

namespace {

const SettingKey kAllKeys[] = {Key::InitTray, Key::InitLock,  Key::UnlockHide, Key::UnlockQuit,
                               Key::Protected, Key::TimeLock, Key::TimeLockType, Key::AfterTime,
                               Key::OnTime,    Key::Password, Key::Top,          Key::Left};

using SettingsFileTest = WinTest;

TEST_F(SettingsFileTest, MissingFileSectionOrKeyReadsAsTheDefault)
{
    CSettingsFile settings(m_ini.Path());
    for (const SettingKey& key : kAllKeys)
        EXPECT_EQ(settings.ReadInt(key), key.defaultValue) << key.name << " with no file";
    EXPECT_EQ(settings.ReadInt(Key::Top), -1);
    EXPECT_EQ(settings.ReadInt(Key::Left), -1);
    EXPECT_EQ(settings.ReadText(Key::Password), "");

    // [Windows] exists but holds only Top; [Time] does not exist.
    m_ini.WriteRaw("[Windows]\r\nTop=40\r\n[Option]\r\nInitTray=1\r\n");
    EXPECT_EQ(settings.ReadInt(Key::Top), 40);
    EXPECT_EQ(settings.ReadInt(Key::Left), -1);
    EXPECT_EQ(settings.ReadInt(Key::InitLock), 0);
    EXPECT_EQ(settings.ReadInt(Key::TimeLockType), 0);
    EXPECT_EQ(settings.ReadText(Key::Password), "");
}

TEST_F(SettingsFileTest, SectionsAndKeysAreFoundWhateverTheirCase)
{
    m_ini.WriteRaw("[option]\r\ninittray=1\r\nUNLOCKHIDE=1\r\n[WINDOWS]\r\ntop=-5\r\nLeft=17\r\n");
    CSettingsFile settings(m_ini.Path());
    EXPECT_EQ(settings.ReadInt(Key::InitTray), 1);
    EXPECT_EQ(settings.ReadInt(Key::UnlockHide), 1);
    EXPECT_EQ(settings.ReadInt(Key::Top), -5) << "negative numbers read as such";
    EXPECT_EQ(settings.ReadInt(Key::Left), 17);
    EXPECT_EQ(settings.ReadInt(Key::UnlockQuit), 0);
}

// The value line of key in section, as the file has it; "" when absent.
std::string RawLine(const std::string& file, const std::string& section, const std::string& key)
{
    std::string::size_type start = file.find("[" + section + "]");
    if (start == std::string::npos)
        return "";
    std::string::size_type end = file.find("\n[", start);
    std::string body = file.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::string::size_type at = body.find("\n" + key + "=");
    if (at == std::string::npos)
        return "";
    std::string line = body.substr(at + 1, body.find_first_of("\r\n", at + 1) - at - 1);
    return line;
}

TEST_F(SettingsFileTest, WritesUseTheDocumentedTextAndKeepForeignLines)
{
    m_ini.WriteRaw(
        "; kept by hand\r\n"
        "[Option]\r\nColour=blue\r\nInitTray=0\r\n"
        "[Other]\r\nx=1\r\n");
    CSettingsFile settings(m_ini.Path());
    EXPECT_TRUE(settings.WriteFlag(Key::InitTray, true));
    EXPECT_TRUE(settings.WriteFlag(Key::UnlockQuit, false));
    EXPECT_TRUE(settings.WriteInt(Key::Top, -12));
    EXPECT_TRUE(settings.WriteInt(Key::Left, 2147483647L));
    EXPECT_TRUE(settings.WriteInt(Key::AfterTime, -2147483647L - 1));
    EXPECT_TRUE(settings.WriteText(Key::Password, "0A1B"));

    std::string file = m_ini.ReadRaw();
    EXPECT_EQ(RawLine(file, "Option", "InitTray"), "InitTray=1");
    EXPECT_EQ(RawLine(file, "Option", "UnlockQuit"), "UnlockQuit=0");
    EXPECT_EQ(RawLine(file, "Windows", "Top"), "Top=-12");
    EXPECT_EQ(RawLine(file, "Windows", "Left"), "Left=2147483647");
    EXPECT_EQ(RawLine(file, "Time", "AfterTime"), "AfterTime=-2147483648");
    EXPECT_EQ(RawLine(file, "System", "Password"), "Password=0A1B");

    EXPECT_NE(file.find("; kept by hand"), std::string::npos) << file;
    EXPECT_EQ(RawLine(file, "Option", "Colour"), "Colour=blue") << file;
    EXPECT_EQ(RawLine(file, "Other", "x"), "x=1") << file;

    EXPECT_EQ(settings.ReadInt(Key::InitTray), 1);
    EXPECT_EQ(settings.ReadInt(Key::Top), -12);
    EXPECT_EQ(settings.ReadInt(Key::Left), 2147483647);
    EXPECT_EQ(settings.ReadText(Key::Password), "0A1B");
}

// ---------------------------------------------------------------------------
// The stored password

// What a password reads back as after a trip through the settings file.
std::string RoundTrip(const CSettingsFile& settings, const std::string& password, bool encode)
{
    std::string stored = CTethraApp::ScramblePassword(password);
    EXPECT_TRUE(settings.WriteText(Key::Password, encode ? EncodeStoredPassword(stored) : stored));
    std::string value = settings.ReadText(Key::Password);
    return CTethraApp::ScramblePassword(encode ? DecodeStoredPassword(value) : value);
}

TEST_F(SettingsFileTest, EveryPasswordSurvivesTheFileWhenEncoded)
{
    CSettingsFile settings(m_ini.Path());
    std::vector<std::string> passwords;
    // Every byte value a typed text can hold, in two longest passwords.
    std::string low;
    std::string high;
    for (int b = 1; b <= 128; ++b)
        low.push_back(static_cast<char>(b));
    for (int b = 129; b <= 255; ++b)
        high.push_back(static_cast<char>(b));
    passwords.push_back(low);
    passwords.push_back(high);
    passwords.push_back("锁定");
    passwords.push_back("\xCB\xF8\xB6\xA8 pass \"word\" ");
    passwords.push_back(" lead and trail ");

    std::mt19937 random(936);
    for (int i = 0; i < 200; ++i) {
        std::string password(1 + random() % 128, '\0');
        for (char& c : password)
            c = static_cast<char>(1 + random() % 255);
        passwords.push_back(password);
    }
    // Double-byte text of code page 936: lead 0x81-0xFE, trail 0x40-0xFE.
    for (int i = 0; i < 50; ++i) {
        std::string password;
        for (int n = 1 + random() % 64; n > 0; --n) {
            password.push_back(static_cast<char>(0x81 + random() % 0x7E));
            char trail = static_cast<char>(0x40 + random() % 0xBF);
            password.push_back(trail == 0x7F ? 'A' : trail);
        }
        passwords.push_back(password);
    }

    for (const std::string& password : passwords)
        ASSERT_EQ(RoundTrip(settings, password, true), password) << "password of " << password.size() << " bytes";
}

// Password bytes chosen so their scrambled form has what the profile
// functions cut, trim or strip: a NUL, a leading blank, enclosing quotes.
TEST_F(SettingsFileTest, UnencodedStoredFormsDoNotSurviveTheFile)
{
    CSettingsFile settings(m_ini.Path());
    const std::string storedForms[] = {
        std::string("ab\0cd", 5),
        " abcd",
        "\"abcd\"",
    };
    for (const std::string& stored : storedForms) {
        std::string password = CTethraApp::ScramblePassword(stored);
        ASSERT_EQ(password.find('\0'), std::string::npos) << "a typed password holds no NUL";
        EXPECT_NE(RoundTrip(settings, password, false), password) << "stored form " << stored;
        EXPECT_EQ(RoundTrip(settings, password, true), password) << "stored form " << stored;
    }
}

}  // namespace

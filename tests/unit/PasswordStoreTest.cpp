#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "settings/PasswordStore.h"

namespace {

// Code page 936's lead bytes.
bool IsGbkLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

std::string AllBytes()
{
    std::string s;
    for (int b = 0; b < 256; ++b)
        s.push_back(static_cast<char>(b));
    return s;
}

TEST(ScramblePassword, IsASameLengthSelfInverse)
{
    EXPECT_EQ(ScramblePassword(""), "");
    std::string all = AllBytes();
    std::string stored = ScramblePassword(all);
    ASSERT_EQ(stored.size(), all.size());
    EXPECT_NE(stored, all);
    EXPECT_EQ(ScramblePassword(stored), all) << "every byte value 0 to 255 survives";

    std::string longest(128, 'x');
    EXPECT_EQ(ScramblePassword(longest).size(), 128u);
}

TEST(ScramblePassword, TheKeyDependsOnlyOnThePosition)
{
    std::string a = "secret-password-1";
    std::string b = "secret-password-2";
    std::string sa = ScramblePassword(a);
    std::string sb = ScramblePassword(b);
    EXPECT_EQ(sa.substr(0, a.size() - 1), sb.substr(0, b.size() - 1));
    EXPECT_NE(sa.back(), sb.back());
    // A prefix scrambles to the prefix of the scramble.
    EXPECT_EQ(ScramblePassword("secret"), sa.substr(0, 6));
    EXPECT_EQ(ScramblePassword(a), sa) << "no state between calls";
}

TEST(ScramblePassword, TheKeyIsNotTrivial)
{
    // Zero bytes scramble to the key itself: it should not be constant.
    std::string key = ScramblePassword(std::string(64, '\0'));
    int distinct[256] = {};
    int kinds = 0;
    for (char c : key)
        kinds += distinct[static_cast<unsigned char>(c)]++ == 0;
    EXPECT_GT(kinds, 16);
}

TEST(StoredPasswordEncoding, RoundTripsRandomPasswordsUpTo128Bytes)
{
    std::mt19937 random(20261209);
    for (int round = 0; round < 500; ++round) {
        std::string password(random() % 129, '\0');
        for (char& c : password)
            c = static_cast<char>(1 + random() % 255);
        std::string value = EncodeStoredPassword(ScramblePassword(password));
        ASSERT_EQ(value.size(), password.size() * 2);
        ASSERT_LE(value.size(), 260u) << "fits the settings reader's buffer";
        ASSERT_EQ(value.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        ASSERT_EQ(ScramblePassword(DecodeStoredPassword(value)), password);
    }
}

TEST(StoredPasswordEncoding, EmptyValueIsTheEmptyPassword)
{
    EXPECT_EQ(EncodeStoredPassword(""), "");
    EXPECT_EQ(DecodeStoredPassword(""), "");
}

TEST(StoredPasswordEncoding, AValueThatIsNotHexIsTakenAsTheStoredFormItself)
{
    EXPECT_EQ(DecodeStoredPassword("abc"), "abc") << "odd length";
    EXPECT_EQ(DecodeStoredPassword("0g"), "0g");
    EXPECT_EQ(DecodeStoredPassword("7f7e"), "7f7e") << "lower case is not our encoding";
    EXPECT_EQ(DecodeStoredPassword("7F7E"), "\x7F\x7E");
}

TEST(PasswordsEqual, IsExactAndCaseSensitive)
{
    EXPECT_TRUE(PasswordsEqual("", "", IsGbkLeadByte));
    EXPECT_TRUE(PasswordsEqual("Secret", "Secret", IsGbkLeadByte));
    EXPECT_FALSE(PasswordsEqual("secret", "Secret", IsGbkLeadByte));
    EXPECT_FALSE(PasswordsEqual("Secret", "Secret ", IsGbkLeadByte));
    EXPECT_FALSE(PasswordsEqual("", "x", IsGbkLeadByte));
}

TEST(PasswordsEqual, ComparesDoubleByteCharactersAsUnits)
{
    const std::string lock = "\xCB\xF8";  // 锁 in code page 936
    EXPECT_TRUE(PasswordsEqual(lock + "a", lock + "a", IsGbkLeadByte));
    EXPECT_FALSE(PasswordsEqual(lock, "\xCB\xF9", IsGbkLeadByte));
    // A lead byte standing last counts as the end of its string.
    EXPECT_TRUE(PasswordsEqual("ab\xCB", "ab", IsGbkLeadByte));
    EXPECT_TRUE(PasswordsEqual("ab\xCB", "ab\xCC", IsGbkLeadByte)) << "both end after ab";
}

}  // namespace

namespace {

TEST(PortableCos, AgreesWithTheLibraryCosine)
{
    for (double x = -40000.0; x <= 40000.0; x += 0.731) {
        double expected = std::cos(x);
        ASSERT_NEAR(PortableCos(x), expected, 4e-16 + 2e-16 * std::fabs(x) * 1e-3) << x;
    }
    EXPECT_EQ(PortableCos(0.0), 1.0);
}

TEST(ScramblePassword, TheKeySequenceNeverChanges)
{
    // Stored passwords must stay readable by every later build on every
    // machine: these are the first key bytes, as every build computes them.
    // (An x87 unit left at extended precision gives ...081B9E8A... from the
    // seventh byte on: that is what the precision setting prevents.)
    std::string key = ScramblePassword(std::string(16, '\0'));
    EXPECT_EQ(EncodeStoredPassword(key), "487EE8E6081B960D8C85E22E60959947");
}

}  // namespace

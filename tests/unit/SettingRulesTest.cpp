#include <gtest/gtest.h>

#include <cstring>

#include "settings/SettingKeys.h"

namespace {

TEST(SettingRules, FlagsCountOnlyWhenExactlyOne)
{
    EXPECT_TRUE(IsOn(1));
    for (int value : {0, 2, 5, -1, 100})
        EXPECT_FALSE(IsOn(value)) << value;
}

TEST(SettingRules, OnlyInitTrayZeroOpensThePanelAtStart)
{
    EXPECT_TRUE(OpensPanelAtStart(0));
    for (int value : {1, 2, 5, -1})
        EXPECT_FALSE(OpensPanelAtStart(value)) << value;
}

TEST(SettingRules, CheckboxesShowZeroToTwoAndAnythingElseUnchecked)
{
    EXPECT_EQ(CheckStateFor(0), 0);
    EXPECT_EQ(CheckStateFor(1), 1);
    EXPECT_EQ(CheckStateFor(2), 2);
    EXPECT_EQ(CheckStateFor(3), 0);
    EXPECT_EQ(CheckStateFor(5), 0);
    EXPECT_EQ(CheckStateFor(-1), 0);
}

TEST(SettingRules, APositionNeedsBothCoordinatesOtherThanMinusOne)
{
    EXPECT_TRUE(HasSavedPosition(300, 200));
    EXPECT_TRUE(HasSavedPosition(-50, -113));
    EXPECT_FALSE(HasSavedPosition(300, -1));
    EXPECT_FALSE(HasSavedPosition(-1, 200));
    EXPECT_FALSE(HasSavedPosition(Key::Top.defaultValue, Key::Left.defaultValue));
}

TEST(SettingRules, KeysLiveInTheirSectionsWithTheirDefaults)
{
    for (const SettingKey& key : {Key::InitTray, Key::InitLock, Key::UnlockHide, Key::UnlockQuit, Key::Protected,
                                  Key::TimeLock}) {
        EXPECT_STREQ(key.section, "Option") << key.name;
        EXPECT_EQ(key.defaultValue, 0) << key.name;
    }
    for (const SettingKey& key : {Key::TimeLockType, Key::AfterTime, Key::OnTime})
        EXPECT_STREQ(key.section, "Time") << key.name;
    EXPECT_STREQ(Key::Password.section, "System");
    EXPECT_STREQ(Key::Top.section, "Windows");
    EXPECT_EQ(Key::Top.defaultValue, -1);
    EXPECT_EQ(Key::Left.defaultValue, -1);
}

}  // namespace

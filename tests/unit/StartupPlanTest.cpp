#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "frame/StartupPlan.h"

namespace {

// A settings file in memory that remembers which keys were read, in order.
struct FakeOptions {
    std::map<std::string, int> values;
    std::vector<std::string> reads;

    SettingReader Reader()
    {
        return [this](const SettingKey& key) {
            reads.push_back(key.name);
            auto it = values.find(key.name);
            return it == values.end() ? key.defaultValue : it->second;
        };
    }
};

TEST(StartupPlan, AProtectedStartLocksAndReadsNothing)
{
    FakeOptions options{{{"InitLock", 0}, {"TimeLock", 1}, {"InitTray", 0}}, {}};
    StartupPlan plan = DecideStartup(true, options.Reader());
    EXPECT_TRUE(plan.lock);
    EXPECT_FALSE(plan.armTimedLock);
    EXPECT_FALSE(plan.showPanel);
    EXPECT_TRUE(options.reads.empty());
}

TEST(StartupPlan, InitLockOneLocksWithoutTimedLockOrInitTray)
{
    FakeOptions options{{{"InitLock", 1}, {"TimeLock", 1}, {"InitTray", 1}}, {}};
    StartupPlan plan = DecideStartup(false, options.Reader());
    EXPECT_TRUE(plan.lock);
    EXPECT_FALSE(plan.armTimedLock);
    EXPECT_FALSE(plan.showPanel);
    EXPECT_EQ(options.reads, (std::vector<std::string>{"InitLock"}));
}

TEST(StartupPlan, OtherInitLockValuesFallThroughToTimedLockThenInitTray)
{
    FakeOptions options{{{"InitLock", 2}, {"TimeLock", 1}, {"InitTray", 0}}, {}};
    StartupPlan plan = DecideStartup(false, options.Reader());
    EXPECT_FALSE(plan.lock);
    EXPECT_TRUE(plan.armTimedLock);
    EXPECT_TRUE(plan.showPanel);
    EXPECT_EQ(options.reads, (std::vector<std::string>{"InitLock", "TimeLock", "InitTray"}));
}

TEST(StartupPlan, AnEmptySettingsFileOpensTheUnlockedPanel)
{
    FakeOptions options;
    StartupPlan plan = DecideStartup(false, options.Reader());
    EXPECT_FALSE(plan.lock);
    EXPECT_FALSE(plan.armTimedLock);
    EXPECT_TRUE(plan.showPanel);
}

TEST(StartupPlan, InitTrayOtherThanZeroStaysInTheTray)
{
    for (int initTray : {1, 2, 5}) {
        FakeOptions options{{{"InitTray", initTray}, {"TimeLock", 2}}, {}};
        StartupPlan plan = DecideStartup(false, options.Reader());
        EXPECT_FALSE(plan.lock);
        EXPECT_FALSE(plan.armTimedLock) << "TimeLock 2 is off";
        EXPECT_FALSE(plan.showPanel) << initTray;
    }
}

}  // namespace

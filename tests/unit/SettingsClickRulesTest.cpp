#include <gtest/gtest.h>

#include "dialogs/SettingsRules.h"

namespace {

SettingsChecks AllOn()
{
    SettingsChecks c;
    c.initTray = c.initLock = c.unlockHide = c.unlockQuit = c.timeLock = 1;
    return c;
}

bool Same(const SettingsChecks& a, const SettingsChecks& b)
{
    return a.initTray == b.initTray && a.initLock == b.initLock && a.unlockHide == b.unlockHide &&
           a.unlockQuit == b.unlockQuit && a.timeLock == b.timeLock;
}

TEST(SettingsClickRules, CheckingABoxClearsTheBoxesItExcludesAndNothingElse)
{
    struct Case {
        SettingsBox box;
        SettingsChecks expected;
        TimedControls timed;
    };
    SettingsChecks noLock = AllOn();
    noLock.initLock = 0;
    SettingsChecks lockOnly = AllOn();
    lockOnly.initTray = 0;
    lockOnly.timeLock = 0;
    SettingsChecks noQuit = AllOn();
    noQuit.unlockQuit = 0;
    SettingsChecks noHide = AllOn();
    noHide.unlockHide = 0;
    const Case cases[] = {
        {SettingsBox::InitTray, noLock, TimedControls::Leave},
        {SettingsBox::InitLock, lockOnly, TimedControls::Disable},
        {SettingsBox::UnlockHide, noQuit, TimedControls::Leave},
        {SettingsBox::UnlockQuit, noHide, TimedControls::Leave},
        {SettingsBox::TimeLock, noLock, TimedControls::Enable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.box));
        SettingsChecks checks = AllOn();
        EXPECT_EQ(ApplyClickRule(c.box, &checks), c.timed);
        EXPECT_TRUE(Same(checks, c.expected));
    }
}

TEST(SettingsClickRules, UncheckingNeverChangesAnotherBox)
{
    for (SettingsBox box : {SettingsBox::InitTray, SettingsBox::InitLock, SettingsBox::UnlockHide,
                            SettingsBox::UnlockQuit, SettingsBox::TimeLock}) {
        SCOPED_TRACE(static_cast<int>(box));
        SettingsChecks checks = AllOn();
        switch (box) {
        case SettingsBox::InitTray: checks.initTray = 0; break;
        case SettingsBox::InitLock: checks.initLock = 0; break;
        case SettingsBox::UnlockHide: checks.unlockHide = 0; break;
        case SettingsBox::UnlockQuit: checks.unlockQuit = 0; break;
        case SettingsBox::TimeLock: checks.timeLock = 0; break;
        }
        SettingsChecks before = checks;
        TimedControls timed = ApplyClickRule(box, &checks);
        EXPECT_TRUE(Same(checks, before));
        // Only the timed-lock box itself switches its controls off again.
        EXPECT_EQ(timed, box == SettingsBox::TimeLock ? TimedControls::Disable : TimedControls::Leave);
    }
}

TEST(SettingsClickRules, LockAfterStartAndTheTimedLockTakeTurns)
{
    SettingsChecks checks;
    checks.initTray = 1;
    checks.timeLock = 1;
    checks.initLock = 1;  // just checked
    EXPECT_EQ(ApplyClickRule(SettingsBox::InitLock, &checks), TimedControls::Disable);
    EXPECT_EQ(checks.initTray, 0);
    EXPECT_EQ(checks.timeLock, 0);
    checks.timeLock = 1;  // checked again
    EXPECT_EQ(ApplyClickRule(SettingsBox::TimeLock, &checks), TimedControls::Enable);
    EXPECT_EQ(checks.initLock, 0);
    EXPECT_EQ(checks.initTray, 0) << "the tray box stays as the first rule left it";
}

}  // namespace

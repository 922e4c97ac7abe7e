#include <gtest/gtest.h>

#include "frame/IdleWatch.h"

namespace {

const uint32_t kMinute = 60000;

InputState At(int32_t x, int32_t y)
{
    InputState state;
    state.x = x;
    state.y = y;
    return state;
}

TEST(IdleWatch, MinutesOutsideOneTo240ReadAsTen)
{
    EXPECT_EQ(IdleMinutesFor(1), 1);
    EXPECT_EQ(IdleMinutesFor(240), 240);
    EXPECT_EQ(IdleMinutesFor(0), 10);
    EXPECT_EQ(IdleMinutesFor(241), 10);
    EXPECT_EQ(IdleMinutesFor(-5), 10);
}

TEST(IdleWatch, IdleOnlyOnceTheWholeTimeHasPassedUnchanged)
{
    CIdleWatch watch;
    watch.Start(2, 1000, At(5, 5));
    EXPECT_FALSE(watch.IsIdle(1000 + 2 * kMinute - 1, At(5, 5)));
    EXPECT_TRUE(watch.IsIdle(1000 + 2 * kMinute, At(5, 5)));
}

TEST(IdleWatch, EveryKindOfUseStartsTheTimeAgain)
{
    InputState moved = At(6, 5);
    InputState keyDown = At(5, 5);
    keyDown.down[0x41 / 32] = 1u << (0x41 % 32);
    InputState tapped = At(5, 5);
    tapped.pressedSince = true;
    for (const InputState& use : {moved, keyDown, tapped}) {
        CIdleWatch watch;
        watch.Start(1, 0, At(5, 5));
        EXPECT_FALSE(watch.IsIdle(kMinute - 10, use));
        InputState after = use;
        after.pressedSince = false;
        EXPECT_FALSE(watch.IsIdle(2 * kMinute - 11, after));
        EXPECT_TRUE(watch.IsIdle(2 * kMinute - 10, after));
    }
}

TEST(IdleWatch, AKeyLetGoIsUseToo)
{
    InputState held = At(0, 0);
    held.down[1] = 0x10;
    CIdleWatch watch;
    watch.Start(1, 0, held);
    EXPECT_FALSE(watch.IsIdle(kMinute, At(0, 0)));
    EXPECT_TRUE(watch.IsIdle(2 * kMinute, At(0, 0)));
}

TEST(IdleWatch, TouchRestartsTheCountAsAfterAnUnlock)
{
    CIdleWatch watch;
    watch.Start(1, 0, At(1, 1));
    watch.Touch(5 * kMinute);
    EXPECT_FALSE(watch.IsIdle(6 * kMinute - 1, At(1, 1)));
    EXPECT_TRUE(watch.IsIdle(6 * kMinute, At(1, 1)));
}

TEST(IdleWatch, TheTickCountWrappingDoesNotFireEarly)
{
    CIdleWatch watch;
    watch.Start(1, 0xFFFFFFFFu - 1000, At(1, 1));
    EXPECT_FALSE(watch.IsIdle(5000, At(1, 1)));
    EXPECT_TRUE(watch.IsIdle(kMinute - 1001, At(1, 1)));
}

}  // namespace

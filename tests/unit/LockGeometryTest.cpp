#include <gtest/gtest.h>

#include <cstdint>

#include "lock/LockGeometry.h"

namespace {

void ExpectRect(LockRect r, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

LockPoint MovedInside(LockRect window, LockRect area)
{
    return PlacedInside(window.left, window.top, Extent(window.left, window.right),
                        Extent(window.top, window.bottom), area);
}

void ExpectAt(LockPoint p, int32_t left, int32_t top)
{
    EXPECT_EQ(p.x, left);
    EXPECT_EQ(p.y, top);
}

TEST(LockGeometry, ConfinesTwelvePixelsInsideThePanel)
{
    LockRect confined = ConfinementFor({100, 200, 468, 345});
    ExpectRect(confined, 112, 212, 456, 333);
    LockPoint centre = CentreOf(confined);
    EXPECT_EQ(centre.x, 284);
    EXPECT_EQ(centre.y, 272);
}

TEST(LockGeometry, HalvesTruncateTowardZeroForNegativeCoordinates)
{
    LockRect confined = ConfinementFor({-113, -50, 12, 80});
    ExpectRect(confined, -101, -38, 0, 68);
    LockPoint centre = CentreOf(confined);
    EXPECT_EQ(centre.x, -50);  // -101 / 2, not -51
    EXPECT_EQ(centre.y, 15);
}

// 640 x 480 with a 28-pixel taskbar along the bottom.
const LockRect kWorkArea = {0, 0, 640, 452};

TEST(LockGeometry, APanelInsideTheWorkAreaStaysWhereItIs)
{
    ExpectAt(MovedInside({100, 200, 468, 345}, kWorkArea), 100, 200);
    // Touching every edge at once is still inside.
    ExpectAt(MovedInside({0, 0, 640, 452}, kWorkArea), 0, 0);
}

TEST(LockGeometry, APanelSavedOnALargerScreenComesBackWhole)
{
    // Saved near the right edge at 800 x 600: wholly off a 640 x 480 screen.
    ExpectAt(MovedInside({700, 500, 1068, 645}, kWorkArea), 272, 307);
    // Over the taskbar only: lifted just above it, left where it was.
    ExpectAt(MovedInside({100, 400, 468, 545}, kWorkArea), 100, 307);
}

TEST(LockGeometry, APanelAboveOrLeftOfTheScreenIsPulledIn)
{
    ExpectAt(MovedInside({-113, -50, 255, 95}, kWorkArea), 0, 0);
    // A taskbar along the top or left makes the work area start past 0.
    ExpectAt(MovedInside({10, 5, 378, 150}, {0, 30, 640, 480}), 10, 30);
    ExpectAt(MovedInside({10, 5, 378, 150}, {60, 0, 640, 480}), 60, 5);
}

TEST(LockGeometry, APanelLargerThanTheWorkAreaKeepsItsTopLeftOnScreen)
{
    ExpectAt(MovedInside({-40, 300, 760, 900}, kWorkArea), 0, 0);
    ExpectAt(MovedInside({50, -20, 850, 580}, {0, 30, 640, 480}), 0, 30);
}

// A hand-edited place at the far ends of int: the sums that place the panel
// cannot overflow, and it still comes back whole.
TEST(LockGeometry, AStoredPlaceAtTheLimitsOfIntComesBackWhole)
{
    const int32_t kMax = INT32_MAX;
    const int32_t kMin = INT32_MIN;
    ExpectAt(PlacedInside(kMax, kMax, 368, 145, kWorkArea), 272, 307);
    ExpectAt(PlacedInside(kMin, kMin, 368, 145, kWorkArea), 0, 0);
    ExpectAt(PlacedInside(kMax - 100, 10, 368, 145, kWorkArea), 272, 10);
    ExpectAt(MovedInside({kMin, kMin, kMax, kMax}, kWorkArea), 0, 0);
    ExpectAt(MovedInside({kMax - 10, kMin, kMax, kMin + 10}, kWorkArea), 630, 0);
}

}  // namespace

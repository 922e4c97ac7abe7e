#include <gtest/gtest.h>

#include "lock/LockGeometry.h"

namespace {

void ExpectRect(LockRect r, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
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
    ExpectRect(MovedInside({100, 200, 468, 345}, kWorkArea), 100, 200, 468, 345);
    // Touching every edge at once is still inside.
    ExpectRect(MovedInside({0, 0, 640, 452}, kWorkArea), 0, 0, 640, 452);
}

TEST(LockGeometry, APanelSavedOnALargerScreenComesBackWhole)
{
    // Saved near the right edge at 800 x 600: wholly off a 640 x 480 screen.
    ExpectRect(MovedInside({700, 500, 1068, 645}, kWorkArea), 272, 307, 640, 452);
    // Over the taskbar only: lifted just above it, left where it was.
    ExpectRect(MovedInside({100, 400, 468, 545}, kWorkArea), 100, 307, 468, 452);
}

TEST(LockGeometry, APanelAboveOrLeftOfTheScreenIsPulledIn)
{
    ExpectRect(MovedInside({-113, -50, 255, 95}, kWorkArea), 0, 0, 368, 145);
    // A taskbar along the top or left makes the work area start past 0.
    ExpectRect(MovedInside({10, 5, 378, 150}, {0, 30, 640, 480}), 10, 30, 378, 175);
    ExpectRect(MovedInside({10, 5, 378, 150}, {60, 0, 640, 480}), 60, 5, 428, 150);
}

TEST(LockGeometry, APanelLargerThanTheWorkAreaKeepsItsTopLeftOnScreen)
{
    ExpectRect(MovedInside({-40, 300, 760, 900}, kWorkArea), 0, 0, 800, 600);
    ExpectRect(MovedInside({50, -20, 850, 580}, {0, 30, 640, 480}), 0, 30, 800, 630);
}

}  // namespace

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

}  // namespace

// Where the dialogs go when they centre themselves, and where the minimised dialog puts
// its icon.
#include <gtest/gtest.h>

#include "platform/Centering.h"
#include "ui/IconPlacement.h"

namespace {

constexpr Bounds kScreen{0, 0, 1024, 768};

Position Place(long width, long height, Bounds center, Bounds workArea = kScreen)
{
    return CenteredPosition({500, 500, 500 + width, 500 + height}, center, workArea);
}

}  // namespace

TEST(CenteredPosition, CentresOnTheWorkAreaUsingOnlyTheWindowSize)
{
    const Position p = Place(300, 200, kScreen);
    EXPECT_EQ(p.x, 512 - 150);
    EXPECT_EQ(p.y, 384 - 100);
}

TEST(CenteredPosition, HalvesRoundTowardZero)
{
    // Middle (0 + 1023) / 2 = 511, half of 301 is 150; a work area from -1001 to 0 has
    // middle -500 (not -501), half of 101 is 50.
    EXPECT_EQ(Place(301, 101, {0, 0, 1023, 767}).x, 511 - 150);
    const Bounds leftMonitor{-1001, -1001, 0, 0};
    EXPECT_EQ(Place(101, 101, leftMonitor, leftMonitor).x, -500 - 50);
}

TEST(CenteredPosition, CentresOnAnOwnerAndKeepsInsideTheWorkArea)
{
    const Bounds workArea{0, 0, 1024, 740};  // a task bar below
    // An owner in the middle: centred on it.
    EXPECT_EQ(Place(100, 60, {200, 100, 600, 400}, workArea).x, 400 - 50);
    // An owner near the top-left corner: the box would start before the work area.
    const Position topLeft = Place(300, 200, {-100, -100, 100, 50}, workArea);
    EXPECT_EQ(topLeft.x, 0);
    EXPECT_EQ(topLeft.y, 0);
    // An owner near the bottom-right corner: moved back to end at the work area's end.
    const Position bottomRight = Place(300, 200, {900, 650, 1100, 800}, workArea);
    EXPECT_EQ(bottomRight.x, 1024 - 300);
    EXPECT_EQ(bottomRight.y, 740 - 200);
}

TEST(CenteredPosition, AWindowLargerThanTheWorkAreaStartsAtItsLeftAndTop)
{
    const Bounds workArea{10, 20, 410, 320};
    const Position p = Place(600, 500, workArea, workArea);
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, 20);
}

TEST(CenteredIconOrigin, CentresTheIconRoundingTowardZero)
{
    EXPECT_EQ(CenteredIconOrigin(36, 36, 32, 32).x, 2);
    EXPECT_EQ(CenteredIconOrigin(37, 40, 32, 32).x, 3);
    EXPECT_EQ(CenteredIconOrigin(37, 40, 32, 32).y, 4);
    // w - cx = -32: (-31) / 2 is -15, where flooring would give -16.
    EXPECT_EQ(CenteredIconOrigin(0, 0, 32, 32).x, -15);
    EXPECT_EQ(CenteredIconOrigin(0, 0, 32, 32).y, -15);
}

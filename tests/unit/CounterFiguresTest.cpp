#include <gtest/gtest.h>

#include "display/CounterFigures.h"

namespace quibbix {
namespace {

std::string Shown(std::int64_t value, int cells) {
    const std::array<int, 6> figures = CounterFigures(value, cells);
    std::string text;
    for (int i = cells - 1; i >= 0; --i) {
        text += static_cast<char>('0' + figures[i]);
    }
    return text;
}

TEST(CounterFiguresTest, ValuesAreZeroPaddedAndMaxedAtTheCounterSize) {
    EXPECT_EQ(Shown(0, 6), "000000");
    EXPECT_EQ(Shown(4250, 6), "004250");
    EXPECT_EQ(Shown(999999, 6), "999999");
    EXPECT_EQ(Shown(1000000, 6), "999999");
    EXPECT_EQ(Shown(2147483647, 6), "999999");
    EXPECT_EQ(Shown(7, 2), "07");
    EXPECT_EQ(Shown(100, 2), "99");
    EXPECT_EQ(Shown(32767, 2), "99");
    EXPECT_EQ(Shown(101, 3), "101");
    EXPECT_EQ(Shown(-1, 3), "000");
}

TEST(CounterFiguresTest, TimeRoundsToTheNearestSecondWithHalvesUp) {
    EXPECT_EQ(ShownSeconds(0.4), 0);
    EXPECT_EQ(ShownSeconds(0.5), 1);
    EXPECT_EQ(ShownSeconds(19.49), 19);
    EXPECT_EQ(ShownSeconds(19.5), 20);
    EXPECT_EQ(ShownSeconds(19.98), 20);
    EXPECT_EQ(ShownSeconds(20.0), 20);
    EXPECT_EQ(ShownSeconds(2.5), 3);
    // The countdown's last step ends just below zero.
    EXPECT_EQ(ShownSeconds(-0.0199999999), 0);
    EXPECT_EQ(ShownSeconds(-0.5), 0);
}

}  // namespace
}  // namespace quibbix

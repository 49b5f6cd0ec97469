#include <gtest/gtest.h>

#include "display/CounterFigures.h"

namespace quibbix {
namespace {

TEST(CounterFiguresTest, ValuesAreZeroPaddedAndMaxedAtTheCounterSize) {
    const std::tuple<std::int64_t, int, std::string> cases[] = {
        {0, 6, "000000"},          {4250, 6, "004250"}, {999999, 6, "999999"}, {1000000, 6, "999999"},
        {2147483647, 6, "999999"}, {7, 2, "07"},        {100, 2, "99"},        {32767, 2, "99"},
        {101, 3, "101"},           {-1, 3, "000"}};
    for (const auto& [value, cells, shown] : cases) {
        const std::array<int, 6> figures = CounterFigures(value, cells);
        std::string text;
        for (int i = cells - 1; i >= 0; --i) {
            text += static_cast<char>('0' + figures[i]);
        }
        EXPECT_EQ(text, shown) << value;
    }
}

// Halves round up; the countdown's last step ends just below zero.
TEST(CounterFiguresTest, TimeRoundsToTheNearestSecondWithHalvesUp) {
    const std::pair<double, int> cases[] = {{0.4, 0},   {0.5, 1}, {19.49, 19},        {19.5, 20}, {19.98, 20},
                                            {20.0, 20}, {2.5, 3}, {-0.0199999999, 0}, {-0.5, 0}};
    for (const auto& [seconds, shown] : cases) {
        EXPECT_EQ(ShownSeconds(seconds), shown) << seconds;
    }
}

}  // namespace
}  // namespace quibbix

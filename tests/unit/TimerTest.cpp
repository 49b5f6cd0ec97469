#include <gtest/gtest.h>

#include <vector>

#include "shell/platform/Timer.h"

namespace quibbix {
namespace {

class FakeClock final : public Clock {
public:
    std::int64_t NowMs() const override { return now; }
    std::int64_t now = 0;
};

// A 20 ms timer on a clock the test moves.
class TimerTest : public ::testing::Test {
protected:
    TimerTest() { timer.SetInterval(20); }
    FakeClock clock;
    Timer timer{clock};
};

TEST_F(TimerTest, TicksFollowAFixedGridWhateverTheWakeUpDelay) {
    std::vector<std::int64_t> ticks;
    timer.Tick = [&] { ticks.push_back(clock.now); };
    timer.SetEnabled(true);

    // A backend that wakes up 0..7 ms late every time still ticks 50 times a second.
    for (int i = 0; i < 3000; ++i) {
        clock.now = *timer.NextDue() + (i * 7919) % 8;
        timer.Fire();
    }
    EXPECT_EQ(*timer.NextDue(), 20 + 3000 * 20);
    EXPECT_EQ(ticks.size(), 3000u);
}

TEST_F(TimerTest, FallingBehindNeverFiresTicksBackToBack) {
    timer.SetEnabled(true);
    clock.now = 20 + 95;  // the program stalled for almost five periods
    timer.Fire();
    EXPECT_EQ(*timer.NextDue(), clock.now + 20);
}

TEST_F(TimerTest, EnablingStartsAFullPeriodAndDisablingCancels) {
    EXPECT_FALSE(timer.NextDue().has_value());
    clock.now = 7;
    timer.SetEnabled(true);
    EXPECT_EQ(*timer.NextDue(), 27);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.NextDue().has_value());

    // Switched off and on inside its own tick, it starts again from that moment.
    timer.SetEnabled(true);
    timer.Tick = [&] {
        timer.SetEnabled(false);
        timer.SetEnabled(true);
    };
    clock.now = 30;
    timer.Fire();
    EXPECT_EQ(*timer.NextDue(), 50);
}

}  // namespace
}  // namespace quibbix

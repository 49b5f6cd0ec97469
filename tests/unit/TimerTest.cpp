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

// Enabling starts a full period and disabling cancels; then the ticks follow a fixed grid whatever
// the wake-up delay, a stall never fires them back to back, and a tick that switches the timer off
// and on starts it again from that moment.
TEST_F(TimerTest, TicksFollowAFixedGridFromTheMomentOfEnablingAndNeverComeBackToBack) {
    EXPECT_FALSE(timer.NextDue().has_value());
    clock.now = 7;
    timer.SetEnabled(true);
    EXPECT_EQ(*timer.NextDue(), 27);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.NextDue().has_value());

    std::vector<std::int64_t> ticks;
    timer.Tick = [&] { ticks.push_back(clock.now); };
    clock.now = 0;
    timer.SetEnabled(true);
    for (int i = 0; i < 3000; ++i) {  // a backend that wakes up 0..7 ms late every time
        clock.now = *timer.NextDue() + (i * 7919) % 8;
        timer.Fire();
    }
    EXPECT_EQ(*timer.NextDue(), 20 + 3000 * 20);
    EXPECT_EQ(ticks.size(), 3000u);
    clock.now = *timer.NextDue() + 95;  // the program stalled for almost five periods
    timer.Fire();
    EXPECT_EQ(*timer.NextDue(), clock.now + 20);

    timer.Tick = [&] {
        timer.SetEnabled(false);
        timer.SetEnabled(true);
    };
    clock.now = *timer.NextDue() + 10;
    timer.Fire();
    EXPECT_EQ(*timer.NextDue(), clock.now + 20);
}

}  // namespace
}  // namespace quibbix

#include <gtest/gtest.h>

#include <vector>

#include "shell/headless/VirtualClock.h"
#include "shell/platform/Timer.h"

namespace quibbix {
namespace {

// Enabling starts a full period and disabling cancels; then the ticks follow a fixed grid whatever
// the wake-up delay, a stall never fires them back to back, and a tick that switches the timer off
// and on starts it again from that moment.
TEST(TimerTest, TicksFollowAFixedGridFromTheMomentOfEnablingAndNeverComeBackToBack) {
    VirtualClock clock;
    Timer timer{clock};
    timer.SetInterval(20);
    EXPECT_FALSE(timer.NextDue().has_value());
    clock.Set(7);
    timer.SetEnabled(true);
    EXPECT_EQ(*timer.NextDue(), 27);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.NextDue().has_value());

    std::vector<std::int64_t> ticks;
    timer.Tick = [&] { ticks.push_back(clock.NowMs()); };
    clock.Set(0);
    timer.SetEnabled(true);
    for (int i = 0; i < 3000; ++i) {  // a backend that wakes up 0..7 ms late every time
        clock.Set(*timer.NextDue() + (i * 7919) % 8);
        timer.Fire();
    }
    EXPECT_EQ(*timer.NextDue(), 20 + 3000 * 20);
    EXPECT_EQ(ticks.size(), 3000u);
    clock.Set(*timer.NextDue() + 95);  // the program stalled for almost five periods
    timer.Fire();
    EXPECT_EQ(*timer.NextDue(), clock.NowMs() + 20);

    timer.Tick = [&] {
        timer.SetEnabled(false);
        timer.SetEnabled(true);
    };
    clock.Set(*timer.NextDue() + 10);
    timer.Fire();
    EXPECT_EQ(*timer.NextDue(), clock.NowMs() + 20);
}

}  // namespace
}  // namespace quibbix

#include <algorithm>
#include <limits>

#include "scenario/Commands.h"

namespace quibbix::commands {

namespace {

// Moves the clock to the timer's next tick, if it falls due by `until`, and fires it. False when
// no tick is due: the timer is off, the program has ended or the tick lies beyond `until`.
bool FireNextTick(ScenarioSession& session, std::int64_t until) {
    const std::optional<std::int64_t> due = session.Form().Timer1.NextDue();
    if (!due || *due > until || session.Ended()) {
        return false;
    }
    VirtualClock& clock = session.Platform().Clock();
    clock.Set(std::max(*due, clock.NowMs()));
    session.Form().Timer1.Fire();
    return true;
}

}  // namespace

// tick [N]: N ticks, stopping early when the timer is off.
void Tick(ScenarioSession& session, const Words& words) {
    RequireWords(words, 1, 2);
    const std::int64_t count = words.size() == 2 ? WholeNumber("tick count", words[1], 0, kMaxTicks) : 1;
    for (std::int64_t i = 0; i < count; ++i) {
        if (!FireNextTick(session, std::numeric_limits<std::int64_t>::max())) {
            return;
        }
    }
}

// wait MS: every tick that falls due on the way, as the real timer would fire them.
void Wait(ScenarioSession& session, const Words& words) {
    RequireWords(words, 2, 2);
    VirtualClock& clock = session.Platform().Clock();
    const std::int64_t until = clock.NowMs() + WholeNumber("wait", words[1], 0, kMaxWaitMs);
    while (FireNextTick(session, until)) {
    }
    clock.Set(std::max(until, clock.NowMs()));
}

}  // namespace quibbix::commands

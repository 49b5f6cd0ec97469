#pragma once
#include <cstdint>
#include <functional>
#include <optional>

#include "shell/platform/Clock.h"

namespace quibbix {

// A periodic timer. Ticks fall on a fixed grid of deadlines from the moment it was enabled, so the
// cadence never drifts; a backend that falls more than a period behind starts the grid afresh
// instead of firing ticks back to back.
class Timer {
public:
    explicit Timer(const Clock& clock) : clock_(clock) {}

    bool Enabled() const { return enabled_; }
    // Enabling starts a new period; disabling cancels the pending tick.
    void SetEnabled(bool enabled);
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);

    // When the next tick is due; nothing while disabled.
    std::optional<std::int64_t> NextDue() const;
    // Runs the due tick; the backend calls this once the clock has reached NextDue.
    void Fire();

    std::function<void()> Tick;

private:
    const Clock& clock_;
    bool enabled_ = false;
    int interval_ = 0;
    std::int64_t due_ = 0;
};

}  // namespace quibbix

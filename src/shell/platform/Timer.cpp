#include "shell/platform/Timer.h"

namespace quibbix {

void Timer::SetEnabled(bool enabled) {
    if (enabled && !enabled_) {
        due_ = clock_.NowMs() + interval_;
    }
    enabled_ = enabled;
}

void Timer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    due_ = clock_.NowMs() + interval_;
}

std::optional<std::int64_t> Timer::NextDue() const {
    if (!enabled_ || interval_ <= 0) {
        return std::nullopt;
    }
    return due_;
}

void Timer::Fire() {
    const std::int64_t now = clock_.NowMs();
    due_ += interval_;
    if (due_ <= now) {
        // More than a period behind: this one tick, then a full period from now.
        due_ = now + interval_;
    }
    if (Tick) {
        Tick();
    }
}

}  // namespace quibbix

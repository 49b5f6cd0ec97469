#pragma once
#include <cstdint>

#include "shell/platform/Clock.h"

namespace quibbix {

// A clock that moves only when told to.
class VirtualClock final : public Clock {
public:
    std::int64_t NowMs() const override { return now_; }
    void Set(std::int64_t ms) { now_ = ms; }

private:
    std::int64_t now_ = 0;
};

}  // namespace quibbix

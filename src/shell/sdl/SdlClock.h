#pragma once
#include "shell/platform/Clock.h"

namespace quibbix {

// Milliseconds since SDL started: steady, never set back by a change of the wall clock.
class SdlClock final : public Clock {
public:
    std::int64_t NowMs() const override;
};

}  // namespace quibbix

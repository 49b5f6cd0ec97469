#pragma once
#include <cstdint>

namespace quibbix {

// Milliseconds since some fixed moment: the real clock in the game, a virtual one in scenarios.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t NowMs() const = 0;
};

}  // namespace quibbix

#include "shell/platform/Random.h"

#include <chrono>

namespace quibbix {

void Random::Randomize() {
    if (fixedSeed_) {
        engine_.seed(*fixedSeed_);
        return;
    }
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    engine_.seed(static_cast<std::uint32_t>(now ^ (now >> 32)));
}

void Random::Seed(std::uint32_t seed) {
    fixedSeed_ = seed;
    engine_.seed(seed);
}

float Random::Next() {
    if (!queued_.empty()) {
        const float value = queued_.front();
        queued_.pop_front();
        return value;
    }
    // 24 random bits fill a float's mantissa exactly, so the result stays strictly below 1
    // (std::generate_canonical<float> can round up to 1.0).
    constexpr float kUnit = 1.0f / 16777216.0f;
    return static_cast<float>(engine_() >> 8) * kUnit;
}

}  // namespace quibbix

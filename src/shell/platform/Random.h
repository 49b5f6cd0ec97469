#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>

namespace quibbix {

// The game's one random generator: single-precision values r with 0 <= r < 1.
class Random {
public:
    // Seeds from the clock, unless a fixed seed was given: every run deals different boards.
    void Randomize();
    // A fixed seed, kept for later Randomize calls, so a scripted game plays the same every time.
    void Seed(std::uint32_t seed);
    // Exact values handed out before the generator is asked again, oldest first.
    void Queue(float value) { queued_.push_back(value); }
    std::size_t Queued() const { return queued_.size(); }

    float Next();

private:
    std::mt19937 engine_{0};
    std::optional<std::uint32_t> fixedSeed_;
    std::deque<float> queued_;
};

}  // namespace quibbix

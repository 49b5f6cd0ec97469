#include "shell/sdl/SdlBeep.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace quibbix {

namespace {

constexpr int kFrequency = 44100;
constexpr double kPitchHz = 880.0;
constexpr double kLengthSeconds = 0.120;
// Ramps at both ends keep the speaker from clicking.
constexpr double kFadeSeconds = 0.010;
// Loud enough to notice, well short of the effects' own level.
constexpr double kAmplitude = 0.3 * 32767.0;

}  // namespace

std::shared_ptr<const SdlEffect> SynthesizeBeep() {
    const int count = static_cast<int>(kFrequency * kLengthSeconds);
    const double fade = kFrequency * kFadeSeconds;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double envelope = std::min({1.0, i / fade, (count - 1 - i) / fade});
        const double wave = std::sin(2.0 * std::numbers::pi * kPitchHz * i / kFrequency);
        samples[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(std::lround(kAmplitude * envelope * wave));
    }
    return SdlEffect::FromMono16(kFrequency, std::move(samples));
}

}  // namespace quibbix

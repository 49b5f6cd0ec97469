#include "shell/sdl/SdlBeep.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quibbix {

namespace {

constexpr double kPitchHz = 880.0;
constexpr double kLengthSeconds = 0.120;
// Ramps at both ends keep the speaker from clicking.
constexpr double kFadeSeconds = 0.010;
// Loud enough to notice, well short of the effects' own level.
constexpr double kAmplitude = 0.3 * 32767.0;

// One channel of signed 16-bit samples, the format SDL converts from most easily.
std::vector<Sint16> MonoSamples(int frequency) {
    const int count = static_cast<int>(frequency * kLengthSeconds);
    const double fade = frequency * kFadeSeconds;
    std::vector<Sint16> samples(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double envelope = std::min({1.0, i / fade, (count - 1 - i) / fade});
        const double wave = std::sin(2.0 * std::numbers::pi * kPitchHz * i / frequency);
        samples[static_cast<std::size_t>(i)] = static_cast<Sint16>(std::lround(kAmplitude * envelope * wave));
    }
    return samples;
}

}  // namespace

std::vector<std::uint8_t> SynthesizeBeep(int frequency, std::uint16_t format, int channels) {
    if (frequency <= 0) {
        return {};
    }
    const std::vector<Sint16> mono = MonoSamples(frequency);
    SDL_AudioCVT convert;
    if (SDL_BuildAudioCVT(&convert, AUDIO_S16SYS, 1, frequency, format, static_cast<Uint8>(channels),
                          frequency) < 0) {
        return {};
    }
    const int bytes = static_cast<int>(mono.size() * sizeof(Sint16));
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(bytes) * std::max(convert.len_mult, 1));
    std::copy_n(reinterpret_cast<const std::uint8_t*>(mono.data()), bytes, buffer.begin());
    if (convert.needed != 0) {
        convert.buf = buffer.data();
        convert.len = bytes;
        if (SDL_ConvertAudio(&convert) != 0) {
            return {};
        }
        buffer.resize(static_cast<std::size_t>(convert.len_cvt));
    } else {
        buffer.resize(static_cast<std::size_t>(bytes));
    }
    return buffer;
}

}  // namespace quibbix

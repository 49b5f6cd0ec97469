#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quibbix {

// The sample rates an effect may have. Outside them a file is no sound effect, and converting it
// for the device would expand each sample thousands of times (1 Hz) or read millions a buffer.
inline constexpr int kMinEffectRate = 4'000;
inline constexpr int kMaxEffectRate = 384'000;

// What a .wav file says of its samples, before anything is decoded.
struct WavHeader {
    int rate = 0;
    int channels = 0;
    // At least what its samples take once decoded, and frames in them: enough to refuse a file
    // before decoding it.
    std::size_t decodedBytes = 0;
    std::size_t frames = 0;
};

// The facts of a RIFF/WAVE file whose header is sane: a format chunk before the data, an encoding
// SDL decodes (PCM, float, A-law, µ-law, ADPCM), 1..8 channels, a sample rate within
// kMinEffectRate..kMaxEffectRate and a frame size that fits its samples. Nothing otherwise.
std::optional<WavHeader> ReadWavHeader(std::span<const std::uint8_t> file);

}  // namespace quibbix

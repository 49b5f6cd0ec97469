#include "shell/sdl/WavHeader.h"

#include <algorithm>
#include <string_view>

namespace quibbix {

namespace {

constexpr std::uint16_t kPcm = 0x0001;
constexpr std::uint16_t kMsAdpcm = 0x0002;
constexpr std::uint16_t kFloat = 0x0003;
constexpr std::uint16_t kALaw = 0x0006;
constexpr std::uint16_t kMuLaw = 0x0007;
constexpr std::uint16_t kImaAdpcm = 0x0011;
constexpr std::uint16_t kExtensible = 0xFFFE;

std::uint32_t Little(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = value << 8 | bytes[at + i];
    }
    return value;
}

bool Named(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view name) {
    return std::equal(name.begin(), name.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

struct Format {
    std::uint16_t tag = 0;
    int channels = 0;
    std::uint32_t rate = 0;
    std::uint32_t blockAlign = 0;
    std::uint32_t bits = 0;
};

std::optional<Format> ReadFormat(std::span<const std::uint8_t> chunk) {
    if (chunk.size() < 16) {
        return std::nullopt;
    }
    Format format{static_cast<std::uint16_t>(Little(chunk, 0, 2)), static_cast<int>(Little(chunk, 2, 2)),
                  Little(chunk, 4, 4), Little(chunk, 12, 2), Little(chunk, 14, 2)};
    if (format.tag == kExtensible) {
        // The encoding is the first two bytes of the sub-format's GUID.
        if (chunk.size() < 26) {
            return std::nullopt;
        }
        format.tag = static_cast<std::uint16_t>(Little(chunk, 24, 2));
    }
    return format;
}

// Bytes each sample of the file takes once SDL decoded it, against its size in the file: the
// largest growth of each encoding. Zero for what SDL does not decode.
std::size_t Growth(const Format& format) {
    switch (format.tag) {
        case kPcm:
            return format.bits == 24 ? 2
                                     : (format.bits == 8 || format.bits == 16 || format.bits == 32 ? 1 : 0);
        case kFloat:
            return format.bits == 32 ? 1 : 0;
        case kALaw:
        case kMuLaw:
            return format.bits == 8 ? 2 : 0;
        case kMsAdpcm:
        case kImaAdpcm:
            return format.bits == 4 ? 4 : 0;  // four bits a sample become sixteen
        default:
            return 0;
    }
}

}  // namespace

std::optional<WavHeader> ReadWavHeader(std::span<const std::uint8_t> file) {
    if (file.size() < 12 || !Named(file, 0, "RIFF") || !Named(file, 8, "WAVE")) {
        return std::nullopt;
    }
    std::optional<Format> format;
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::size_t declared = Little(file, at + 4, 4);
        const std::size_t size = std::min(declared, file.size() - at - 8);
        const std::span<const std::uint8_t> chunk = file.subspan(at + 8, size);
        if (Named(file, at, "fmt ")) {
            format = ReadFormat(chunk);
        } else if (Named(file, at, "data")) {
            const std::size_t growth = format ? Growth(*format) : 0;
            if (growth == 0 || format->channels < 1 || format->channels > 8 ||
                format->rate < kMinEffectRate || format->rate > kMaxEffectRate || format->blockAlign == 0 ||
                format->blockAlign < static_cast<std::uint32_t>(format->channels) * format->bits / 8) {
                return std::nullopt;
            }
            const bool adpcm = format->bits == 4;
            // ADPCM holds two samples a byte; every other encoding whole frames of blockAlign bytes.
            const std::size_t frames =
                adpcm ? size * 2 / static_cast<std::size_t>(format->channels) : size / format->blockAlign;
            return WavHeader{static_cast<int>(format->rate), format->channels, size * growth, frames};
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

}  // namespace quibbix

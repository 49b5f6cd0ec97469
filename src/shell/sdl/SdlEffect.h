#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace quibbix {

// A sound effect ready to play: its samples as the file holds them, in an SDL AUDIO_* format.
// Converting to the device's format happens while it plays, so a long effect costs no time here.
class SdlEffect {
public:
    // Decodes a .wav file held in memory; null when its header is not sane (see ReadWavHeader),
    // when SDL cannot play it, or when its samples and their copy converted for the device would
    // take more than kMaxEffectBytes.
    static std::shared_ptr<const SdlEffect> FromWav(std::vector<std::uint8_t> file);
    // Samples made by the game itself: signed 16-bit, native byte order, one channel.
    static std::shared_ptr<const SdlEffect> FromMono16(int frequency, std::vector<std::int16_t> samples);

    int Frequency() const { return frequency_; }
    std::uint16_t Format() const { return format_; }
    int Channels() const { return channels_; }
    int FrameBytes() const;
    const std::uint8_t* Samples() const { return samples_.get(); }
    std::size_t Bytes() const { return bytes_; }

private:
    struct Release {
        void operator()(std::uint8_t* samples) const;
    };

    SdlEffect(int frequency, std::uint16_t format, int channels, std::uint8_t* samples, std::size_t bytes);

    int frequency_;
    std::uint16_t format_;
    int channels_;
    std::unique_ptr<std::uint8_t, Release> samples_;  // owned by SDL's allocator
    std::size_t bytes_;
};

// ADPCM files decode to four times their size, and a low sample rate grows many times on its way
// to the device: a cap on the samples, counted both as decoded and as converted, keeps three
// effects small.
inline constexpr std::size_t kMaxEffectBytes = 16 * 1024 * 1024;

// The device's format, signed 16-bit stereo at 44.1 kHz: what SDL's disk driver records, and what
// every sound server takes.
inline constexpr int kDeviceFrequency = 44100;
inline constexpr int kDeviceChannels = 2;
inline constexpr std::size_t kDeviceFrameBytes = 2 * kDeviceChannels;

// What `frames` at `frequency` take once converted for the device.
std::size_t ConvertedBytes(std::size_t frames, int frequency);

}  // namespace quibbix

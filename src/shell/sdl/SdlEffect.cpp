#include "shell/sdl/SdlEffect.h"

#include <SDL.h>

#include <cstring>
#include <optional>

#include "shell/sdl/WavHeader.h"

namespace quibbix {

void SdlEffect::Release::operator()(std::uint8_t* samples) const {
    SDL_free(samples);
}

SdlEffect::SdlEffect(int frequency, std::uint16_t format, int channels, std::uint8_t* samples,
                     std::size_t bytes)
    : frequency_(frequency), format_(format), channels_(channels), samples_(samples), bytes_(bytes) {}

int SdlEffect::FrameBytes() const {
    return static_cast<int>(SDL_AUDIO_BITSIZE(format_) / 8) * channels_;
}

std::size_t ConvertedBytes(std::size_t frames, int frequency) {
    return (frames / static_cast<std::size_t>(frequency) * kDeviceFrequency +
            frames % static_cast<std::size_t>(frequency) * kDeviceFrequency /
                static_cast<std::size_t>(frequency) +
            1) *
           kDeviceFrameBytes;
}

std::shared_ptr<const SdlEffect> SdlEffect::FromWav(std::vector<std::uint8_t> file) {
    // Refused before SDL decodes anything: what a hostile header asks for is never allocated.
    const std::optional<WavHeader> facts = ReadWavHeader(file);
    if (!facts || facts->decodedBytes > kMaxEffectBytes ||
        facts->decodedBytes + ConvertedBytes(facts->frames, facts->rate) > kMaxEffectBytes) {
        return nullptr;
    }
    SDL_AudioSpec loaded{};
    Uint8* samples = nullptr;
    Uint32 bytes = 0;
    SDL_RWops* const memory = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (memory == nullptr || SDL_LoadWAV_RW(memory, 1, &loaded, &samples, &bytes) == nullptr) {
        return nullptr;
    }
    std::shared_ptr<const SdlEffect> effect(
        new SdlEffect(loaded.freq, loaded.format, loaded.channels, samples, bytes));
    if (effect->Frequency() < kMinEffectRate || effect->Frequency() > kMaxEffectRate ||
        effect->FrameBytes() <= 0 || effect->Bytes() > kMaxEffectBytes ||
        effect->Bytes() + ConvertedBytes(effect->Bytes() / static_cast<std::size_t>(effect->FrameBytes()),
                                         effect->Frequency()) >
            kMaxEffectBytes) {
        return nullptr;
    }
    return effect;
}

std::shared_ptr<const SdlEffect> SdlEffect::FromMono16(int frequency, std::vector<std::int16_t> samples) {
    const std::size_t bytes = samples.size() * sizeof(std::int16_t);
    auto* const copy = static_cast<std::uint8_t*>(SDL_malloc(bytes == 0 ? 1 : bytes));
    if (copy == nullptr) {
        return nullptr;
    }
    std::memcpy(copy, samples.data(), bytes);
    return std::shared_ptr<const SdlEffect>(new SdlEffect(frequency, AUDIO_S16SYS, 1, copy, bytes));
}

}  // namespace quibbix

#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "shell/sdl/SdlEffect.h"
#include "shell/sdl/SdlHandles.h"

struct SDL_AudioSpec;

namespace quibbix {

// The game's one channel: it plays one effect at a time, and a new effect cuts off the one still
// sounding. Effects are started on the event thread or the loader's; the audio device's thread
// plays them, converting each to the device's format as it goes.
class SdlVoice {
public:
    // Told, on either thread, whenever the voice starts sounding or falls silent.
    explicit SdlVoice(std::function<void()> changed);
    SdlVoice(const SdlVoice&) = delete;
    SdlVoice& operator=(const SdlVoice&) = delete;
    ~SdlVoice();

    // Every request to play takes a ticket; an effect is only started with the latest one, so an
    // effect that took long to load never cuts off one asked for after it.
    std::uint64_t Ticket();
    void Start(std::uint64_t ticket, std::shared_ptr<const SdlEffect> effect);
    // Forgets the effect: there is no device to play it on.
    void Stop();
    // From the start of an effect until it has played out and the device has had time to pass
    // its last samples on.
    bool Sounding() const;

    // The format to open the device with, and this voice as the device's callback.
    void Describe(SDL_AudioSpec& wanted);

private:
    static void Callback(void* voice, std::uint8_t* out, int bytes);
    void Fill(std::uint8_t* out, int bytes);
    // Hands the converter the next piece of the effect, or tells it that the end has come; false
    // when the converter fails.
    bool Feed();

    std::function<void()> changed_;
    mutable std::mutex mutex_;
    std::uint64_t latestTicket_ = 0;
    std::shared_ptr<const SdlEffect> effect_;
    AudioStreamPtr converter_;  // null when the effect has played out
    std::size_t fed_ = 0;       // bytes of the effect handed to the converter
    bool flushed_ = false;
    int quietBuffers_ = 0;  // buffers of silence played since the effect ended
    bool sounding_ = false;
};

}  // namespace quibbix

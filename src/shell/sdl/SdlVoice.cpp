#include "shell/sdl/SdlVoice.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace quibbix {

namespace {

constexpr int kFrequency = kDeviceFrequency;
constexpr SDL_AudioFormat kFormat = AUDIO_S16SYS;
constexpr int kChannels = kDeviceChannels;
// About 23 ms at 44.1 kHz: an effect starts with its event.
constexpr int kBufferFrames = 1024;
// Frames of the effect converted at a time.
constexpr std::size_t kFeedFrames = 1024;
// The device and the sound server hold a few buffers between the callback and the speaker: the
// voice stays sounding until they have played out too.
constexpr int kTailBuffers = 3;

}  // namespace

SdlVoice::SdlVoice(std::function<void()> changed) : changed_(std::move(changed)) {}

SdlVoice::~SdlVoice() = default;

void SdlVoice::Describe(SDL_AudioSpec& wanted) {
    wanted.freq = kFrequency;
    wanted.format = kFormat;
    wanted.channels = kChannels;
    wanted.samples = kBufferFrames;
    wanted.callback = &SdlVoice::Callback;
    wanted.userdata = this;
}

std::uint64_t SdlVoice::Ticket() {
    const std::lock_guard lock(mutex_);
    return ++latestTicket_;
}

void SdlVoice::Start(std::uint64_t ticket, std::shared_ptr<const SdlEffect> effect) {
    AudioStreamPtr converter(SDL_NewAudioStream(effect->Format(), static_cast<Uint8>(effect->Channels()),
                                                effect->Frequency(), kFormat, kChannels, kFrequency));
    {
        const std::lock_guard lock(mutex_);
        if (ticket != latestTicket_) {
            return;
        }
        // The old effect and its converter are let go after the lock, off the audio thread's path.
        std::swap(effect_, effect);
        std::swap(converter_, converter);
        fed_ = 0;
        flushed_ = false;
        quietBuffers_ = 0;
        sounding_ = converter_ != nullptr;
    }
    changed_();
}

void SdlVoice::Stop() {
    std::shared_ptr<const SdlEffect> effect;
    AudioStreamPtr converter;
    const std::lock_guard lock(mutex_);
    std::swap(effect_, effect);
    std::swap(converter_, converter);
    sounding_ = false;
}

bool SdlVoice::Sounding() const {
    const std::lock_guard lock(mutex_);
    return sounding_;
}

void SdlVoice::Callback(void* voice, std::uint8_t* out, int bytes) {
    static_cast<SdlVoice*>(voice)->Fill(out, bytes);
}

void SdlVoice::Fill(std::uint8_t* out, int bytes) {
    bool fellSilent = false;
    {
        const std::lock_guard lock(mutex_);
        int filled = 0;
        while (converter_ && filled < bytes) {
            const int got = SDL_AudioStreamGet(converter_.get(), out + filled, bytes - filled);
            if (got < 0) {
                converter_.reset();
                break;
            }
            filled += got;
            // Once told the end has come, the converter gives all it has left at once.
            if (filled < bytes && (flushed_ || !Feed())) {
                converter_.reset();
            }
        }
        std::memset(out + filled, 0, static_cast<std::size_t>(bytes - filled));
        if (!converter_ && sounding_ && ++quietBuffers_ >= kTailBuffers) {
            sounding_ = false;
            fellSilent = true;
        }
    }
    if (fellSilent) {
        changed_();
    }
}

bool SdlVoice::Feed() {
    const std::size_t frame = static_cast<std::size_t>(effect_->FrameBytes());
    const std::size_t left = effect_->Bytes() - fed_;
    if (left < frame) {
        // The converter holds back a few samples for its filter until it is told the end has come.
        flushed_ = true;
        return SDL_AudioStreamFlush(converter_.get()) == 0;
    }
    const std::size_t piece = std::min(left - left % frame, kFeedFrames * frame);
    if (SDL_AudioStreamPut(converter_.get(), effect_->Samples() + fed_, static_cast<int>(piece)) != 0) {
        return false;
    }
    fed_ += piece;
    return true;
}

}  // namespace quibbix

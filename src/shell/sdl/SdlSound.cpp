#include "shell/sdl/SdlSound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "shell/sdl/SdlBeep.h"

namespace quibbix {

namespace {

constexpr int kChannel = 0;

}  // namespace

SdlSound::SdlSound() = default;

void SdlSound::Open() {
    if (mixer_) {
        return;
    }
    mixer_ = SdlMixer::Open();
    if (!mixer_) {
        return;
    }
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0) {
        return;
    }
    beepSamples_ = SynthesizeBeep(frequency, format, channels);
    if (!beepSamples_.empty()) {
        beep_.reset(Mix_QuickLoad_RAW(beepSamples_.data(), static_cast<Uint32>(beepSamples_.size())));
    }
}

SdlSound::~SdlSound() {
    if (mixer_) {
        Mix_HaltChannel(kChannel);
    }
}

void SdlSound::sndPlaySoundA(const std::string& path, int /*flags*/) {
    if (!mixer_) {
        return;
    }
    ChunkPtr loaded(Mix_LoadWAV(path.c_str()));
    // The old chunk may still be playing: stop it before it is freed.
    Mix_HaltChannel(kChannel);
    playing_ = std::move(loaded);
    Play(playing_ ? playing_.get() : beep_.get());
}

void SdlSound::Play(Mix_Chunk* chunk) {
    if (chunk != nullptr) {
        Mix_PlayChannel(kChannel, chunk, 0);
    }
}

}  // namespace quibbix

#include "shell/sdl/SdlMixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "shell/sdl/QuietStderr.h"

namespace quibbix {

namespace {

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
// About 23 ms at 44.1 kHz: an effect starts with its event.
constexpr int kBufferFrames = 1024;

}  // namespace

std::unique_ptr<SdlMixer> SdlMixer::Open() {
    const QuietStderr quiet;
    SdlSubsystem audio(SDL_INIT_AUDIO);
    if (!audio.Ok() || Mix_OpenAudio(kFrequency, AUDIO_S16SYS, kChannels, kBufferFrames) != 0) {
        return nullptr;
    }
    // One channel: every new effect cuts off the one still playing.
    Mix_AllocateChannels(1);
    return std::unique_ptr<SdlMixer>(new SdlMixer(std::move(audio)));
}

SdlMixer::~SdlMixer() {
    const QuietStderr quiet;
    Mix_CloseAudio();
}

}  // namespace quibbix

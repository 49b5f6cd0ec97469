#include "shell/sdl/SdlAudioDevice.h"

#include <SDL.h>

#include "shell/sdl/QuietStderr.h"

namespace quibbix {

std::unique_ptr<SdlAudioDevice> SdlAudioDevice::Open(SdlVoice& voice) {
    const QuietStderr quiet;
    SdlSubsystem audio(SDL_INIT_AUDIO);
    if (!audio.Ok()) {
        return nullptr;
    }
    SDL_AudioSpec wanted{};
    voice.Describe(wanted);
    // SDL converts to whatever the device takes, so the voice always plays its own format.
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (id == 0) {
        return nullptr;
    }
    SDL_PauseAudioDevice(id, 0);
    return std::unique_ptr<SdlAudioDevice>(new SdlAudioDevice(std::move(audio), id));
}

SdlAudioDevice::~SdlAudioDevice() {
    const QuietStderr quiet;
    SDL_CloseAudioDevice(id_);
}

}  // namespace quibbix

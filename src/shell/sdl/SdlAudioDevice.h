#pragma once
#include <cstdint>
#include <memory>
#include <utility>

#include "shell/sdl/SdlSubsystem.h"
#include "shell/sdl/SdlVoice.h"

namespace quibbix {

// The open audio device, playing the voice. SDL's audio subsystem lives exactly as long: an idle
// game holds no connection to the sound server and no audio thread.
class SdlAudioDevice {
public:
    // Starts SDL's audio and opens the default device without a word on standard error; null
    // when there is nothing to play on.
    static std::unique_ptr<SdlAudioDevice> Open(SdlVoice& voice);

    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;
    // Waits for SDL's audio thread to end: as long as the sound server takes to ask for more.
    ~SdlAudioDevice();

private:
    SdlAudioDevice(SdlSubsystem audio, std::uint32_t id) : audio_(std::move(audio)), id_(id) {}

    SdlSubsystem audio_;
    std::uint32_t id_;
};

}  // namespace quibbix

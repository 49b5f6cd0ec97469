#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/platform/Sound.h"
#include "shell/sdl/SdlHandles.h"
#include "shell/sdl/SdlMixer.h"

namespace quibbix {

// Plays the game's .wav files through SDL_mixer. Without an audio device the game plays on in
// silence.
class SdlSound final : public Sound {
public:
    SdlSound();
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;
    ~SdlSound() override;

    // Opens the audio device. Finding out that there is none can take a good part of a second, so
    // the game does it once its window is on screen; until then effects are silent.
    void Open();

    // The file is read afresh every time, so a sound file replaced while the game runs is heard.
    void sndPlaySoundA(const std::string& path, int flags) override;

private:
    void Play(Mix_Chunk* chunk);

    // Declared in the order they depend on each other: the chunks go before the samples they
    // point into, and everything goes before the device.
    std::unique_ptr<SdlMixer> mixer_;
    std::vector<std::uint8_t> beepSamples_;
    ChunkPtr beep_;
    ChunkPtr playing_;  // the last file played, kept until the next one replaces it
};

}  // namespace quibbix

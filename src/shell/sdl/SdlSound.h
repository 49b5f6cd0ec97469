#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "shell/platform/Sound.h"
#include "shell/sdl/SdlDeviceKeeper.h"
#include "shell/sdl/SdlEffect.h"
#include "shell/sdl/SdlEffectCache.h"
#include "shell/sdl/SdlEffectLoader.h"
#include "shell/sdl/SdlVoice.h"

namespace quibbix {

// Plays the game's .wav files through SDL's own audio, on one channel. The audio device is open
// only while the game runs or an effect still sounds: an idle game has no audio thread at all.
// Without an audio device the game plays on in silence.
class SdlSound final : public Sound {
public:
    // Touches no audio yet.
    SdlSound();
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;
    ~SdlSound() override;

    // The file is looked at every time, so a sound file replaced while the game runs is heard.
    // Anything but a regular file of at most 16 MiB that holds a .wav plays the beep instead. A
    // file not read before is read on the loader's thread and starts as soon as it is decoded.
    void sndPlaySoundA(const std::string& path, int flags) override;

    // Told by the event loop whether the game's timer runs. While it does, the device stays open
    // between effects; it is opened at once when play resumes after a stretch that made sound.
    void SetGameRunning(bool running);

private:
    // Plays the effect, or the beep for a file without one, unless a later request came first.
    void Play(std::uint64_t ticket, std::shared_ptr<const SdlEffect> effect);
    void UpdateHold();

    SdlEffectCache effects_;
    std::shared_ptr<const SdlEffect> beep_;  // made before the first request, then never changed
    SdlVoice voice_;
    SdlDeviceKeeper keeper_;  // declared after the voice: the device closes before the voice goes
    SdlEffectLoader loader_;  // declared last: its thread ends before anything it plays with goes
    bool running_ = false;
    bool madeSound_ = false;      // an effect was played in this stretch of play
    bool soundLastTime_ = false;  // one was played in the stretch before
    bool held_ = false;           // what the keeper was last told
};

}  // namespace quibbix

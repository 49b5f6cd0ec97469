#include "shell/sdl/SdlSound.h"

#include <utility>

#include "shell/sdl/SdlBeep.h"

namespace quibbix {

SdlSound::SdlSound() : voice_([this] { keeper_.Wake(); }), keeper_(voice_) {}

SdlSound::~SdlSound() = default;

void SdlSound::sndPlaySoundA(const std::string& path, int /*flags*/) {
    std::shared_ptr<const SdlEffect> effect = effects_.Find(path);
    if (!effect) {
        if (!beep_) {
            beep_ = SynthesizeBeep();
        }
        effect = beep_;
    }
    if (effect) {
        madeSound_ = true;
        voice_.Start(std::move(effect));
        UpdateHold();
    }
}

void SdlSound::SetGameRunning(bool running) {
    if (running == running_) {
        return;
    }
    running_ = running;
    if (running) {
        keeper_.Retry();
    } else {
        soundLastTime_ = std::exchange(madeSound_, false);
    }
    UpdateHold();
}

// A game with sound switched off never opens the device; one with sound gets it back as play
// resumes, ready for the first effect.
void SdlSound::UpdateHold() {
    const bool held = running_ && (madeSound_ || soundLastTime_);
    if (held != held_) {
        held_ = held;
        keeper_.Hold(held);
    }
}

}  // namespace quibbix

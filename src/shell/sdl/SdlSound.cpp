#include "shell/sdl/SdlSound.h"

#include <optional>
#include <utility>

#include "shell/sdl/FileIdentity.h"
#include "shell/sdl/SdlBeep.h"
#include "shell/sdl/SoundFile.h"

namespace quibbix {

SdlSound::SdlSound()
    : voice_([this] { keeper_.Wake(); }),
      keeper_(voice_),
      loader_(effects_, [this](std::uint64_t ticket, std::shared_ptr<const SdlEffect> effect) {
          Play(ticket, std::move(effect));
      }) {}

SdlSound::~SdlSound() = default;

void SdlSound::sndPlaySoundA(const std::string& path, int /*flags*/) {
    if (!beep_) {
        beep_ = SynthesizeBeep();
    }
    madeSound_ = true;
    const std::uint64_t ticket = voice_.Ticket();
    if (const std::optional<FileIdentity> identity = LookAtSoundFile(path); !identity) {
        effects_.Forget(path);
        Play(ticket, nullptr);
    } else if (std::optional<std::shared_ptr<const SdlEffect>> known = effects_.Find(path, *identity)) {
        Play(ticket, std::move(*known));
    } else {
        loader_.Load(path, *identity, ticket);
    }
    UpdateHold();
}

void SdlSound::Play(std::uint64_t ticket, std::shared_ptr<const SdlEffect> effect) {
    if (!effect) {
        effect = beep_;
    }
    if (effect) {
        voice_.Start(ticket, std::move(effect));
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

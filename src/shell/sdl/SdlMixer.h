#pragma once
#include <memory>
#include <utility>

#include "shell/sdl/SdlSubsystem.h"

namespace quibbix {

// The open audio device with its mixer, playing on one channel only.
class SdlMixer {
public:
    // Opens it without a word on standard error; null when there is no device to play on.
    static std::unique_ptr<SdlMixer> Open();

    SdlMixer(const SdlMixer&) = delete;
    SdlMixer& operator=(const SdlMixer&) = delete;
    ~SdlMixer();

private:
    explicit SdlMixer(SdlSubsystem audio) : audio_(std::move(audio)) {}

    SdlSubsystem audio_;
};

}  // namespace quibbix

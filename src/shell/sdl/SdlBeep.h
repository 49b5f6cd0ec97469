#pragma once
#include <memory>

#include "shell/sdl/SdlEffect.h"

namespace quibbix {

// The short beep played when a sound file cannot be: 120 ms at 880 Hz.
std::shared_ptr<const SdlEffect> SynthesizeBeep();

}  // namespace quibbix

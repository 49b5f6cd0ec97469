#pragma once
#include <cstdint>
#include <vector>

namespace quibbix {

// The short beep played when a sound file cannot be: samples in the mixer's own format (an
// SDL AUDIO_* format, frequency and channel count). Empty when SDL cannot produce that format.
std::vector<std::uint8_t> SynthesizeBeep(int frequency, std::uint16_t format, int channels);

}  // namespace quibbix

#pragma once
#include <string>

namespace quibbix {

// Flags of a sound request.
inline constexpr int SND_ASYNC = 1;

// Plays .wav files. Playback starts and the call returns at once; a new sound cuts off the one
// still playing; a file that cannot be played gives a short beep instead.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void sndPlaySoundA(const std::string& path, int flags) = 0;
};

}  // namespace quibbix

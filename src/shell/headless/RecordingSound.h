#pragma once
#include <string>
#include <vector>

#include "shell/platform/Sound.h"

namespace quibbix {

// Remembers every sound request instead of playing it.
class RecordingSound final : public Sound {
public:
    void sndPlaySoundA(const std::string& path, int /*flags*/) override { requests_.push_back(path); }
    const std::vector<std::string>& Requests() const { return requests_; }

private:
    std::vector<std::string> requests_;
};

}  // namespace quibbix

#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "shell/sdl/SdlEffect.h"
#include "shell/sdl/SoundFile.h"

namespace quibbix {

// The effects decoded so far, by path. Every request looks at the file again, and the decoded
// copy serves for as long as the file keeps its identity: a file changed while the game runs is
// heard, and an effect played fifty times a second is read once.
class SdlEffectCache {
public:
    // The effect the file holds now; null when there is none to play (missing, not a regular
    // file, too large, not a .wav SDL can decode).
    std::shared_ptr<const SdlEffect> Find(const std::string& path);

private:
    struct Entry {
        FileIdentity identity;
        std::shared_ptr<const SdlEffect> effect;  // null for a file that holds no playable sound
    };

    std::map<std::string, Entry> entries_;
};

}  // namespace quibbix

#include "shell/sdl/SdlEffectCache.h"

#include <utility>
#include <vector>

namespace quibbix {

std::shared_ptr<const SdlEffect> SdlEffectCache::Find(const std::string& path) {
    const std::optional<FileIdentity> identity = LookAtSoundFile(path);
    if (!identity) {
        entries_.erase(path);
        return nullptr;
    }
    if (const auto known = entries_.find(path);
        known != entries_.end() && known->second.identity == *identity) {
        return known->second.effect;
    }
    // The old copy goes before the new one is read, so two never take memory at once.
    entries_.erase(path);
    std::optional<std::vector<std::uint8_t>> file = ReadSoundFile(path, *identity);
    if (!file) {
        return nullptr;  // changed under our feet: looked at afresh next time
    }
    std::shared_ptr<const SdlEffect> effect = SdlEffect::FromWav(std::move(*file));
    entries_.emplace(path, Entry{*identity, effect});
    return effect;
}

}  // namespace quibbix

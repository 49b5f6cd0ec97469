#include "shell/sdl/SdlEffectCache.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace quibbix {

std::optional<std::shared_ptr<const SdlEffect>> SdlEffectCache::Find(const std::string& path,
                                                                     const FileIdentity& identity) const {
    const std::lock_guard lock(mutex_);
    if (const auto known = entries_.find(path);
        known != entries_.end() && known->second.identity == identity) {
        return known->second.effect;
    }
    return std::nullopt;
}

std::shared_ptr<const SdlEffect> SdlEffectCache::Load(const std::string& path, const FileIdentity& identity) {
    // The old copy goes before the new one is read, so two never take memory at once.
    Forget(path);
    MakeRoom(static_cast<std::size_t>(identity.size));
    std::optional<std::vector<std::uint8_t>> file = ReadSoundFile(path, identity);
    if (!file) {
        return nullptr;  // changed under our feet: looked at afresh next time
    }
    std::shared_ptr<const SdlEffect> effect = SdlEffect::FromWav(std::move(*file));
    const std::lock_guard lock(mutex_);
    entries_.insert_or_assign(path, Entry{identity, effect});
    return effect;
}

void SdlEffectCache::MakeRoom(std::size_t fileBytes) {
    // A file decodes to at most four times its size (ADPCM), and no effect to more than the budget.
    const std::size_t coming = std::min(fileBytes, kMaxEffectBytes / 4) * 4;
    std::map<std::string, Entry> old;  // let go after the lock
    const std::lock_guard lock(mutex_);
    std::size_t held = 0;
    for (const auto& [path, entry] : entries_) {
        held += entry.effect ? entry.effect->Bytes() : 0;
    }
    if (held + coming > kMaxEffectBytes) {
        old.swap(entries_);
    }
}

void SdlEffectCache::Forget(const std::string& path) {
    std::shared_ptr<const SdlEffect> old;  // let go after the lock
    const std::lock_guard lock(mutex_);
    if (const auto known = entries_.find(path); known != entries_.end()) {
        old = std::move(known->second.effect);
        entries_.erase(known);
    }
}

}  // namespace quibbix

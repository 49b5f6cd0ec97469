#include "shell/platform/MemorySettingsStore.h"

namespace quibbix {
namespace {

// Finds or creates an entry without replacing the spelling of an existing one.
template <typename Map>
typename Map::mapped_type& Slot(Map& map, std::string_view name) {
    const auto found = map.find(name);
    if (found != map.end()) {
        return found->second;
    }
    return map.emplace(std::string(name), typename Map::mapped_type{}).first->second;
}

}  // namespace

const MemorySettingsStore::Section* MemorySettingsStore::Find(std::string_view app,
                                                              std::string_view section) const {
    const auto appIt = apps_.find(app);
    if (appIt == apps_.end()) {
        return nullptr;
    }
    const auto sectionIt = appIt->second.find(section);
    return sectionIt == appIt->second.end() ? nullptr : &sectionIt->second;
}

std::string MemorySettingsStore::GetSetting(std::string_view app, std::string_view section,
                                            std::string_view key, std::string_view defaultValue) const {
    if (const Section* values = Find(app, section)) {
        const auto found = values->find(key);
        if (found != values->end()) {
            return found->second;
        }
    }
    return std::string(defaultValue);
}

void MemorySettingsStore::SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                                      std::string_view value) {
    Slot(Slot(Slot(apps_, app), section), key) = std::string(value);
}

std::map<std::string, std::string> MemorySettingsStore::Values(std::string_view app,
                                                               std::string_view section) const {
    const Section* values = Find(app, section);
    return values ? std::map<std::string, std::string>(values->begin(), values->end())
                  : std::map<std::string, std::string>{};
}

}  // namespace quibbix

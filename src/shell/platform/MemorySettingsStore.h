#pragma once
#include <map>
#include <string>
#include <string_view>

#include "shell/platform/AsciiCaseLess.h"
#include "shell/platform/SettingsStore.h"

namespace quibbix {

// Lives in memory only.
class MemorySettingsStore final : public SettingsStore {
public:
    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultValue) const override;
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;
    std::map<std::string, std::string> Values(std::string_view app, std::string_view section) const override;
    void Flush() noexcept override {}
    std::string Refusal() const override { return {}; }

private:
    // A std::map keeps the key object it was first given, which is what preserves the first spelling.
    using Section = std::map<std::string, std::string, AsciiCaseLess>;
    using App = std::map<std::string, Section, AsciiCaseLess>;

    const Section* Find(std::string_view app, std::string_view section) const;

    std::map<std::string, App, AsciiCaseLess> apps_;
};

}  // namespace quibbix

#pragma once
#include <map>
#include <string>
#include <string_view>

namespace quibbix {

// The per-user settings store: string values by application, section and key.
// Application, section and key names compare case-insensitively (ASCII), as in the registry the
// game's settings code was written against.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // A missing key yields defaultValue.
    virtual std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const = 0;
    // Creates the key or replaces its value (in memory until Flush).
    virtual void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                             std::string_view value) = 0;
    // Every key and value of one section, for inspection. Each key is spelled the way it was first
    // written or read.
    virtual std::map<std::string, std::string> Values(std::string_view app,
                                                      std::string_view section) const = 0;
    // Makes the saved values durable; called once when the program ends. Never throws.
    virtual void Flush() = 0;
    // Why the saved values were not, or will not be, made durable, as one sentence naming the
    // place ("/home/ann/settings.ini is not a regular file"); empty when nothing stands in the way.
    virtual std::string Refusal() const = 0;
};

}  // namespace quibbix

#include "shell/DisplayChoice.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace quibbix {

namespace {

constexpr std::string_view kSection = "Display";
// Beyond any screen made: a larger value in the file is a mistake, not a wish.
constexpr int kLargestZoom = 64;

int WholeNumber(const std::string& text) {
    int value = 0;
    const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && rest == text.data() + text.size() ? value : 0;
}

}  // namespace

DisplayChoice LoadDisplayChoice(const SettingsStore& store, std::string_view app) {
    DisplayChoice choice;
    const int zoom = WholeNumber(store.GetSetting(app, kSection, "Zoom", "0"));
    choice.zoom = zoom >= 1 && zoom <= kLargestZoom ? zoom : 0;
    choice.fullScreen = WholeNumber(store.GetSetting(app, kSection, "FullScreen", "0")) != 0;
    return choice;
}

void SaveDisplayChoice(SettingsStore& store, std::string_view app, const DisplayChoice& choice) {
    store.SaveSetting(app, kSection, "Zoom", std::to_string(std::clamp(choice.zoom, 0, kLargestZoom)));
    store.SaveSetting(app, kSection, "FullScreen", choice.fullScreen ? "1" : "0");
}

}  // namespace quibbix

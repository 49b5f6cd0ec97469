#pragma once
#include <string_view>

#include "shell/platform/SettingsStore.h"

namespace quibbix {

// How the player last chose to see the window, kept in the settings under [Display]. Written only
// once the player changes something, so a player who never does gets no such section.
struct DisplayChoice {
    int zoom = 0;  // 0: follow the desktop's scale
    bool fullScreen = false;
};

DisplayChoice LoadDisplayChoice(const SettingsStore& store, std::string_view app);
void SaveZoomChoice(SettingsStore& store, std::string_view app, int zoom);
void SaveFullScreenChoice(SettingsStore& store, std::string_view app, bool fullScreen);

}  // namespace quibbix

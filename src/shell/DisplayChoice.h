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
// Saves both values together, so the section is whole from its first line on.
void SaveDisplayChoice(SettingsStore& store, std::string_view app, const DisplayChoice& choice);

}  // namespace quibbix

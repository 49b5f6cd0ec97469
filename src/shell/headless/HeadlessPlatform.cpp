#include "shell/headless/HeadlessPlatform.h"

#include "shell/platform/FileSettingsStore.h"

namespace quibbix {

namespace {

std::unique_ptr<SettingsStore> MakeStore(const std::string& settingsFile, const std::string& app) {
    if (settingsFile.empty()) {
        return std::make_unique<MemorySettingsStore>();
    }
    return std::make_unique<FileSettingsStore>(settingsFile, app);
}

}  // namespace

HeadlessPlatform::HeadlessPlatform(const std::string& settingsFile, std::string programDir)
    : settings_(MakeStore(settingsFile, App{}.Title)), services_{window_, clock_,  *settings_,
                                                                 sound_,  random_, App{}} {
    services_.app.Path = std::move(programDir);
}

}  // namespace quibbix

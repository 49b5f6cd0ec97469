#pragma once
#include <memory>
#include <string>

#include "shell/headless/HeadlessWindow.h"
#include "shell/headless/RecordingSound.h"
#include "shell/headless/VirtualClock.h"
#include "shell/platform/Platform.h"
#include "shell/platform/Random.h"
#include "shell/platform/SettingsStore.h"

namespace quibbix {

// Everything the main form needs from a platform, without a display or an audio device.
class HeadlessPlatform {
public:
    // With an empty settingsFile the store starts empty and lives in memory.
    HeadlessPlatform(const std::string& settingsFile, std::string programDir);

    Platform& Services() { return services_; }
    VirtualClock& Clock() { return clock_; }
    Random& Rng() { return random_; }
    HeadlessWindow& Window() { return window_; }
    const RecordingSound& Sounds() const { return sound_; }
    SettingsStore& Settings() { return *settings_; }

private:
    VirtualClock clock_;
    HeadlessWindow window_;
    RecordingSound sound_;
    Random random_;
    std::unique_ptr<SettingsStore> settings_;
    Platform services_;
};

}  // namespace quibbix

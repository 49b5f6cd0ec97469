#pragma once
#include "shell/platform/App.h"
#include "shell/platform/Clock.h"
#include "shell/platform/Random.h"
#include "shell/platform/SettingsStore.h"
#include "shell/platform/Sound.h"
#include "shell/platform/WindowBackend.h"

namespace quibbix {

// The services of the windowing platform that the main form uses, provided by a backend.
struct Platform {
    WindowBackend& window;
    const Clock& clock;
    SettingsStore& settings;
    Sound& sound;
    Random& random;
    App app;
};

}  // namespace quibbix

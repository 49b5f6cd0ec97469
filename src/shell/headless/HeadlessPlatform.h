#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/platform/Clock.h"
#include "shell/platform/Platform.h"
#include "shell/platform/Random.h"
#include "shell/platform/SettingsStore.h"
#include "shell/platform/Sound.h"
#include "shell/platform/WindowBackend.h"

namespace quibbix {

// A clock that moves only when told to.
class VirtualClock final : public Clock {
public:
    std::int64_t NowMs() const override { return now_; }
    void Set(std::int64_t ms) { now_ = ms; }

private:
    std::int64_t now_ = 0;
};

// Remembers every sound request instead of playing it.
class RecordingSound final : public Sound {
public:
    void sndPlaySoundA(const std::string& path, int /*flags*/) override { requests_.push_back(path); }
    const std::vector<std::string>& Requests() const { return requests_; }

private:
    std::vector<std::string> requests_;
};

// A window that exists only as the state the game gave it.
class HeadlessWindow final : public WindowBackend {
public:
    // The form keeps the window state itself; there is no window to change.
    void Minimize() override {}
    void Restore() override {}
    void SetBorderless() override {}
    void SetTitle(const std::string& /*title*/) override {}
    void Repaint() override {}
    void BeginDrag() override {}
    void SetCursor(CursorShape /*shape*/) override {}
    void WantKeys(bool /*wanted*/) override {}
    void EndProgram() override { ended_ = true; }

    bool Ended() const { return ended_; }
    // Where the window stands: centred on a 1024 x 768 screen.
    int ScreenLeft() const { return 185; }
    int ScreenTop() const { return 148; }

private:
    bool ended_ = false;
};

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

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "game/FrmMain.h"
#include "shell/platform/App.h"
#include "shell/platform/FileSettingsStore.h"
#include "shell/platform/Platform.h"
#include "shell/platform/Random.h"
#include "shell/sdl/DisplayGuards.h"
#include "shell/sdl/SdlClock.h"
#include "shell/sdl/SdlEventLoop.h"
#include "shell/sdl/SdlSession.h"
#include "shell/sdl/SdlSound.h"
#include "shell/sdl/SdlWindow.h"
#include "shell/session/SessionBus.h"
#include "shell/session/SessionWatcher.h"
#include "shell/session/SingleInstance.h"

namespace {

using namespace quibbix;

// The window opens at the form's size; the form confirms it when attached.
constexpr int kWindowWidth = 654;
constexpr int kWindowHeight = 472;

// The sound effects lie in QUIBBIX_DATA_DIR, a folder given relative to the executable's own, so
// an installed tree works under any prefix: "." in the build tree, where they lie beside it, and
// "../share/games/quibbix" in the Debian package, whose executable is /usr/games/quibbix.
std::string ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::string();
    }
    std::filesystem::path folder = (program.parent_path() / QUIBBIX_DATA_DIR).lexically_normal();
    // "/usr/games/." comes out as "/usr/games/"; the sounds are named with a separator of their own.
    if (!folder.has_filename() && folder.has_relative_path()) {
        folder = folder.parent_path();
    }
    return folder.string();
}

// A later copy waits this long at most for the first one to answer its knock, connecting included.
constexpr std::chrono::seconds kKnockPatience{2};

std::unique_ptr<SettingsStore> OpenSettings(const std::filesystem::path& file, const std::string& app,
                                            const SingleInstance& instance) {
    if (file.empty()) {
        return std::make_unique<MemorySettingsStore>();
    }
    auto store = std::make_unique<FileSettingsStore>(file, app);
    store->KeepRanked(
        {.section = "Settings", .nameKey = "HighScoreName", .scoreKey = "HighScore", .ranks = 10});
    if (instance.Result() == SingleInstance::Claim::kUnlocked) {
        // Without the lock another copy may be writing the same file: this one only reads it.
        store->LeaveUnchanged(instance.Trouble());
    }
    return store;
}

// The token a launcher gives a program it starts, which lets the running copy's window come to
// the front on desktops that refuse focus to windows that ask for it by themselves.
std::string LauncherToken() {
    for (const char* name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        if (const char* token = std::getenv(name); token != nullptr && *token != '\0') {
            return token;
        }
    }
    return std::string();
}

// A later copy raises the first one and steps back, without opening a window.
int StepBack(const SingleInstance& instance) {
    if (instance.Knock(LauncherToken(), kKnockPatience)) {
        return 0;
    }
    std::fprintf(stderr, "quibbix: the copy already running (process %ld) is not answering\n",
                 instance.FirstProcess());
    return 1;
}

int Run(SingleInstance& instance, const std::filesystem::path& settingsFile) {
    const std::string title = App{}.Title;
    DisplayGuards guards;
    std::string why;
    const std::unique_ptr<SdlWindow> window = SdlWindow::Open(title, kWindowWidth, kWindowHeight, why);
    if (!window) {
        std::fprintf(stderr, "quibbix: cannot open a window (%s)\n", why.c_str());
        return 1;
    }
    SdlSound sound;
    const SdlClock clock;
    Random random;
    const std::unique_ptr<SettingsStore> settings = OpenSettings(settingsFile, title, instance);
    App app;
    app.Path = ProgramFolder();
    Platform platform{*window, clock, *settings, sound, random, app};

    FrmMain frmMain(platform);
    window->Attach(frmMain);
    window->UseDisplayChoices(*settings, title);
    frmMain.Load();
    // Only a loaded game has a table worth saving when the display goes. Made after the form and
    // the store, the watch lets go of them before they go.
    const DisplayGuards::Watch watch(window->Native(), [&frmMain, &settings] {
        frmMain.SaveSettings();
        settings->Flush();
    });
    const SdlSession session(*window, instance.TakeListener());
    if (!window->Ended()) {
        window->Show();
        RunEventLoop(*window, frmMain, frmMain.Timer1, clock, sound);
    }
    if (window->Failed()) {
        // The window could no longer be drawn, but the table is still the player's.
        frmMain.SaveSettings();
        settings->Flush();
    }
    if (const std::string refusal = settings->Refusal(); !refusal.empty()) {
        std::fprintf(stderr, "quibbix: settings left unchanged: %s\n", refusal.c_str());
    }
    if (window->Failed()) {
        return 1;
    }
    if (guards.WaylandLost(window->Native())) {
        std::fputs("quibbix: the connection to the display was lost; the settings were saved\n", stderr);
        return 1;
    }
    if (guards.WindowDestroyed()) {
        std::fflush(nullptr);
        std::_Exit(0);
    }
    return 0;
}

}  // namespace

int main() {
    // Sound effects are decoded into blocks of up to 16 MiB on one thread and freed on another.
    // glibc would raise its mmap threshold after the first such free and keep later blocks in
    // heaps that never shrink; a fixed threshold hands each back to the system when it is freed.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    try {
        const std::filesystem::path settingsFile = FileSettingsStore::DefaultPath(App{}.Title);
        // Decided before any window opens, so a later copy never flashes one, and while the ending
        // signals still end it at once.
        SingleInstance instance(settingsFile);
        if (instance.Result() == SingleInstance::Claim::kSecond) {
            return StepBack(instance);
        }
        // Before SDL starts a thread or a library looks for a bus.
        BlockEndingSignals();
        KeepToTheSessionBus();
        return Run(instance, settingsFile);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quibbix: %s\n", error.what());
        return 1;
    }
}

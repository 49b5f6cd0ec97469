#include <cstdio>
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
#include "shell/sdl/SdlClock.h"
#include "shell/sdl/SdlEventLoop.h"
#include "shell/sdl/SdlSound.h"
#include "shell/sdl/SdlWindow.h"

namespace {

using namespace quibbix;

// The window opens at the form's size; the form confirms it when attached.
constexpr int kWindowWidth = 654;
constexpr int kWindowHeight = 472;

// The sound effects lie beside the program, wherever it was installed.
std::string ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

std::unique_ptr<SettingsStore> OpenSettings(const std::string& app) {
    const std::filesystem::path file = FileSettingsStore::DefaultPath(app);
    if (file.empty()) {
        return std::make_unique<MemorySettingsStore>();
    }
    return std::make_unique<FileSettingsStore>(file, app);
}

int Run() {
    const std::string title = App{}.Title;
    const std::unique_ptr<SdlWindow> window = SdlWindow::Open(title, kWindowWidth, kWindowHeight);
    if (!window) {
        std::fputs("quibbix: cannot open a window (no display?)\n", stderr);
        return 1;
    }
    SdlSound sound;
    const SdlClock clock;
    Random random;
    const std::unique_ptr<SettingsStore> settings = OpenSettings(title);
    App app;
    app.Path = ProgramFolder();
    Platform platform{*window, clock, *settings, sound, random, app};

    FrmMain frmMain(platform);
    window->Attach(frmMain);
    frmMain.Load();
    if (!window->Ended()) {
        window->Show();
        RunEventLoop(*window, frmMain, frmMain.Timer1, clock, sound);
    }
    return 0;
}

}  // namespace

int main() {
    try {
        return Run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quibbix: %s\n", error.what());
        return 1;
    }
}

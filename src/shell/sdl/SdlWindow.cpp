#include "shell/sdl/SdlWindow.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>

#include "shell/sdl/QuietStderr.h"
#include "shell/sdl/SdlDesktop.h"
#include "shell/sdl/SdlImage.h"

namespace quibbix {

namespace {

// The desktop file's ID: docks and task bars match the window to its icon and name by it.
constexpr const char* kDesktopId = "io.github.quibbix.Quibbix";

void SetWindowIcon(SDL_Window* window) {
    std::optional<Image> icon = EmbeddedImage("program_icon.png");
    if (!icon) {
        return;
    }
    if (const SurfacePtr surface = BorrowSurface(*icon)) {
        SDL_SetWindowIcon(window, surface.get());
    }
}

// SDL falls back to drivers that draw into memory when it finds no display. Unless the player
// asked for one of them, a window nobody can see means there is no display.
bool ShowsNothing(const char* driver) {
    const char* const chosen = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (driver == nullptr || (chosen != nullptr && *chosen != '\0')) {
        return false;
    }
    for (const std::string_view invisible : {"offscreen", "dummy", "evdev"}) {
        if (invisible == driver) {
            return true;
        }
    }
    return false;
}

// Starts the video subsystem on a display the player can see, or not at all. The display
// libraries tried on the way report their failures on standard error; the program says it once.
std::optional<SdlSubsystem> StartVideo() {
    const QuietStderr quiet;
    SdlSubsystem video(SDL_INIT_VIDEO);
    if (!video.Ok() || ShowsNothing(SDL_GetCurrentVideoDriver())) {
        return std::nullopt;
    }
    return video;
}

}  // namespace

std::unique_ptr<SdlWindow> SdlWindow::Open(const std::string& title, int width, int height,
                                           std::string& error) {
    // SDL names the window's class (X11) and application (Wayland) from these when it starts; a
    // name the player set is kept.
    setenv("SDL_VIDEO_X11_WMCLASS", kDesktopId, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", kDesktopId, 0);
    // The game draws every pixel itself into a plain surface: a GPU renderer would only add
    // start-up time and a driver to go wrong.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A small windowed game has no business keeping the screen awake or bypassing the compositor.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // Ctrl+C, kill and a closed terminal end the game through its own exit; the session watcher
    // reads them, and SDL's handlers would only interfere.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_APP_NAME, title.c_str());

    std::optional<SdlSubsystem> video = StartVideo();
    if (!video) {
        error = "no display";
        return nullptr;
    }
    WindowPtr window = CreateWindow(title.c_str(), {width, height}, error);
    if (!window) {
        return nullptr;
    }
    std::unique_ptr<SdlPresenter> presenter = MakePresenter(window.get(), error);
    if (!presenter) {
        error = "no way to draw into it: " + (error.empty() ? std::string("unknown reason") : error);
        return nullptr;
    }
    return std::unique_ptr<SdlWindow>(
        new SdlWindow(std::move(*video), std::move(window), std::move(presenter)));
}

WindowPtr SdlWindow::CreateWindow(const char* title, SizePx size, std::string& error) {
    // High DPI lets a Wayland window be drawn in screen pixels rather than enlarged by the compositor.
    WindowPtr window(SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.width,
                                      size.height,
                                      SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI));
    if (!window) {
        error = SDL_GetError();
    }
    return window;
}

SdlWindow::SdlWindow(SdlSubsystem video, WindowPtr window, std::unique_ptr<SdlPresenter> presenter)
    : video_(std::move(video)), window_(std::move(window)), presenter_(std::move(presenter)) {
    Dress();
}

void SdlWindow::Dress() {
    SetWindowIcon(window_.get());
    // SDL starts with text input on; keys are only read while a control asks for them.
    SDL_StopTextInput();
}

SdlWindow::~SdlWindow() = default;

void SdlWindow::Show() {
    SDL_ShowWindow(window_.get());
    shown_ = true;
    PlaceFrame();
    PresentAll();
}

void SdlWindow::PresentChanges() {
    if (form_ == nullptr || ended_) {
        return;
    }
    std::vector<RectPx> dirty = form_->TakeDirty();
    if (!shown_ || (dirty.empty() && !everything_)) {
        return;
    }
    const bool everything = std::exchange(everything_, false);
    if (!presenter_->Present(*form_, dirty, everything, view_)) {
        // A game nobody can see is not played on.
        std::fprintf(stderr, "quibbix: cannot draw the window: %s\n", presenter_->Error().c_str());
        failed_ = true;
        ended_ = true;
    }
}

void SdlWindow::PresentAll() {
    everything_ = true;
    PresentChanges();
}

void SdlWindow::Minimize() {
    MinimizeWindow(window_.get());
}

void SdlWindow::Restore() {
    SDL_RestoreWindow(window_.get());
}

void SdlWindow::SetBorderless() {
    // Some window managers redecorate a window each time its border is toggled, so only a window
    // that really has one is told to drop it.
    if ((SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_BORDERLESS) == 0) {
        SDL_SetWindowBordered(window_.get(), SDL_FALSE);
    }
}

void SdlWindow::SetTitle(const std::string& title) {
    SDL_SetWindowTitle(window_.get(), title.c_str());
}

void SdlWindow::SetCursor(CursorShape shape) {
    cursors_.Show(shape);
}

void SdlWindow::WantKeys(bool wanted) {
    if (wanted) {
        SDL_StartTextInput();
    } else {
        SDL_StopTextInput();
    }
}

}  // namespace quibbix

#include "shell/sdl/SdlWindow.h"

#include <SDL.h>

#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

#include "shell/platform/Compositor.h"
#include "shell/sdl/QuietStderr.h"
#include "shell/sdl/SdlImage.h"

namespace quibbix {

namespace {

void SetWindowIcon(SDL_Window* window) {
    std::optional<Image> icon = EmbeddedImage("program_icon.png");
    if (!icon) {
        return;
    }
    if (const SurfacePtr surface = BorrowSurface(*icon)) {
        SDL_SetWindowIcon(window, surface.get());
    }
}

// The window manager moves the window when the background is grabbed with the left button, as
// it would by a title bar; over a control the press is the game's.
SDL_HitTestResult HitTest(SDL_Window* /*window*/, const SDL_Point* point, void* data) {
    const Form* form = static_cast<const Form*>(data);
    return form->ControlAt(point->x, point->y) == nullptr ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
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

bool IsXrgb(std::uint32_t format) {
    return format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888;
}

}  // namespace

std::unique_ptr<SdlWindow> SdlWindow::Open(const std::string& title, int width, int height) {
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
        return nullptr;
    }
    WindowPtr window(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                      height, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS));
    if (!window) {
        return nullptr;
    }
    return std::unique_ptr<SdlWindow>(new SdlWindow(std::move(*video), std::move(window)));
}

SdlWindow::SdlWindow(SdlSubsystem video, WindowPtr window)
    : video_(std::move(video)), window_(std::move(window)) {
    SetWindowIcon(window_.get());
    // SDL starts with text input on; keys are only read while a control asks for them.
    SDL_StopTextInput();
}

SdlWindow::~SdlWindow() = default;

void SdlWindow::Attach(Form& form) {
    form_ = &form;
    const RectPx bounds = form.Bounds();
    frame_ = Image(bounds.Width(), bounds.Height());
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window_.get(), &width, &height);
    if (width != bounds.Width() || height != bounds.Height()) {
        SDL_SetWindowSize(window_.get(), bounds.Width(), bounds.Height());
        SDL_SetWindowPosition(window_.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    SDL_SetWindowHitTest(window_.get(), HitTest, form_);
}

void SdlWindow::Show() {
    Compose();
    SDL_ShowWindow(window_.get());
    shown_ = true;
    PresentAll();
}

std::vector<RectPx> SdlWindow::Compose() {
    if (form_ == nullptr) {
        return {};
    }
    std::vector<RectPx> dirty = form_->TakeDirty();
    for (const RectPx& area : dirty) {
        quibbix::Compose(*form_, frame_, area);
    }
    return dirty;
}

void SdlWindow::PresentChanges() {
    Blit(Compose());
}

void SdlWindow::PresentAll() {
    Compose();
    Blit({frame_.Bounds()});
}

void SdlWindow::Blit(const std::vector<RectPx>& areas) {
    if (!shown_ || areas.empty()) {
        return;
    }
    // Fetched every time: SDL hands back the surface it has while it is still good and makes a
    // new one after the window system replaced it, so a stale pointer is never drawn into.
    SDL_Surface* surface = SDL_GetWindowSurface(window_.get());
    if (surface == nullptr) {
        return;
    }
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
        return;
    }
    std::vector<SDL_Rect> rects;
    for (RectPx area : areas) {
        area = Intersect(area, Intersect(frame_.Bounds(), RectPx{0, 0, surface->w, surface->h}));
        if (!area.Empty()) {
            CopyToSurface(area, *surface);
            rects.push_back({area.left, area.top, area.Width(), area.Height()});
        }
    }
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
    if (!rects.empty()) {
        SDL_UpdateWindowSurfaceRects(window_.get(), rects.data(), static_cast<int>(rects.size()));
    }
}

void SdlWindow::CopyToSurface(RectPx area, SDL_Surface& surface) const {
    const Argb* source = frame_.Row(area.top) + area.left;
    const int sourcePitch = frame_.Width() * static_cast<int>(sizeof(Argb));
    auto* target = static_cast<std::uint8_t*>(surface.pixels) + area.top * surface.pitch +
                   area.left * surface.format->BytesPerPixel;
    if (IsXrgb(surface.format->format)) {
        const std::size_t rowBytes = static_cast<std::size_t>(area.Width()) * sizeof(Argb);
        for (int y = 0; y < area.Height(); ++y) {
            std::memcpy(target + y * surface.pitch, source + y * frame_.Width(), rowBytes);
        }
    } else {
        SDL_ConvertPixels(area.Width(), area.Height(), SDL_PIXELFORMAT_ARGB8888, source, sourcePitch,
                          surface.format->format, target, surface.pitch);
    }
}

void SdlWindow::BeginDrag() {
    // The form asks for a drag from inside a press; at any other time there is no button to follow.
    if (pressing_ == 0) {
        return;
    }
    dragButton_ = pressing_;
    SDL_GetGlobalMouseState(&grabX_, &grabY_);
    SDL_GetWindowPosition(window_.get(), &startX_, &startY_);
    movedX_ = startX_;
    movedY_ = startY_;
}

void SdlWindow::FollowPointer() {
    if (!Dragging()) {
        return;
    }
    int x = 0;
    int y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    x += startX_ - grabX_;
    y += startY_ - grabY_;
    // Moving a window makes the X11 driver wait for the window manager: only real moves are asked for.
    if (x != movedX_ || y != movedY_) {
        movedX_ = x;
        movedY_ = y;
        SDL_SetWindowPosition(window_.get(), x, y);
    }
}

bool SdlWindow::EndsDrag(std::uint8_t button) {
    if (dragButton_ == 0 || button != dragButton_) {
        return false;
    }
    dragButton_ = 0;
    return true;
}

void SdlWindow::Minimize() {
    SDL_MinimizeWindow(window_.get());
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

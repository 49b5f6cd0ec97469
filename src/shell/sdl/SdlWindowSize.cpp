// How large the window is: its zoom, full screen, and where the frame stands inside it.
#include <SDL.h>

#include <algorithm>
#include <string>
#include <utility>

#include "shell/DisplayChoice.h"
#include "shell/sdl/SdlDesktop.h"
#include "shell/sdl/SdlWindow.h"

namespace quibbix {

namespace {

// The window manager moves the window when the background is grabbed with the left button, as
// it would by a title bar; over a control the press is the game's. A full screen stays put.
SDL_HitTestResult HitTest(SDL_Window* /*window*/, const SDL_Point* point, void* data) {
    return static_cast<const SdlWindow*>(data)->DraggableAt(point->x, point->y) ? SDL_HITTEST_DRAGGABLE
                                                                                : SDL_HITTEST_NORMAL;
}

}  // namespace

void SdlWindow::Attach(Form& form) {
    form_ = &form;
    SetZoom(zoom_, false);
    SDL_SetWindowHitTest(window_.get(), HitTest, this);
}

void SdlWindow::Reopen(SizePx size) {
    std::string error;
    WindowPtr window = CreateWindow(SDL_GetWindowTitle(window_.get()), size, error);
    std::unique_ptr<SdlPresenter> presenter = window ? MakePresenter(window.get(), error) : nullptr;
    if (!presenter) {
        // The window as it is still works: its first frame is merely the wrong size.
        return;
    }
    // The old renderer goes before its window.
    presenter_ = std::move(presenter);
    window_ = std::move(window);
    Dress();
    SDL_SetWindowHitTest(window_.get(), HitTest, this);
}

bool SdlWindow::DraggableAt(int x, int y) const {
    if (fullScreen_ || form_ == nullptr) {
        return false;
    }
    const PointPx at = ToFrame(x, y);
    return form_->Bounds().Contains(at.x, at.y) && form_->ControlAt(at.x, at.y) == nullptr;
}

SizePx SdlWindow::FrameSize() const {
    const RectPx bounds = form_ != nullptr ? form_->Bounds() : RectPx{};
    return {bounds.Width(), bounds.Height()};
}

double SdlWindow::PixelScaleNow() const {
    return PixelScale(window_.get(), presenter_->OutputSize());
}

int SdlWindow::LargestWindowZoom() const {
    const SizePx usable = UsableArea(window_.get(), PixelScaleNow());
    return usable.width > 0 ? LargestZoom(FrameSize(), usable) : zoom_;
}

int SdlWindow::DesktopZoom() const {
    const double scale = PixelScaleNow();
    const SizePx usable = UsableArea(window_.get(), scale);
    const SizePx frame = FrameSize();
    // Without a usable area the window grows no larger than it is.
    const SizePx area = usable.width > 0 ? usable : SizePx{frame.width * zoom_, frame.height * zoom_};
    return quibbix::DesktopZoom(DesktopScaleOf(window_.get(), scale), frame, area);
}

void SdlWindow::UseDisplayChoices(SettingsStore& settings, std::string app) {
    settings_ = &settings;
    app_ = std::move(app);
    const DisplayChoice choice = LoadDisplayChoice(settings, app_);
    zoomChoice_ = choice.zoom;
    const int zoom = choice.zoom > 0 ? std::min(choice.zoom, LargestWindowZoom()) : DesktopZoom();
    SizePx opened;
    SDL_GetWindowSize(window_.get(), &opened.width, &opened.height);
    if (const SizePx size = WindowSize(FrameSize(), zoom, PixelScaleNow()); size != opened && !shown_) {
        Reopen(size);
    }
    SetZoom(zoom, false);
    if (choice.fullScreen) {
        SetFullScreen(true);
    }
}

bool SdlWindow::PlacesItself() const {
    const char* const driver = SDL_GetCurrentVideoDriver();
    return driver == nullptr || SDL_strcmp(driver, "wayland") != 0;
}

void SdlWindow::SetZoom(int zoom, bool keepCentre) {
    zoom_ = std::max(1, zoom);
    const auto [width, height] = WindowSize(FrameSize(), zoom_, PixelScaleNow());
    int oldWidth = 0;
    int oldHeight = 0;
    int x = 0;
    int y = 0;
    SDL_GetWindowSize(window_.get(), &oldWidth, &oldHeight);
    SDL_GetWindowPosition(window_.get(), &x, &y);
    if (width != oldWidth || height != oldHeight) {
        // A Wayland window cannot place itself, and grows from its top-left corner, off the output
        // if it was placed for a smaller size. Shown anew, it is placed by the compositor again.
        const bool replace = keepCentre && shown_ && !PlacesItself();
        if (replace) {
            SDL_HideWindow(window_.get());
        }
        SDL_SetWindowSize(window_.get(), width, height);
        if (replace) {
            SDL_ShowWindow(window_.get());
        } else if (keepCentre) {
            SDL_SetWindowPosition(window_.get(), x + (oldWidth - width) / 2, y + (oldHeight - height) / 2);
        } else {
            SDL_Rect display{0, 0, 0, 0};
            SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_.get())), &display);
            SDL_SetWindowPosition(window_.get(), display.x + (display.w - width) / 2,
                                  display.y + (display.h - height) / 2);
            // The X11 driver must hear of the move while the window is still unmapped: read after the
            // window manager has framed it, the news would count the window's offset twice.
            SDL_PumpEvents();
        }
    }
    PlaceFrame();
}

void SdlWindow::ZoomBy(int step) {
    if (fullScreen_ || form_ == nullptr) {
        return;
    }
    const int zoom = std::clamp(zoom_ + step, 1, std::max(zoom_, LargestWindowZoom()));
    if (zoom == zoom_) {
        return;
    }
    SetZoom(zoom, true);
    zoomChoice_ = zoom_;
    SaveChoices();
}

void SdlWindow::ZoomToDesktop() {
    if (fullScreen_ || form_ == nullptr) {
        return;
    }
    SetZoom(DesktopZoom(), true);
    zoomChoice_ = 0;
    SaveChoices();
}

void SdlWindow::ToggleFullScreen() {
    SetFullScreen(!fullScreen_);
    SaveChoices();
}

void SdlWindow::SaveChoices() {
    if (settings_ != nullptr) {
        SaveDisplayChoice(*settings_, app_, {zoomChoice_, fullScreen_});
    }
}

void SdlWindow::LeaveFullScreen() {
    if (fullScreen_) {
        ToggleFullScreen();
    }
}

void SdlWindow::SetFullScreen(bool on) {
    EndDrag();
    // SDL keeps the window's own size and place and gives them back when full screen ends.
    if (SDL_SetWindowFullscreen(window_.get(), on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        return;
    }
    fullScreen_ = on;
    PlaceFrame();
}

void SdlWindow::SizeChanged() {
    PlaceFrame();
    PresentAll();
}

void SdlWindow::PlaceFrame() {
    const SizePx output = presenter_->OutputSize();
    SizePx window;
    SDL_GetWindowSize(window_.get(), &window.width, &window.height);
    Viewport view = WindowViewport(FrameSize(), zoom_, output, window);
    if (fullScreen_) {
        view = FullScreenViewport(FrameSize(), output);
        view.scale = PixelScale(window_.get(), output);
    }
    if (view != view_) {
        view_ = view;
        everything_ = true;
    }
}

}  // namespace quibbix

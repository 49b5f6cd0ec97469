// How large the window is: its zoom, full screen, and where the frame stands inside it.
#include <SDL.h>

#include <algorithm>

#include "shell/DisplaySettings.h"
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

int SdlWindow::PixelScaleNow() const {
    return PixelScale(window_.get(), presenter_->OutputSize());
}

int SdlWindow::LargestWindowZoom() const {
    const int scale = PixelScaleNow();
    const SizePx usable = UsableArea(window_.get(), scale);
    return usable.width > 0 ? LargestZoom(FrameSize(), usable) : zoom_;
}

int SdlWindow::DesktopZoom() const {
    return std::min(DesktopScaleOf(window_.get(), PixelScaleNow()), LargestWindowZoom());
}

void SdlWindow::UseDisplayChoices(SettingsStore& settings, std::string app) {
    settings_ = &settings;
    app_ = std::move(app);
    const DisplayChoice choice = LoadDisplayChoice(settings, app_);
    zoomChoice_ = choice.zoom;
    SetZoom(choice.zoom > 0 ? std::min(choice.zoom, LargestWindowZoom()) : DesktopZoom(), false);
    if (choice.fullScreen) {
        SetFullScreen(true);
    }
}

void SdlWindow::SetZoom(int zoom, bool keepCentre) {
    zoom_ = std::max(1, zoom);
    const int scale = PixelScaleNow();
    const SizePx frame = FrameSize();
    // A window counted in units of several screen pixels rounds up: the frame never gets cut.
    const int width = (frame.width * zoom_ + scale - 1) / scale;
    const int height = (frame.height * zoom_ + scale - 1) / scale;
    int oldWidth = 0;
    int oldHeight = 0;
    int x = 0;
    int y = 0;
    SDL_GetWindowSize(window_.get(), &oldWidth, &oldHeight);
    SDL_GetWindowPosition(window_.get(), &x, &y);
    if (width != oldWidth || height != oldHeight) {
        SDL_SetWindowSize(window_.get(), width, height);
        if (keepCentre) {
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
    Viewport view{zoom_, 0, 0, PixelScale(window_.get(), output)};
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

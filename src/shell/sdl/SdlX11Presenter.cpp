#include "shell/sdl/SdlX11Presenter.h"

#include <SDL.h>

#include <string>

#include "shell/platform/Compositor.h"
#include "shell/sdl/SdlSurfacePresenter.h"

namespace quibbix {

SizePx SdlX11Presenter::OutputSize() const {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    return {width, height};
}

bool SdlX11Presenter::Present(const Form& form, const std::vector<RectPx>& areas, bool everything,
                              const Viewport& view) {
    if (!scaler_ && !surface_) {
        const RectPx bounds = form.Bounds();
        scaler_ = X11Scaler::Make(window_, {bounds.Width(), bounds.Height()});
        if (!scaler_) {
            surface_ = SdlSurfacePresenter::Make(window_);
            if (!surface_) {
                return Fail(std::string("SDL has no window surface: ") + SDL_GetError());
            }
        }
    }
    if (surface_) {
        return surface_->Present(form, areas, everything, view) || Fail(surface_->Error());
    }
    const SizePx output = OutputSize();
    everything = everything || view != lastView_ || output != lastOutput_;
    lastView_ = view;
    lastOutput_ = output;
    PresentShared(form, areas, everything, view);
    return true;
}

void SdlX11Presenter::PresentShared(const Form& form, const std::vector<RectPx>& areas, bool everything,
                                    const Viewport& view) {
    const RectPx bounds = form.Bounds();
    if (everything) {
        const SizePx output = OutputSize();
        for (const RectPx& band : Around({0, 0, output.width, output.height}, view.ToScreen(bounds))) {
            scaler_->Clear(band);
        }
    }
    for (const RectPx& area : everything ? std::vector<RectPx>{bounds} : areas) {
        Compose(form, scaler_->Frame(), area);
        scaler_->Show(area, view);
    }
    // The next frame is composed into memory the server reads: it must have read it by then. A
    // lost connection never returns here: Xlib calls the game's handler, which saves and exits.
    scaler_->Finish();
}

}  // namespace quibbix

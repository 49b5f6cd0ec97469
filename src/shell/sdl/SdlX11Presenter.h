#pragma once
#include <memory>

#include "shell/sdl/SdlPresenter.h"
#include "shell/sdl/SdlSurfacePresenter.h"
#include "shell/sdl/X11Scaler.h"

namespace quibbix {

// The presenter of an X11 window. At zoom 1 the form goes into SDL's window surface as everywhere
// else; zoomed or in full screen, the X server enlarges it (X11Scaler), so the game writes no
// more pixels than at zoom 1. Without a server that can, SDL's window surface enlarges it too.
class SdlX11Presenter final : public SdlPresenter {
public:
    SdlX11Presenter(SDL_Window* window, std::unique_ptr<SdlSurfacePresenter> surface)
        : window_(window), surface_(std::move(surface)) {}

    bool Present(const Form& form, const std::vector<RectPx>& areas, bool everything,
                 const Viewport& view) override;
    SizePx OutputSize() const override { return surface_->OutputSize(); }

private:
    bool PresentScaled(const Form& form, const std::vector<RectPx>& areas, bool everything,
                       const Viewport& view);

    SDL_Window* window_;
    std::unique_ptr<SdlSurfacePresenter> surface_;
    std::unique_ptr<X11Scaler> scaler_;  // made the first time the frame is enlarged
    bool scalerRefused_ = false;
    // How the last present went: a change of way, zoom or window size repaints everything.
    bool lastScaled_ = false;
    Viewport lastView_;
    SizePx lastOutput_;
};

}  // namespace quibbix

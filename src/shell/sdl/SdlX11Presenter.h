#pragma once
#include <memory>

#include "shell/sdl/SdlPresenter.h"
#include "shell/sdl/X11Scaler.h"

namespace quibbix {

// The presenter of an X11 window. The form is composed into memory the game shares with the X
// server alone (X11Scaler, mode 0600), which the server copies into the window at zoom 1 and
// enlarges otherwise, so the game writes no more pixels zoomed than at zoom 1. SDL's own window
// surface is never made: on a local server it lies in shared memory anyone may read and write. A
// server that cannot share memory with the game (a remote display) gets SDL's window surface.
class SdlX11Presenter final : public SdlPresenter {
public:
    explicit SdlX11Presenter(SDL_Window* window) : window_(window) {}

    bool Present(const Form& form, const std::vector<RectPx>& areas, bool everything,
                 const Viewport& view) override;
    SizePx OutputSize() const override;

private:
    void PresentShared(const Form& form, const std::vector<RectPx>& areas, bool everything,
                       const Viewport& view);

    SDL_Window* window_;
    std::unique_ptr<X11Scaler> scaler_;      // made at the first present
    std::unique_ptr<SdlPresenter> surface_;  // SDL's window surface, where the scaler cannot be had
    // How the last present went: a change of zoom or window size repaints everything.
    Viewport lastView_;
    SizePx lastOutput_;
};

}  // namespace quibbix

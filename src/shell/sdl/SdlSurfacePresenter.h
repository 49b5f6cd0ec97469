#pragma once
#include <cstdint>
#include <memory>

#include "shell/platform/Image.h"
#include "shell/sdl/SdlPresenter.h"

struct SDL_Surface;

namespace quibbix {

// Draws into SDL's window surface and updates only the rectangles that changed. At zoom 1 the
// form is composed straight into the surface; otherwise into a frame of its own, whose changed
// parts are then enlarged into the surface.
class SdlSurfacePresenter final : public SdlPresenter {
public:
    // Null when SDL has no window surface for this window.
    static std::unique_ptr<SdlSurfacePresenter> Make(SDL_Window* window);

    bool Present(const Form& form, const std::vector<RectPx>& areas, bool everything,
                 const Viewport& view) override;
    SizePx OutputSize() const override;

private:
    explicit SdlSurfacePresenter(SDL_Window* window) : window_(window) {}
    // The surface SDL made anew since the last present, whose pixels are all unknown.
    bool IsNew(const SDL_Surface& surface);
    std::vector<RectPx> Draw(const Form& form, const std::vector<RectPx>& areas, bool everything,
                             const Viewport& view, SDL_Surface& surface);

    SDL_Window* window_;
    // What the surface shows, and the form painted anew before it is compared with that.
    Image frame_;
    Image next_;
    // Presents left that enlarge whole areas without comparing them first.
    int denseTicks_ = 0;
    const SDL_Surface* lastSurface_ = nullptr;
    const void* lastPixels_ = nullptr;
    SizePx lastSize_;
};

}  // namespace quibbix

// The choice of presenter, kept apart from the base class so that it depends on none of its kinds.
#include <SDL.h>

#include "shell/sdl/SdlPresenter.h"
#include "shell/sdl/SdlSurfacePresenter.h"
#include "shell/sdl/SdlTexturePresenter.h"
#include "shell/sdl/SdlX11Presenter.h"

namespace quibbix {

std::unique_ptr<SdlPresenter> MakePresenter(SDL_Window* window, std::string& error) {
    if (SDL_GetCurrentVideoDriver() != nullptr && SDL_strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0) {
        return std::make_unique<SdlX11Presenter>(window);
    }
    if (std::unique_ptr<SdlSurfacePresenter> surface = SdlSurfacePresenter::Make(window)) {
        return surface;
    }
    return SdlTexturePresenter::Make(window, error);
}

}  // namespace quibbix

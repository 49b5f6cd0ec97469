#include "shell/sdl/SdlPresenter.h"

#include <SDL.h>

#include "shell/sdl/SdlSurfacePresenter.h"
#include "shell/sdl/SdlTexturePresenter.h"
#include "shell/sdl/SdlX11Presenter.h"

namespace quibbix {

bool SdlPresenter::Fail(std::string what) {
    error_ = what.empty() ? "the window system refused to show the window" : std::move(what);
    return false;
}

std::unique_ptr<SdlPresenter> MakePresenter(SDL_Window* window, std::string& error) {
    if (std::unique_ptr<SdlSurfacePresenter> surface = SdlSurfacePresenter::Make(window)) {
        if (SDL_GetCurrentVideoDriver() != nullptr && SDL_strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0) {
            return std::make_unique<SdlX11Presenter>(window, std::move(surface));
        }
        return surface;
    }
    return SdlTexturePresenter::Make(window, error);
}

}  // namespace quibbix

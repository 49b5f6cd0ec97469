// A page draws through the canvas's window surface; no X server enlarges it.
#include <SDL.h>

#include "shell/sdl/SdlPresenter.h"
#include "shell/sdl/SdlSurfacePresenter.h"
#include "shell/sdl/SdlTexturePresenter.h"

namespace quibbix {

std::unique_ptr<SdlPresenter> MakePresenter(SDL_Window* window, std::string& error) {
    if (std::unique_ptr<SdlSurfacePresenter> surface = SdlSurfacePresenter::Make(window)) {
        return surface;
    }
    return SdlTexturePresenter::Make(window, error);
}

}  // namespace quibbix

#include "shell/sdl/SdlPresenter.h"

#include "shell/sdl/SdlSurfacePresenter.h"
#include "shell/sdl/SdlTexturePresenter.h"

namespace quibbix {

bool SdlPresenter::Fail(std::string what) {
    error_ = what.empty() ? "the window system refused to show the window" : std::move(what);
    return false;
}

std::unique_ptr<SdlPresenter> MakePresenter(SDL_Window* window, std::string& error) {
    if (std::unique_ptr<SdlPresenter> surface = SdlSurfacePresenter::Make(window)) {
        return surface;
    }
    return SdlTexturePresenter::Make(window, error);
}

}  // namespace quibbix

#include "shell/sdl/SdlWindowInfo.h"

namespace quibbix {

std::optional<SDL_SysWMinfo> WindowInfo(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE) {
        return std::nullopt;
    }
    return info;
}

}  // namespace quibbix

#pragma once
#include <SDL.h>
#include <SDL_syswm.h>

#include <optional>

namespace quibbix {

// What the window system says of `window`: its X11 display and window, or its Wayland display and
// surface. Empty for no window, or when SDL cannot tell.
std::optional<SDL_SysWMinfo> WindowInfo(SDL_Window* window);

}  // namespace quibbix

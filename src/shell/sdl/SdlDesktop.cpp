#include "shell/sdl/SdlDesktop.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace quibbix {

int PixelScale(SDL_Window* window, SizePx output) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    return width > 0 ? std::max(1, output.width / width) : 1;
}

SizePx UsableArea(SDL_Window* window, int pixelScale) {
    SDL_Rect usable{0, 0, 0, 0};
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window));
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) {
        return {0, 0};
    }
    return {usable.w * pixelScale, usable.h * pixelScale};
}

int DesktopScaleOf(SDL_Window* window, int pixelScale) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        // Wayland draws a window at its output's scale by itself: that is the desktop's wish.
        return pixelScale;
    }
    std::optional<std::string_view> gdkScale;
    if (const char* value = std::getenv("GDK_SCALE")) {
        gdkScale = value;
    }
    std::optional<std::string_view> resources;
    if (const char* text = XResourceManagerString(info.info.x11.display)) {
        resources = text;
    }
    return quibbix::DesktopScale(gdkScale, resources);
}

}  // namespace quibbix

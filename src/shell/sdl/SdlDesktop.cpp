#include "shell/sdl/SdlDesktop.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "shell/platform/DesktopScale.h"
#include "shell/sdl/SdlWindowInfo.h"

namespace quibbix {

namespace {

SizePx InScreenPixels(const SDL_Rect& area, double pixelScale) {
    const auto pixels = [&](int units) {
        return static_cast<int>(std::clamp(std::floor(units * pixelScale), 0.0, 1e9));
    };
    return {pixels(area.w), pixels(area.h)};
}

}  // namespace

double PixelScale(SDL_Window* window, SizePx output) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    return width > 0 && output.width > 0 ? static_cast<double>(output.width) / width : 1.0;
}

SizePx UsableArea(SDL_Window* window, double pixelScale) {
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &usable) == 0 &&
        usable.w > 0 && usable.h > 0) {
        return InScreenPixels(usable, pixelScale);
    }
    // A compositor that has not yet said where the window is: the largest display it could be on.
    SizePx largest;
    for (int display = 0; display < SDL_GetNumVideoDisplays(); ++display) {
        SDL_Rect bounds{0, 0, 0, 0};
        if (SDL_GetDisplayBounds(display, &bounds) == 0) {
            const SizePx size = InScreenPixels(bounds, pixelScale);
            if (1LL * size.width * size.height > 1LL * largest.width * largest.height) {
                largest = size;
            }
        }
    }
    return largest;
}

double DesktopScaleOf(SDL_Window* window, double pixelScale) {
    const std::optional<SDL_SysWMinfo> info = WindowInfo(window);
    if (!info || info->subsystem != SDL_SYSWM_X11) {
        // Wayland draws a window at its output's scale by itself: that is the desktop's wish.
        return pixelScale;
    }
    std::optional<std::string_view> gdkScale;
    if (const char* value = std::getenv("GDK_SCALE")) {
        gdkScale = value;
    }
    std::optional<std::string_view> resources;
    if (const char* text = XResourceManagerString(info->info.x11.display)) {
        resources = text;
    }
    return quibbix::DesktopScale(gdkScale, resources);
}

void MinimizeWindow(SDL_Window* window) {
    SDL_MinimizeWindow(window);
}

bool LiftedFingerLeaves() {
    return false;
}

}  // namespace quibbix

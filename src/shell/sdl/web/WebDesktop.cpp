#include <SDL.h>

#include "shell/sdl/SdlDesktop.h"

// A page has no desktop scale of its own: the canvas holds the frame at zoom 1, and the page
// enlarges it to the device's pixels.
namespace quibbix {

double PixelScale(SDL_Window*, SizePx) {
    return 1;
}

SizePx UsableArea(SDL_Window* window, double) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    return {width, height};
}

double DesktopScaleOf(SDL_Window*, double) {
    return 1;
}

// The game hears what a minimised window tells it, then that it is back: it pauses.
void MinimizeWindow(SDL_Window* window) {
    for (const SDL_WindowEventID change : {SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_RESTORED}) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = change;
        event.window.windowID = SDL_GetWindowID(window);
        SDL_PushEvent(&event);
    }
}

bool LiftedFingerLeaves() {
    return true;
}

}  // namespace quibbix

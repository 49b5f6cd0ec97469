#pragma once
#include <string>

struct SDL_Window;

namespace quibbix {

// Restores the window if it was minimised and brings it to the front. A desktop that guards
// against windows taking the focus by themselves lets the window come with the activation token a
// launcher gave (XDG_ACTIVATION_TOKEN on Wayland, DESKTOP_STARTUP_ID on X11); without one the
// window asks as best the window system allows, and may only be marked as wanting attention.
void BringToFront(SDL_Window* window, const std::string& token);

}  // namespace quibbix

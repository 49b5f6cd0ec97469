#pragma once
#include "shell/platform/Viewport.h"

struct SDL_Window;

namespace quibbix {

// What the desktop says about how large the window should be drawn.
// Screen pixels to one unit of the window's coordinates: 1 on X11, the output's scale on Wayland.
int PixelScale(SDL_Window* window, SizePx output);
// The part of the window's display that windows may cover (no panels), in screen pixels.
SizePx UsableArea(SDL_Window* window, int pixelScale);
// The zoom the desktop's scale asks for, before it is fitted to the usable area.
int DesktopScaleOf(SDL_Window* window, int pixelScale);

}  // namespace quibbix

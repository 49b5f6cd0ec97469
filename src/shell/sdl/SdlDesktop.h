#pragma once
#include "shell/platform/Viewport.h"

struct SDL_Window;

namespace quibbix {

// What the desktop says about how large the window should be drawn.
// Screen pixels to one unit of the window's coordinates, from the real ratio of the two: 1 on
// X11, the output's scale on Wayland (1.5 at 150 %).
double PixelScale(SDL_Window* window, SizePx output);
// The part of the window's display that windows may cover (no panels), in screen pixels; the
// largest display when the window system tells none for the window's own.
SizePx UsableArea(SDL_Window* window, double pixelScale);
// The scale the desktop asks the window to be drawn at, before it is fitted to the usable area.
double DesktopScaleOf(SDL_Window* window, double pixelScale);

// What a window may do on this platform.
// Sends the window to the taskbar; a page that cannot be put away pauses as if it had been, and is
// back at once.
void MinimizeWindow(SDL_Window* window);
// True where a finger is the only pointer (a page on a phone): lifted, it has left the board. A
// desktop's touch screen leaves the pointer where the finger was, as a mouse would.
bool LiftedFingerLeaves();

}  // namespace quibbix

#pragma once

namespace quibbix {

// What a key press asks of the window or the game, beyond the keys a name is typed with.
enum class KeyAction { None, ZoomIn, ZoomOut, ZoomToDesktop, ToggleFullScreen, LeaveFullScreen, Pause, Quit };

}  // namespace quibbix

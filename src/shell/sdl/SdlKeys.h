#pragma once
#include <SDL_keyboard.h>

namespace quibbix {

// What a key press asks of the window or the game, beyond the keys a name is typed with.
enum class KeyAction { None, ZoomIn, ZoomOut, ZoomToDesktop, ToggleFullScreen, LeaveFullScreen, Pause, Quit };

// `typing` is true while a control that takes keys has the focus: the keys that type then keep
// that meaning (Ctrl+0 types a 0, Alt+Enter ends the name as Enter does).
KeyAction KeyActionOf(const SDL_Keysym& key, bool repeat, bool typing);

}  // namespace quibbix

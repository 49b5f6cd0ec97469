#pragma once
#include <SDL_keyboard.h>

#include <cstdint>

#include "shell/sdl/KeyAction.h"

namespace quibbix {

// `typing` is true while a control that takes keys has the focus: the keys that type then keep
// that meaning (Ctrl+0 types a 0, Alt+Enter ends the name as Enter does).
KeyAction KeyActionOf(const SDL_Keysym& key, bool repeat, bool typing);

// The form's code of a key it reads besides letters and digits (Enter, Backspace); 0 for the rest.
std::int16_t FormKeyCode(SDL_Keycode key);

}  // namespace quibbix

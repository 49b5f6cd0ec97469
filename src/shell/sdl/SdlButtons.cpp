#include "shell/sdl/SdlButtons.h"

#include <SDL_mouse.h>

#include "shell/platform/Control.h"

namespace quibbix {

std::int16_t FormButton(std::uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return kLeftButton;
        case SDL_BUTTON_RIGHT:
            return kRightButton;
        case SDL_BUTTON_MIDDLE:
            return kMiddleButton;
        default:
            return 0;
    }
}

std::int16_t FormButtons(std::uint32_t state) {
    std::int16_t buttons = 0;
    if ((state & SDL_BUTTON_LMASK) != 0) {
        buttons |= kLeftButton;
    }
    if ((state & SDL_BUTTON_RMASK) != 0) {
        buttons |= kRightButton;
    }
    if ((state & SDL_BUTTON_MMASK) != 0) {
        buttons |= kMiddleButton;
    }
    return buttons;
}

}  // namespace quibbix

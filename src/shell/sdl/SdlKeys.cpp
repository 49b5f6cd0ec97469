#include "shell/sdl/SdlKeys.h"

namespace quibbix {

KeyAction KeyActionOf(const SDL_Keysym& key, bool repeat, bool typing) {
    const bool ctrl = (key.mod & KMOD_CTRL) != 0;
    const bool alt = (key.mod & KMOD_ALT) != 0;
    const bool plain = (key.mod & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) == 0;
    // Zooming again while the key is held is welcome; switching back and forth is not.
    if (ctrl && !alt) {
        switch (key.sym) {
            case SDLK_PLUS:
            case SDLK_EQUALS:
            case SDLK_KP_PLUS:
                return KeyAction::ZoomIn;
            case SDLK_MINUS:
            case SDLK_KP_MINUS:
                return KeyAction::ZoomOut;
            case SDLK_0:
            case SDLK_KP_0:
                return typing ? KeyAction::None : KeyAction::ZoomToDesktop;
            case SDLK_q:
                return repeat ? KeyAction::None : KeyAction::Quit;
            default:
                break;
        }
    }
    if (repeat) {
        return KeyAction::None;
    }
    switch (key.sym) {
        case SDLK_F11:
            return plain ? KeyAction::ToggleFullScreen : KeyAction::None;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return alt && !ctrl && !typing ? KeyAction::ToggleFullScreen : KeyAction::None;
        case SDLK_ESCAPE:
            return KeyAction::LeaveFullScreen;
        case SDLK_p:
            return plain ? KeyAction::Pause : KeyAction::None;
        case SDLK_PAUSE:
            return KeyAction::Pause;
        default:
            return KeyAction::None;
    }
}

std::int16_t FormKeyCode(SDL_Keycode key) {
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_BACKSPACE:
            return 8;
        default:
            return 0;
    }
}

}  // namespace quibbix

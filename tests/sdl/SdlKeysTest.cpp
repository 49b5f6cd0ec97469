#include <gtest/gtest.h>

#include "shell/sdl/SdlKeys.h"

namespace quibbix {
namespace {

constexpr std::uint16_t kLocks = KMOD_NUM | KMOD_CAPS;

TEST(SdlKeysTest, EachKeyWithItsModifiersGivesItsAction) {
    const struct {
        SDL_Keycode sym;
        std::uint16_t mod;
        bool typing, repeat;
        KeyAction action;
    } cases[] = {
        {SDLK_PLUS, KMOD_LCTRL, false, false, KeyAction::ZoomIn},
        {SDLK_EQUALS, KMOD_RCTRL | KMOD_LSHIFT, false, false, KeyAction::ZoomIn},
        {SDLK_KP_PLUS, KMOD_RCTRL | kLocks, false, false, KeyAction::ZoomIn},
        {SDLK_MINUS, KMOD_RCTRL, false, false, KeyAction::ZoomOut},
        {SDLK_KP_MINUS, KMOD_LCTRL | KMOD_NUM, false, false, KeyAction::ZoomOut},
        {SDLK_0, KMOD_LCTRL, false, false, KeyAction::ZoomToDesktop},
        {SDLK_KP_0, KMOD_RCTRL | KMOD_NUM, false, false, KeyAction::ZoomToDesktop},
        {SDLK_q, KMOD_LCTRL, false, false, KeyAction::Quit},
        {SDLK_q, KMOD_RCTRL | KMOD_RSHIFT | kLocks, false, false, KeyAction::Quit},
        {SDLK_F11, KMOD_NONE, false, false, KeyAction::ToggleFullScreen},
        {SDLK_F11, KMOD_LSHIFT | kLocks, false, false, KeyAction::ToggleFullScreen},
        {SDLK_RETURN, KMOD_LALT | KMOD_NUM, false, false, KeyAction::ToggleFullScreen},
        {SDLK_KP_ENTER, KMOD_RALT, false, false, KeyAction::ToggleFullScreen},
        {SDLK_ESCAPE, KMOD_LSHIFT, false, false, KeyAction::LeaveFullScreen},
        {SDLK_p, KMOD_NONE, false, false, KeyAction::Pause},
        {SDLK_p, KMOD_LSHIFT | kLocks, false, false, KeyAction::Pause},
        {SDLK_PAUSE, KMOD_NONE, false, false, KeyAction::Pause},
        // Without their modifier, or with one too many, they are no window keys.
        {SDLK_MINUS, KMOD_NONE, false, false, KeyAction::None},
        {SDLK_0, KMOD_NUM, false, false, KeyAction::None},
        {SDLK_q, KMOD_LSHIFT, false, false, KeyAction::None},
        {SDLK_q, KMOD_LCTRL | KMOD_LALT, false, false, KeyAction::None},
        {SDLK_RETURN, KMOD_NONE, false, false, KeyAction::None},
        {SDLK_RETURN, KMOD_LALT | KMOD_LCTRL, false, false, KeyAction::None},
        {SDLK_p, KMOD_LCTRL, false, false, KeyAction::None},
        {SDLK_p, KMOD_LGUI, false, false, KeyAction::None},
        {SDLK_F11, KMOD_LALT, false, false, KeyAction::None},
        // Held down: zooming goes on, nothing is switched twice.
        {SDLK_PLUS, KMOD_LCTRL, false, true, KeyAction::ZoomIn},
        {SDLK_F11, KMOD_NONE, false, true, KeyAction::None},
        {SDLK_p, KMOD_NONE, false, true, KeyAction::None},
        {SDLK_q, KMOD_LCTRL, false, true, KeyAction::None},
        // While a name is typed, the keys that type keep their meaning; Escape is no key of a name.
        {SDLK_0, KMOD_LCTRL, true, false, KeyAction::None},
        {SDLK_RETURN, KMOD_LALT, true, false, KeyAction::None},
        {SDLK_q, KMOD_LCTRL | KMOD_NUM, true, false, KeyAction::Quit},
        {SDLK_F11, KMOD_NONE, true, false, KeyAction::ToggleFullScreen},
        {SDLK_MINUS, KMOD_LCTRL, true, false, KeyAction::ZoomOut},
        {SDLK_ESCAPE, KMOD_NONE, true, false, KeyAction::LeaveFullScreen},
    };
    for (const auto& c : cases) {
        SDL_Keysym key{};
        key.sym = c.sym;
        key.mod = c.mod;
        EXPECT_EQ(KeyActionOf(key, c.repeat, c.typing), c.action)
            << SDL_GetKeyName(c.sym) << " mod " << std::hex << c.mod << (c.typing ? " typing" : "")
            << (c.repeat ? " held" : "");
    }
}

}  // namespace
}  // namespace quibbix

#include <gtest/gtest.h>

#include "shell/sdl/SdlKeys.h"

namespace quibbix {
namespace {

KeyAction Action(SDL_Keycode sym, std::uint16_t mod = KMOD_NONE, bool typing = false, bool repeat = false) {
    SDL_Keysym key{};
    key.sym = sym;
    key.mod = mod;
    return KeyActionOf(key, repeat, typing);
}

TEST(SdlKeysTest, TheWindowKeysWithEitherModifier) {
    for (const std::uint16_t ctrl : {KMOD_LCTRL, KMOD_RCTRL}) {
        EXPECT_EQ(Action(SDLK_PLUS, ctrl), KeyAction::ZoomIn);
        EXPECT_EQ(Action(SDLK_EQUALS, ctrl | KMOD_LSHIFT), KeyAction::ZoomIn);
        EXPECT_EQ(Action(SDLK_KP_PLUS, ctrl), KeyAction::ZoomIn);
        EXPECT_EQ(Action(SDLK_MINUS, ctrl), KeyAction::ZoomOut);
        EXPECT_EQ(Action(SDLK_KP_MINUS, ctrl), KeyAction::ZoomOut);
        EXPECT_EQ(Action(SDLK_0, ctrl), KeyAction::ZoomToDesktop);
        EXPECT_EQ(Action(SDLK_KP_0, ctrl), KeyAction::ZoomToDesktop);
        EXPECT_EQ(Action(SDLK_q, ctrl), KeyAction::Quit);
    }
    EXPECT_EQ(Action(SDLK_F11), KeyAction::ToggleFullScreen);
    EXPECT_EQ(Action(SDLK_RETURN, KMOD_LALT), KeyAction::ToggleFullScreen);
    EXPECT_EQ(Action(SDLK_KP_ENTER, KMOD_RALT), KeyAction::ToggleFullScreen);
    EXPECT_EQ(Action(SDLK_ESCAPE), KeyAction::LeaveFullScreen);
    EXPECT_EQ(Action(SDLK_p), KeyAction::Pause);
    EXPECT_EQ(Action(SDLK_p, KMOD_LSHIFT | KMOD_CAPS), KeyAction::Pause);
    EXPECT_EQ(Action(SDLK_PAUSE), KeyAction::Pause);
    // Plain keys without their modifier are no window keys.
    EXPECT_EQ(Action(SDLK_MINUS), KeyAction::None);
    EXPECT_EQ(Action(SDLK_0), KeyAction::None);
    EXPECT_EQ(Action(SDLK_q), KeyAction::None);
    EXPECT_EQ(Action(SDLK_RETURN), KeyAction::None);
    EXPECT_EQ(Action(SDLK_p, KMOD_LCTRL), KeyAction::None);
    EXPECT_EQ(Action(SDLK_RETURN, KMOD_LALT | KMOD_LCTRL), KeyAction::None);
}

TEST(SdlKeysTest, HeldKeysZoomOnButSwitchNothingTwice) {
    EXPECT_EQ(Action(SDLK_PLUS, KMOD_LCTRL, false, true), KeyAction::ZoomIn);
    EXPECT_EQ(Action(SDLK_F11, KMOD_NONE, false, true), KeyAction::None);
    EXPECT_EQ(Action(SDLK_p, KMOD_NONE, false, true), KeyAction::None);
    EXPECT_EQ(Action(SDLK_q, KMOD_LCTRL, false, true), KeyAction::None);
}

// While a name is typed, the keys that type keep their meaning; the others still work.
TEST(SdlKeysTest, TypingKeepsTheKeysThatType) {
    EXPECT_EQ(Action(SDLK_0, KMOD_LCTRL, true), KeyAction::None);
    EXPECT_EQ(Action(SDLK_RETURN, KMOD_LALT, true), KeyAction::None);
    EXPECT_EQ(Action(SDLK_q, KMOD_LCTRL, true), KeyAction::Quit);
    EXPECT_EQ(Action(SDLK_F11, KMOD_NONE, true), KeyAction::ToggleFullScreen);
    EXPECT_EQ(Action(SDLK_MINUS, KMOD_LCTRL, true), KeyAction::ZoomOut);
    // Escape only ever leaves full screen: it is no key of the name.
    EXPECT_EQ(Action(SDLK_ESCAPE, KMOD_NONE, true), KeyAction::LeaveFullScreen);
}

}  // namespace
}  // namespace quibbix

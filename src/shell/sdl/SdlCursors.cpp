#include "shell/sdl/SdlCursors.h"

#include <SDL.h>

#include "shell/sdl/SdlImage.h"

namespace quibbix {

namespace {

// Where the fingertip of the hand picture points.
constexpr int kHandHotX = 12;
constexpr int kHandHotY = 1;

CursorPtr MakeHand() {
    std::optional<Image> picture = EmbeddedImage("hand_cursor.png");
    if (!picture) {
        return nullptr;
    }
    const SurfacePtr surface = BorrowSurface(*picture);
    if (!surface) {
        return nullptr;
    }
    return CursorPtr(SDL_CreateColorCursor(surface.get(), kHandHotX, kHandHotY));
}

}  // namespace

SdlCursors::SdlCursors()
    : arrow_(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW)),
      hand_(MakeHand()),
      busy_(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT)) {
    Show(CursorShape::Arrow);
}

SDL_Cursor* SdlCursors::For(CursorShape shape) const {
    SDL_Cursor* cursor = nullptr;
    switch (shape) {
        case CursorShape::Arrow:
            cursor = arrow_.get();
            break;
        case CursorShape::Hand:
            cursor = hand_.get();
            break;
        case CursorShape::Busy:
            cursor = busy_.get();
            break;
    }
    return cursor != nullptr ? cursor : SDL_GetDefaultCursor();
}

void SdlCursors::Show(CursorShape shape) {
    if (shown_ == shape) {
        return;
    }
    shown_ = shape;
    if (SDL_Cursor* cursor = For(shape)) {
        SDL_SetCursor(cursor);
    }
}

}  // namespace quibbix

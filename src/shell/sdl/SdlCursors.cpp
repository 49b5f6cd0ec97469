#include "shell/sdl/SdlCursors.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "shell/sdl/SdlImage.h"

namespace quibbix {

namespace {

// Where the fingertip of the hand picture points.
constexpr int kHandHotX = 12;
constexpr int kHandHotY = 1;

// SDL's Wayland driver keeps a colour cursor's pixels in a file it makes in XDG_RUNTIME_DIR and
// never removes. The file is mapped into this program for as long as the cursor lives, so its name
// can go at once: the memory stays, and nothing is left behind however the program ends.
void RemoveCursorFiles() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime != '/') {
        return;
    }
    const std::string prefix = std::string(runtime) + "/sdl-shared-";
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        const auto path = line.find(prefix);
        // A name already removed is shown with " (deleted)" after it, which holds a space.
        if (path != std::string::npos && line.find(' ', path) == std::string::npos) {
            unlink(line.c_str() + path);
        }
    }
}

CursorPtr MakeHand() {
    std::optional<Image> picture = EmbeddedImage("hand_cursor.png");
    if (!picture) {
        return nullptr;
    }
    const SurfacePtr surface = BorrowSurface(*picture);
    if (!surface) {
        return nullptr;
    }
    CursorPtr hand(SDL_CreateColorCursor(surface.get(), kHandHotX, kHandHotY));
    RemoveCursorFiles();
    return hand;
}

}  // namespace

SdlCursors::SdlCursors() : arrow_(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW)) {
    Show(CursorShape::Arrow);
}

SDL_Cursor* SdlCursors::For(CursorShape shape) {
    SDL_Cursor* cursor = nullptr;
    switch (shape) {
        case CursorShape::Arrow:
            cursor = arrow_.get();
            break;
        case CursorShape::Hand:
            if (!hand_) {
                hand_ = MakeHand();
            }
            cursor = hand_->get();
            break;
        case CursorShape::Busy:
            if (!busy_) {
                busy_ = CursorPtr(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT));
            }
            cursor = busy_->get();
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

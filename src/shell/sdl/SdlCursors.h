#pragma once
#include <optional>

#include "shell/platform/WindowBackend.h"
#include "shell/sdl/SdlHandles.h"

namespace quibbix {

// The three pointer shapes, made once. A shape the driver could not make falls back to the
// system's default pointer rather than failing.
class SdlCursors {
public:
    SdlCursors();

    // Switches the pointer, only when the shape is not the one already shown.
    void Show(CursorShape shape);

private:
    SDL_Cursor* For(CursorShape shape) const;

    CursorPtr arrow_;
    CursorPtr hand_;
    CursorPtr busy_;
    std::optional<CursorShape> shown_;
};

}  // namespace quibbix

#pragma once
#include <optional>

#include "shell/platform/WindowBackend.h"
#include "shell/sdl/SdlHandles.h"

namespace quibbix {

// The three pointer shapes, each made the first time it is shown: the busy pointer of a themed
// desktop is an animation of a few megabytes that a window need not read before its first frame.
// A shape the driver could not make falls back to the system's default pointer rather than failing.
class SdlCursors {
public:
    SdlCursors();

    // Switches the pointer, only when the shape is not the one already shown.
    void Show(CursorShape shape);

private:
    SDL_Cursor* For(CursorShape shape);

    CursorPtr arrow_;
    std::optional<CursorPtr> hand_;
    std::optional<CursorPtr> busy_;
    std::optional<CursorShape> shown_;
};

}  // namespace quibbix

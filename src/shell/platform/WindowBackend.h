#pragma once
#include <string>

#include "shell/platform/CursorShape.h"

namespace quibbix {

// What the window system does for the game's window. The SDL backend does it for real; the headless
// backend records it.
class WindowBackend {
public:
    virtual ~WindowBackend() = default;

    virtual void Minimize() = 0;
    virtual void Restore() = 0;
    virtual void SetBorderless() = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // Puts what changed on screen now.
    virtual void Repaint() = 0;
    // The window follows the pointer until the button is released, as if its title bar had been grabbed.
    virtual void BeginDrag() = 0;
    virtual void SetCursor(CursorShape shape) = 0;
    // Key presses are wanted (a control that takes keys has the focus) or not.
    virtual void WantKeys(bool wanted) = 0;
    // Ends the program: no further event is handled.
    virtual void EndProgram() = 0;
};

}  // namespace quibbix

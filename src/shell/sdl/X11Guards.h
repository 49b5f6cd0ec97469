#pragma once
#include <functional>

struct SDL_Window;

namespace quibbix {

// Keeps the X connection from ending the game behind its back. Xlib ends the program itself on a
// protocol error and on a lost connection; with the guards in place a protocol error is ignored,
// the window destroyed by another client is a close request like any other, and a lost connection
// saves the settings, says so on standard error and ends the program with status 1.
//
// The handlers stay installed for the rest of the process: SDL still talks to the server while it
// shuts down. Does nothing unless SDL drives an X11 display.
class X11Guards {
public:
    // `saveNow` keeps what must survive the lost connection; it runs on the event thread.
    X11Guards(SDL_Window* window, std::function<void()> saveNow);
    // From here on the window is going away on the game's own terms.
    ~X11Guards();
    X11Guards(const X11Guards&) = delete;
    // Another client destroyed the window. SDL then believes it still shows and waits forever for
    // it to disappear when taking it down, so the program leaves without taking it down.
    bool WindowDestroyed() const;
    X11Guards& operator=(const X11Guards&) = delete;
};

}  // namespace quibbix

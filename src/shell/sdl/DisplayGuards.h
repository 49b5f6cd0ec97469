#pragma once
#include <functional>

struct SDL_Window;

namespace quibbix {

// Keeps the display connection from ending the game behind its back. Xlib ends the program itself
// on a protocol error and on a lost connection; with the guards in place a protocol error is
// ignored, the window destroyed by another client is a close request like any other, and a lost
// connection saves the settings, says so on standard error and ends the program with status 1.
// SDL turns a lost Wayland connection into a quit, which saves; the guards tell it apart afterwards.
//
// Made before SDL starts its video: SDL keeps the handlers it finds, calls them from its own and
// puts them back when it quits, so they stay in force while SDL still talks to the server on the
// way out. They stay installed for the rest of the process.
class DisplayGuards {
public:
    DisplayGuards();
    // From here on the window is going away on the game's own terms.
    ~DisplayGuards();
    DisplayGuards(const DisplayGuards&) = delete;
    DisplayGuards& operator=(const DisplayGuards&) = delete;

    // Watches the game's window, once it is open and the game loaded: while it lives, a lost
    // connection runs `saveNow` (on the event thread) before the program ends. Make it after
    // everything `saveNow` uses, so it goes before them. Does nothing unless SDL drives an X11
    // display.
    class Watch {
    public:
        Watch(SDL_Window* window, std::function<void()> saveNow);
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;
    };

    // Another client destroyed the window. SDL then believes it still shows and waits forever for
    // it to disappear when taking it down, so the program leaves without taking it down.
    bool WindowDestroyed() const;
    // The Wayland compositor went away under the window: the quit that ended the game came from
    // SDL, not from the player.
    bool WaylandLost(SDL_Window* window) const;
};

}  // namespace quibbix

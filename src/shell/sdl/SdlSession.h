#pragma once
#include "shell/platform/UniqueFd.h"
#include "shell/session/SessionWatcher.h"

union SDL_Event;

namespace quibbix {

class SdlWindow;

// Turns what the session watcher hears into SDL events for the event thread: an ending signal
// becomes the quit the desktop sends when it closes the window, so the game ends through its own
// exit; a knock from a second copy becomes a summons that brings the window back.
class SdlSession {
public:
    SdlSession(const SdlWindow& window, UniqueFd listener);

private:
    SessionWatcher watcher_;
};

// Asks the event thread to end the game the way the desktop's close does; safe on any thread.
void PushQuit();

// On the event thread: when `event` is the summons, restores the window if it was minimised and
// raises it, with the activation token the second copy brought. Any other event is left alone.
void BringBackWhenSummoned(const SDL_Event& event);

}  // namespace quibbix

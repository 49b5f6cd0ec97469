#include "shell/sdl/SdlEventLoop.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "shell/sdl/SdlButtons.h"
#include "shell/sdl/SdlDesktop.h"
#include "shell/sdl/SdlKeys.h"
#include "shell/sdl/SdlSession.h"

namespace quibbix {

namespace {

// How often a dragged window catches up with the pointer: smooth to the eye, idle to the processor.
constexpr std::int64_t kDragPollMs = 10;

bool IsLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

class EventLoop {
public:
    EventLoop(SdlWindow& window, FrmMain& form, Timer& timer, const Clock& clock, SdlSound& sound)
        : window_(window), form_(form), timer_(timer), clock_(clock), sound_(sound) {}

    void Run();
    bool Step();

private:
    std::optional<bool> Wait(SDL_Event& event) const;
    void Handle(const SDL_Event& event);
    void Motion(const SDL_MouseMotionEvent& motion);
    void Button(const SDL_MouseButtonEvent& button);
    void Key(const SDL_KeyboardEvent& key);
    void Text(const char* text);
    void Window(const SDL_WindowEvent& window);
    void Minimized();
    void Restored();

    SdlWindow& window_;
    FrmMain& form_;
    Timer& timer_;
    const Clock& clock_;
    SdlSound& sound_;
};

void EventLoop::Run() {
    while (!window_.Ended()) {
        // Before each wait, after the events and ticks before it: the audio device stays open only
        // while the game runs.
        sound_.SetGameRunning(timer_.Enabled());

        SDL_Event event;
        const std::optional<bool> waited = Wait(event);
        if (!waited) {
            // The window system is gone: the game closes as if the desktop had closed it, and a
            // game that does not end is left rather than spun on.
            form_.CloseRequested();
            return;
        }
        if (*waited) {
            Handle(event);
            while (!window_.Ended() && SDL_PollEvent(&event) != 0) {
                Handle(event);
            }
            if (window_.Ended()) {
                return;
            }
            window_.PresentChanges();
        }
        window_.FollowPointer();
        // Asked again: the events may have stopped, started or restarted the timer.
        const std::optional<std::int64_t> due = timer_.NextDue();
        if (due && clock_.NowMs() >= *due) {
            timer_.Fire();
            if (window_.Ended()) {
                return;
            }
            window_.PresentChanges();
        }
    }
}

bool EventLoop::Step() {
    sound_.SetGameRunning(timer_.Enabled());
    SDL_Event event;
    bool handled = false;
    while (!window_.Ended() && SDL_PollEvent(&event) != 0) {
        Handle(event);
        handled = true;
    }
    if (window_.Ended()) {
        return false;
    }
    if (handled) {
        window_.PresentChanges();
    }
    const std::optional<std::int64_t> due = timer_.NextDue();
    if (due && clock_.NowMs() >= *due) {
        timer_.Fire();
        if (window_.Ended()) {
            return false;
        }
        window_.PresentChanges();
    }
    return true;
}

// Sleeps until an event comes or the timer is due: true with an event, false without one, nothing
// when waiting failed.
std::optional<bool> EventLoop::Wait(SDL_Event& event) const {
    std::optional<std::int64_t> wait;
    if (const std::optional<std::int64_t> due = timer_.NextDue()) {
        wait = std::clamp<std::int64_t>(*due - clock_.NowMs(), 0, std::numeric_limits<int>::max());
    }
    // A window that follows the pointer exactly keeps the pointer still inside it, and SDL reports
    // no motion then: while dragging, the pointer is looked at often.
    if (window_.Dragging()) {
        wait = std::min(wait.value_or(kDragPollMs), kDragPollMs);
    }
    if (!wait) {
        if (SDL_WaitEvent(&event) == 0) {
            return std::nullopt;
        }
        return true;
    }
    return SDL_WaitEventTimeout(&event, static_cast<int>(*wait)) != 0;
}

void EventLoop::Handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_MOUSEMOTION:
            Motion(event.motion);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            Button(event.button);
            break;
        case SDL_TEXTINPUT:
            Text(event.text.text);
            break;
        case SDL_KEYDOWN:
            Key(event.key);
            break;
        case SDL_WINDOWEVENT:
            Window(event.window);
            break;
        case SDL_FINGERUP:
            // Off the frame is over no control: the board hears that the pointer has gone.
            if (LiftedFingerLeaves()) {
                form_.PointerMoved(-1, -1, 0);
            }
            break;
        case SDL_QUIT:
            form_.CloseRequested();
            break;
        default:
            BringBackWhenSummoned(event);
            break;
    }
}

void EventLoop::Motion(const SDL_MouseMotionEvent& motion) {
    // While the window follows the pointer the form hears nothing, as when a title bar is dragged.
    if (window_.Dragging()) {
        window_.FollowPointer();
        return;
    }
    const PointPx at = window_.ToFrame(motion.x, motion.y);
    form_.PointerMoved(at.x, at.y, FormButtons(motion.state));
}

void EventLoop::Button(const SDL_MouseButtonEvent& button) {
    const std::int16_t formButton = FormButton(button.button);
    if (formButton == 0) {
        return;
    }
    const PointPx at = window_.ToFrame(button.x, button.y);
    if (button.type == SDL_MOUSEBUTTONDOWN) {
        if (window_.Dragging()) {
            return;
        }
        window_.SetPressingButton(button.button, button.x, button.y);
        form_.ButtonPressed(at.x, at.y, formButton);
        window_.SetPressingButton(0);
    } else if (!window_.EndsDrag(button.button)) {
        form_.ButtonReleased(at.x, at.y, formButton);
    }
}

void EventLoop::Key(const SDL_KeyboardEvent& key) {
    switch (KeyActionOf(key.keysym, key.repeat != 0, form_.TakesKeys())) {
        case KeyAction::ZoomIn:
            window_.ZoomBy(1);
            return;
        case KeyAction::ZoomOut:
            window_.ZoomBy(-1);
            return;
        case KeyAction::ZoomToDesktop:
            window_.ZoomToDesktop();
            return;
        case KeyAction::ToggleFullScreen:
            window_.ToggleFullScreen();
            return;
        case KeyAction::LeaveFullScreen:
            window_.LeaveFullScreen();
            return;
        case KeyAction::Pause:
            form_.PauseKey();
            return;
        case KeyAction::Quit:
            form_.QuitKey();
            return;
        case KeyAction::None:
            break;
    }
    if (const std::int16_t code = FormKeyCode(key.keysym.sym); code != 0) {
        form_.KeyPressed(code);
    }
}

void EventLoop::Text(const char* text) {
    for (const char* c = text; *c != '\0' && !window_.Ended(); ++c) {
        if (IsLetterOrDigit(*c)) {
            form_.KeyPressed(static_cast<std::int16_t>(*c));
        }
    }
}

void EventLoop::Window(const SDL_WindowEvent& window) {
    switch (window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
            window_.EndDrag();
            Minimized();
            form_.PlayerAway();
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            window_.EndDrag();
            form_.PlayerAway();
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
            Restored();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            window_.PresentAll();
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            window_.SizeChanged();
            break;
        default:
            break;
    }
}

// The form hears of a change of state once: the window system reports the return from the taskbar
// more than once, and a change the game made itself is known to the form already.
void EventLoop::Minimized() {
    if (form_.WindowState() != 1) {
        form_.WindowStateChanged(1);
    }
}

void EventLoop::Restored() {
    if (form_.WindowState() == 1) {
        form_.WindowStateChanged(0);
    }
    if (!window_.Ended()) {
        window_.PresentAll();
    }
}

}  // namespace

void RunEventLoop(SdlWindow& window, FrmMain& form, Timer& timer, const Clock& clock, SdlSound& sound) {
    EventLoop(window, form, timer, clock, sound).Run();
}

bool RunPendingEvents(SdlWindow& window, FrmMain& form, Timer& timer, const Clock& clock, SdlSound& sound) {
    return EventLoop(window, form, timer, clock, sound).Step();
}

}  // namespace quibbix

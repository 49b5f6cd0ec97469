#include "shell/sdl/DisplayGuards.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>
#include <wayland-client-core.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>

#include "shell/sdl/SdlSession.h"
#include "shell/sdl/SdlWindowInfo.h"

namespace quibbix {

namespace {

// Xlib's error handlers belong to the whole process and are called without a pointer of ours, so
// the little they need can only be one process-wide object: this one. DisplayGuards fills it in on
// the event thread, and only the event thread's handler runs the save.
struct XlibHandlerState {
    std::function<void()> saveNow;  // set only while what it saves is alive
    std::thread::id eventThread;
    Window window = 0;
    bool destroyed = false;
};
XlibHandlerState guarded;

// A request that failed is nobody's reason to end the game. SDL may still talk to the window
// after another client destroyed it; the destruction itself arrives as an event.
int IgnoreError(Display* /*display*/, XErrorEvent* /*error*/) {
    return 0;
}

[[noreturn]] int ConnectionLost(Display* /*display*/) {
    // Only the event thread may touch the game; any other thread that notices waits for the
    // event thread to notice too, which it does at its next look at the connection.
    if (std::this_thread::get_id() != guarded.eventThread) {
        for (;;) {
            ::pause();
        }
    }
    const char* message = "quibbix: the connection to the display was lost\n";
    if (guarded.saveNow) {
        guarded.saveNow();
        message = "quibbix: the connection to the display was lost; the settings were saved\n";
    }
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, std::strlen(message));
    ::_exit(1);
}

// Sees every event as it is queued. The window system's own events come from the event thread's
// look at the connection; they are read here and never queued.
int WatchDestruction(void* /*data*/, SDL_Event* event) {
    if (event->type != SDL_SYSWMEVENT) {
        return 1;
    }
    const SDL_SysWMmsg* message = event->syswm.msg;
    if (message != nullptr && message->subsystem == SDL_SYSWM_X11 && guarded.window != 0) {
        const XEvent& x = message->msg.x11.event;
        if (x.type == DestroyNotify && x.xdestroywindow.window == guarded.window) {
            guarded.window = 0;
            guarded.destroyed = true;
            PushQuit();
        }
    }
    return 0;
}

}  // namespace

DisplayGuards::DisplayGuards() {
    guarded.eventThread = std::this_thread::get_id();
    XSetErrorHandler(IgnoreError);
    XSetIOErrorHandler(ConnectionLost);
}

DisplayGuards::Watch::Watch(SDL_Window* window, std::function<void()> saveNow) {
    const std::optional<SDL_SysWMinfo> info = WindowInfo(window);
    if (!info || info->subsystem != SDL_SYSWM_X11) {
        return;
    }
    guarded.saveNow = std::move(saveNow);
    guarded.window = info->info.x11.window;
    SDL_SetEventFilter(WatchDestruction, nullptr);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

DisplayGuards::Watch::~Watch() {
    // What the callback saves goes away right after; a connection lost from here on only ends the
    // program, which saved on its way out.
    guarded.saveNow = nullptr;
}

bool DisplayGuards::WindowDestroyed() const {
    return guarded.destroyed;
}

bool DisplayGuards::WaylandLost(SDL_Window* window) const {
    const std::optional<SDL_SysWMinfo> info = WindowInfo(window);
    return info && info->subsystem == SDL_SYSWM_WAYLAND && info->info.wl.display != nullptr &&
           wl_display_get_error(info->info.wl.display) != 0;
}

DisplayGuards::~DisplayGuards() {
    guarded.window = 0;
}

}  // namespace quibbix

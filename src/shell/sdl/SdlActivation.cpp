#include "shell/sdl/SdlActivation.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <wayland-client.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include "shell/sdl/SdlWindowInfo.h"

namespace quibbix {

namespace {

// xdg-activation-v1, of which only `activate` and `destroy` are sent. Its requests in order:
// destroy, get_activation_token (never sent here), activate(token, surface).
// Not const: wl_message wants them so, though libwayland only reads them.
const wl_interface* kNoTypes[] = {nullptr};
const wl_interface* kActivateTypes[] = {nullptr, &wl_surface_interface};
const wl_message kActivationRequests[] = {
    {"destroy", "", kNoTypes},
    {"get_activation_token", "n", kNoTypes},
    {"activate", "so", kActivateTypes},
};
const wl_interface kActivationInterface = {"xdg_activation_v1", 1, 3, kActivationRequests, 0, nullptr};
constexpr std::uint32_t kDestroy = 0;
constexpr std::uint32_t kActivate = 2;

struct WaylandDeleter {
    void operator()(wl_event_queue* queue) const { wl_event_queue_destroy(queue); }
    void operator()(wl_display* wrapper) const { wl_proxy_wrapper_destroy(wrapper); }
    void operator()(wl_registry* registry) const { wl_registry_destroy(registry); }
};

void Announced(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
               std::uint32_t /*version*/) {
    auto* const activation = static_cast<wl_proxy**>(data);
    if (*activation == nullptr && std::strcmp(interface, kActivationInterface.name) == 0) {
        *activation = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kActivationInterface, 1));
    }
}

void Withdrawn(void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {}

// Asks the compositor to activate the surface with the token, on a queue of its own so that SDL's
// events are left alone.
void ActivateOnWayland(wl_display* display, wl_surface* surface, const std::string& token) {
    const std::unique_ptr<wl_event_queue, WaylandDeleter> queue(wl_display_create_queue(display));
    const std::unique_ptr<wl_display, WaylandDeleter> wrapper(
        static_cast<wl_display*>(wl_proxy_create_wrapper(display)));
    if (!queue || !wrapper) {
        return;
    }
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper.get()), queue.get());
    const std::unique_ptr<wl_registry, WaylandDeleter> registry(wl_display_get_registry(wrapper.get()));
    wl_proxy* activation = nullptr;
    static const wl_registry_listener listener{Announced, Withdrawn};
    wl_registry_add_listener(registry.get(), &listener, &activation);
    wl_display_roundtrip_queue(display, queue.get());
    if (activation == nullptr) {
        return;
    }
    wl_proxy_marshal_flags(activation, kActivate, nullptr, 1, 0, token.c_str(), surface);
    wl_proxy_marshal_flags(activation, kDestroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    wl_display_flush(display);
}

// The time of the user's action that started the launch, which a startup ID ends with: "..._TIME123".
Time LaunchTime(std::string_view id) {
    const auto at = id.rfind("_TIME");
    std::uint32_t time = 0;
    if (at != std::string_view::npos) {
        const std::string_view digits = id.substr(at + 5);
        std::from_chars(digits.data(), digits.data() + digits.size(), time);
    }
    return time;
}

void SendToRoot(Display* display, Window window, const char* type, const long (&data)[5]) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, type, False);
    event.xclient.format = 32;
    std::copy(std::begin(data), std::end(data), event.xclient.data.l);
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
}

// Tells the launcher its launch is over, as startup notification asks of the window it started:
// "remove: ID=...", in pieces of 20 bytes.
void EndLaunch(Display* display, Window window, const std::string& id) {
    std::string message = "remove: ID=";
    for (const char c : id) {
        if (c == ' ' || c == '"' || c == '\\') {
            message += '\\';
        }
        message += c;
    }
    message += '\0';
    const char* type = "_NET_STARTUP_INFO_BEGIN";
    for (std::size_t at = 0; at < message.size(); at += 20) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, type, False);
        event.xclient.format = 8;
        std::memcpy(event.xclient.data.b, message.data() + at,
                    std::min<std::size_t>(20, message.size() - at));
        XSendEvent(display, DefaultRootWindow(display), False, PropertyChangeMask, &event);
        type = "_NET_STARTUP_INFO";
    }
}

void ActivateOnX11(Display* display, Window window, const std::string& id) {
    // 1: the request comes from an application, with the time of the user's action.
    SendToRoot(display, window, "_NET_ACTIVE_WINDOW", {1, static_cast<long>(LaunchTime(id)), 0, 0, 0});
    EndLaunch(display, window, id);
    XFlush(display);
}

}  // namespace

void BringToFront(SDL_Window* window, const std::string& token) {
    SDL_RestoreWindow(window);
    const std::optional<SDL_SysWMinfo> info = token.empty() ? std::nullopt : WindowInfo(window);
    if (!info) {
        SDL_RaiseWindow(window);
        return;
    }
    if (info->subsystem == SDL_SYSWM_WAYLAND) {
        ActivateOnWayland(info->info.wl.display, info->info.wl.surface, token);
    } else if (info->subsystem == SDL_SYSWM_X11) {
        ActivateOnX11(info->info.x11.display, info->info.x11.window, token);
    } else {
        SDL_RaiseWindow(window);
    }
}

}  // namespace quibbix

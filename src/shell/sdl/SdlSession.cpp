#include "shell/sdl/SdlSession.h"

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "shell/sdl/SdlActivation.h"
#include "shell/sdl/SdlWindow.h"

namespace quibbix {

namespace {

// What SDL_RegisterEvents hands back when it has no event numbers left.
constexpr std::uint32_t kNoEvent = static_cast<std::uint32_t>(-1);
constexpr std::chrono::seconds kPatience{3};

std::uint32_t SummonEvent() {
    static const std::uint32_t type = SDL_RegisterEvents(1);
    return type;
}

// The event owns a copy of the activation token until the event thread takes it.
void PushSummons(std::uint32_t windowId, std::string_view token) {
    SDL_Event summons{};
    summons.type = SummonEvent();
    summons.user.windowID = windowId;
    auto owned = std::make_unique<std::string>(token);
    summons.user.data1 = owned.get();
    if (SDL_PushEvent(&summons) == 1) {
        owned.release();
    }
}

// A launcher's token is printable text without blanks; anything else is not passed on.
std::string_view TokenIn(std::string_view note) {
    for (const char c : note) {
        if (c <= ' ' || c > '~') {
            return {};
        }
    }
    return note;
}

// The first ending signal asks the game to end through its exit, which saves. A game still running
// long after that is stuck, and a signal then ends it outright, as it would any other program.
std::function<void(int)> EndOnce() {
    return [asked = std::optional<std::chrono::steady_clock::time_point>()](int signal) mutable {
        const auto now = std::chrono::steady_clock::now();
        if (asked && now - *asked >= kPatience) {
            std::_Exit(128 + signal);
        }
        if (!asked) {
            asked = now;
        }
        PushQuit();
    };
}

std::function<void(std::string_view)> Summon(std::uint32_t windowId) {
    return [windowId, type = SummonEvent()](std::string_view note) {
        if (type != kNoEvent) {
            PushSummons(windowId, TokenIn(note));
        }
    };
}

}  // namespace

void PushQuit() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

SdlSession::SdlSession(const SdlWindow& window, UniqueFd listener)
    : watcher_(std::move(listener),
               {.ended = EndOnce(), .summoned = Summon(SDL_GetWindowID(window.Native()))}) {}

void BringBackWhenSummoned(const SDL_Event& event) {
    if (event.type != SummonEvent() || event.type == kNoEvent) {
        return;
    }
    const std::unique_ptr<std::string> token(static_cast<std::string*>(event.user.data1));
    SDL_Window* const window = SDL_GetWindowFromID(event.user.windowID);
    if (window == nullptr) {
        return;
    }
    BringToFront(window, token ? *token : std::string());
}

}  // namespace quibbix

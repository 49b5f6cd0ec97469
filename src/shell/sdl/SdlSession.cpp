#include "shell/sdl/SdlSession.h"

#include <SDL.h>

#include <cstdint>
#include <utility>

#include "shell/sdl/SdlWindow.h"

namespace quibbix {

namespace {

std::uint32_t SummonEvent() {
    static const std::uint32_t type = SDL_RegisterEvents(1);
    return type;
}

void PushQuit() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

void PushSummons(std::uint32_t windowId) {
    SDL_Event summons{};
    summons.type = SummonEvent();
    summons.user.windowID = windowId;
    SDL_PushEvent(&summons);
}

}  // namespace

SdlSession::SdlSession(const SdlWindow& window, UniqueFd listener)
    : watcher_(std::move(listener), {.ended = [](int /*signal*/) { PushQuit(); },
                                     .summoned =
                                         [id = SDL_GetWindowID(window.Native()), type = SummonEvent()] {
                                             if (type != static_cast<std::uint32_t>(-1)) {
                                                 PushSummons(id);
                                             }
                                         }}) {}

void BringBackWhenSummoned(const SDL_Event& event) {
    if (event.type != SummonEvent() || event.type == static_cast<std::uint32_t>(-1)) {
        return;
    }
    SDL_Window* const window = SDL_GetWindowFromID(event.user.windowID);
    if (window == nullptr) {
        return;
    }
    SDL_RestoreWindow(window);
    SDL_RaiseWindow(window);
}

}  // namespace quibbix

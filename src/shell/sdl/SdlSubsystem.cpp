#include "shell/sdl/SdlSubsystem.h"

#include <SDL.h>

#include <utility>

namespace quibbix {

SdlSubsystem::SdlSubsystem(std::uint32_t flags) : flags_(SDL_InitSubSystem(flags) == 0 ? flags : 0) {}

SdlSubsystem::SdlSubsystem(SdlSubsystem&& other) noexcept : flags_(std::exchange(other.flags_, 0)) {}

SdlSubsystem::~SdlSubsystem() {
    if (flags_ == 0) {
        return;
    }
    SDL_QuitSubSystem(flags_);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) {
        SDL_Quit();
    }
}

}  // namespace quibbix

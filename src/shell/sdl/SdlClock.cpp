#include "shell/sdl/SdlClock.h"

#include <SDL.h>

namespace quibbix {

std::int64_t SdlClock::NowMs() const {
    return static_cast<std::int64_t>(SDL_GetTicks64());
}

}  // namespace quibbix

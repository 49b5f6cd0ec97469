#include "shell/sdl/SdlSession.h"

// A page is never summoned by a second copy: another tab is told the game is open elsewhere.
namespace quibbix {

void BringBackWhenSummoned(const SDL_Event&) {}

}  // namespace quibbix

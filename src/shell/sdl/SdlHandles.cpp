#include "shell/sdl/SdlHandles.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace quibbix {

void SdlDeleter::operator()(SDL_Window* window) const {
    SDL_DestroyWindow(window);
}

void SdlDeleter::operator()(SDL_Surface* surface) const {
    SDL_FreeSurface(surface);
}

void SdlDeleter::operator()(SDL_Cursor* cursor) const {
    SDL_FreeCursor(cursor);
}

void SdlDeleter::operator()(Mix_Chunk* chunk) const {
    Mix_FreeChunk(chunk);
}

}  // namespace quibbix

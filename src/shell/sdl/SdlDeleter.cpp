#include "shell/sdl/SdlDeleter.h"

#include <SDL.h>

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

void SdlDeleter::operator()(SDL_AudioStream* stream) const {
    SDL_FreeAudioStream(stream);
}

}  // namespace quibbix

#pragma once
#include <memory>

#include "shell/sdl/SdlDeleter.h"

namespace quibbix {

// Owning handles of SDL objects: each hands its object back to SDL when it goes.
using WindowPtr = std::unique_ptr<SDL_Window, SdlDeleter>;
using SurfacePtr = std::unique_ptr<SDL_Surface, SdlDeleter>;
using CursorPtr = std::unique_ptr<SDL_Cursor, SdlDeleter>;
using AudioStreamPtr = std::unique_ptr<_SDL_AudioStream, SdlDeleter>;

}  // namespace quibbix

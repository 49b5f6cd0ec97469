#pragma once

// The SDL types are only named here, so the headers of the backend stay free of SDL and the
// program's entry point never sees it.
struct SDL_Window;
struct SDL_Surface;
struct SDL_Cursor;
struct _SDL_AudioStream;

namespace quibbix {

// Hands every SDL object back to the library that made it.
struct SdlDeleter {
    void operator()(SDL_Window* window) const;
    void operator()(SDL_Surface* surface) const;
    void operator()(SDL_Cursor* cursor) const;
    void operator()(_SDL_AudioStream* stream) const;
};

}  // namespace quibbix

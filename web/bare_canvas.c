/* The yardstick of the web build's speed: SDL2 built by the same toolchain, a canvas of the game's
   654 x 472 frame, and the board's 384 x 384 pixels redrawn and shown each browser frame. */
#include <SDL.h>
#include <emscripten.h>

static SDL_Window* window;
static Uint8 shade;

static void Frame(void) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    SDL_Rect board = {12, 74, 384, 384};
    SDL_FillRect(surface, &board, SDL_MapRGB(surface->format, 0, 0, shade ^= 1));
    SDL_UpdateWindowSurfaceRects(window, &board, 1);
}

int main(void) {
    SDL_Init(SDL_INIT_VIDEO);
    window = SDL_CreateWindow("bare", 0, 0, 654, 472, 0);
    emscripten_set_main_loop(Frame, 0, 0);
    return 0;
}

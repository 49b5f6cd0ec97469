/* The yardstick the game is measured against: the least an SDL2 program needs to show a window
 * like the game's. Without arguments it opens the borderless 654 x 472 window, fills it once and
 * sleeps in the event queue. With --board it also redraws the board's 384 x 384 area and one
 * counter cell 50 times a second, through the same window surface and rectangle updates as the
 * game and from an absolute deadline as the game's tick. */
#include <SDL.h>

#include <stdint.h>
#include <string.h>

enum { kWidth = 654, kHeight = 472, kPeriodMs = 20 };

static const SDL_Rect kBoard = {12, 74, 384, 384};
static const SDL_Rect kCell = {544, 156, 20, 28}; /* the units of the time counter */

/* Writes every pixel of the area, as the game's copy of a composed frame does. */
static void Paint(SDL_Surface *surface, const SDL_Rect *area, Uint32 frame) {
    for (int y = 0; y < area->h; ++y) {
        Uint32 *row = (Uint32 *)((Uint8 *)surface->pixels + (area->y + y) * surface->pitch) + area->x;
        const Uint32 colour = (frame * 3u + (Uint32)y) & 0xFFu;
        for (int x = 0; x < area->w; ++x) {
            row[x] = colour << 8 | (Uint32)x;
        }
    }
}

static int Present(SDL_Window *window, const SDL_Rect *areas, int count, Uint32 frame) {
    SDL_Surface *surface = SDL_GetWindowSurface(window);
    if (surface == NULL || surface->format->BytesPerPixel != 4) {
        return -1;
    }
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
        return -1;
    }
    if (count == 0) {
        SDL_FillRect(surface, NULL, SDL_MapRGB(surface->format, 0x40, 0x40, 0x40));
    }
    for (int i = 0; i < count; ++i) {
        Paint(surface, &areas[i], frame);
    }
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
    return count == 0 ? SDL_UpdateWindowSurface(window) : SDL_UpdateWindowSurfaceRects(window, areas, count);
}

int main(int argc, char **argv) {
    const int board = argc > 1 && strcmp(argv[1], "--board") == 0;
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        SDL_Log("%s", SDL_GetError());
        return 1;
    }
    SDL_Window *window = SDL_CreateWindow("Bare window", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                                          kHeight, SDL_WINDOW_BORDERLESS);
    if (window == NULL || Present(window, NULL, 0, 0) != 0) {
        SDL_Log("%s", SDL_GetError());
        return 1;
    }
    const SDL_Rect areas[] = {kBoard, kCell};
    Uint32 frame = 0;
    Uint64 deadline = SDL_GetTicks64() + kPeriodMs;
    for (;;) {
        SDL_Event event;
        int got;
        if (board) {
            const Uint64 now = SDL_GetTicks64();
            got = SDL_WaitEventTimeout(&event, now < deadline ? (int)(deadline - now) : 0);
        } else {
            got = SDL_WaitEvent(&event);
        }
        if (got && event.type == SDL_QUIT) {
            break;
        }
        if (got && event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
            Present(window, NULL, 0, frame);
        }
        if (board && SDL_GetTicks64() >= deadline) {
            if (Present(window, areas, 2, ++frame) != 0) {
                break;
            }
            deadline += kPeriodMs;
            /* More than a period behind: start again from now, never two frames at once. */
            if (SDL_GetTicks64() >= deadline + kPeriodMs) {
                deadline = SDL_GetTicks64() + kPeriodMs;
            }
        }
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}

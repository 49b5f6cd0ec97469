#pragma once
#include <memory>

#include "shell/platform/Image.h"
#include "shell/platform/Viewport.h"

struct SDL_Window;

namespace quibbix {

// Shows the frame through memory the game shares with the X server alone (mode 0600). The game
// writes each frame pixel once; at zoom 1 the server copies the changed parts straight into the
// window, and zoomed into a picture of its own that it draws enlarged into the window with
// nearest-neighbour pixels (RENDER with a scaling transform). A zoomed window then costs the game
// what a window at zoom 1 does.
class X11Scaler {
public:
    // Null when the window is not an X11 one or the server cannot share memory with the game or
    // scale pictures (a remote display, say).
    static std::unique_ptr<X11Scaler> Make(SDL_Window* window, SizePx frame);
    ~X11Scaler();
    X11Scaler(const X11Scaler&) = delete;
    X11Scaler& operator=(const X11Scaler&) = delete;

    // The frame, in the shared memory: composed into, then shown with Show. The server reads it
    // on another processor, so copies into it go past the cache.
    Image& Frame() { return frame_; }
    // Paints a rectangle of the window black (around the frame in full screen).
    void Clear(RectPx screen);
    // Hands an area of the frame to the server and draws it into the window through the viewport.
    void Show(RectPx frameArea, const Viewport& view);
    // Waits until the server has drawn everything asked of it, so the frame may change again.
    void Finish();

private:
    struct Objects;
    explicit X11Scaler(std::unique_ptr<Objects> objects);

    std::unique_ptr<Objects> x_;
    Image frame_;
};

}  // namespace quibbix

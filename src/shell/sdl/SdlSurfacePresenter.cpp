#include "shell/sdl/SdlSurfacePresenter.h"

#include <SDL.h>

#include "shell/platform/Compositor.h"
#include "shell/platform/FrameChanges.h"
#include "shell/platform/NearestScale.h"
#include "shell/platform/PixelTarget.h"

namespace quibbix {

namespace {

// How many presents go by without comparing once most of what was repainted had changed: half a
// second of play, after which the next present looks again.
constexpr int kDenseTicks = 25;

// The pixel layout of the game's own frame: 32 bits, 0xXXRRGGBB.
bool IsXrgb(const SDL_Surface& surface) {
    const std::uint32_t format = surface.format->format;
    return (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888);
}

// Rows packed one after another, as an image borrowing them expects.
bool IsPacked(const SDL_Surface& surface) {
    return surface.pitch == surface.w * static_cast<int>(sizeof(Argb));
}

SDL_Rect ToSdl(RectPx area) {
    return {area.left, area.top, area.Width(), area.Height()};
}

// Locks the surface for as long as it lives, where SDL asks for it.
class SurfaceLock {
public:
    explicit SurfaceLock(SDL_Surface& surface) : surface_(surface) {
        ok_ = !SDL_MUSTLOCK(&surface_) || SDL_LockSurface(&surface_) == 0;
    }
    ~SurfaceLock() {
        if (ok_ && SDL_MUSTLOCK(&surface_)) {
            SDL_UnlockSurface(&surface_);
        }
    }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;
    bool Ok() const { return ok_; }

private:
    SDL_Surface& surface_;
    bool ok_ = false;
};

}  // namespace

std::unique_ptr<SdlSurfacePresenter> SdlSurfacePresenter::Make(SDL_Window* window) {
    if (SDL_GetWindowSurface(window) == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<SdlSurfacePresenter>(new SdlSurfacePresenter(window));
}

SizePx SdlSurfacePresenter::OutputSize() const {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    return {width, height};
}

bool SdlSurfacePresenter::IsNew(const SDL_Surface& surface) {
    const SizePx size{surface.w, surface.h};
    const bool changed = &surface != lastSurface_ || surface.pixels != lastPixels_ || size != lastSize_;
    lastSurface_ = &surface;
    lastPixels_ = surface.pixels;
    lastSize_ = size;
    return changed;
}

bool SdlSurfacePresenter::Present(const Form& form, const std::vector<RectPx>& areas, bool everything,
                                  const Viewport& view) {
    // Fetched every time: after a resize SDL makes a new surface, and a stale one is never drawn into.
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) {
        return Fail(SDL_GetError());
    }
    everything = IsNew(*surface) || everything;
    if (!everything && areas.empty()) {
        return true;
    }
    std::vector<RectPx> drawn;
    {
        const SurfaceLock lock(*surface);
        if (!lock.Ok()) {
            return Fail(SDL_GetError());
        }
        drawn = Draw(form, areas, everything, view, *surface);
    }
    if (drawn.empty()) {
        return true;
    }
    std::vector<SDL_Rect> rects;
    rects.reserve(drawn.size());
    for (const RectPx& area : drawn) {
        rects.push_back(ToSdl(area));
    }
    if (SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size())) != 0) {
        return Fail(SDL_GetError());
    }
    return true;
}

std::vector<RectPx> SdlSurfacePresenter::Draw(const Form& form, const std::vector<RectPx>& areas,
                                              bool everything, const Viewport& view, SDL_Surface& surface) {
    const RectPx bounds = form.Bounds();
    const RectPx screen{0, 0, surface.w, surface.h};
    const std::vector<RectPx> changed = everything ? std::vector<RectPx>{bounds} : areas;
    std::vector<RectPx> drawn;

    // At zoom 1, with the window exactly the frame's size, the surface is the frame: the form is
    // painted straight into it and nothing is copied.
    const bool direct = IsXrgb(surface) && IsPacked(surface) && view == Viewport{} && screen == bounds;
    if (direct) {
        // The surface is window memory: copies go past the cache.
        Image frame = Image::Borrowed(static_cast<Argb*>(surface.pixels), surface.w, surface.h,
                                      Image::Stores::PastCache);
        for (const RectPx& area : changed) {
            Compose(form, frame, area);
            drawn.push_back(Intersect(area, bounds));
        }
        return drawn;
    }

    if (frame_.Width() != bounds.Width() || frame_.Height() != bounds.Height()) {
        frame_ = Image(bounds.Width(), bounds.Height());
        next_ = frame_;
        everything = true;
    }
    Image converted;
    PixelTarget target{static_cast<Argb*>(surface.pixels),
                       static_cast<std::size_t>(surface.pitch) / sizeof(Argb),
                       {surface.w, surface.h}};
    if (!IsXrgb(surface)) {
        // An unusual display: enlarge into memory of the frame's own layout, then convert.
        converted = Image(surface.w, surface.h);
        target = {converted.Row(0), static_cast<std::size_t>(surface.w), {surface.w, surface.h}};
    }
    const auto enlarge = [&](RectPx area) {
        const RectPx out = ScaleNearest(frame_, area, view, target);
        if (!out.Empty() && !IsXrgb(surface)) {
            SDL_ConvertPixels(out.Width(), out.Height(), SDL_PIXELFORMAT_ARGB8888,
                              converted.Row(out.top) + out.left, surface.w * static_cast<int>(sizeof(Argb)),
                              surface.format->format,
                              static_cast<std::uint8_t*>(surface.pixels) + out.top * surface.pitch +
                                  out.left * surface.format->BytesPerPixel,
                              surface.pitch);
        }
        return out;
    };
    if (everything) {
        Compose(form, frame_, bounds);
        SDL_FillRect(&surface, nullptr, SDL_MapRGB(surface.format, 0, 0, 0));
        enlarge(bounds);
        drawn.push_back(screen);
        return drawn;
    }
    // A board full of moving balls changes almost everywhere: comparing is then wasted, and for a
    // while every repainted area is enlarged whole.
    if (denseTicks_ > 0) {
        --denseTicks_;
        for (const RectPx& area : changed) {
            Compose(form, frame_, area);
            if (const RectPx out = enlarge(area); !out.Empty()) {
                drawn.push_back(out);
            }
        }
        return drawn;
    }
    // The form repaints whole controls; only the pixels that differ from what is shown are enlarged.
    long repainted = 0;
    long differing = 0;
    for (const RectPx& area : changed) {
        Compose(form, next_, area);
        repainted += static_cast<long>(area.Width()) * area.Height();
        for (const RectPx& band : TakeChanges(next_, frame_, area)) {
            differing += static_cast<long>(band.Width()) * band.Height();
            if (const RectPx out = enlarge(band); !out.Empty()) {
                drawn.push_back(out);
            }
        }
    }
    if (differing * 2 > repainted) {
        denseTicks_ = kDenseTicks;
    }
    return drawn;
}

}  // namespace quibbix

#pragma once

#include "shell/platform/PointPx.h"
#include "shell/platform/RectPx.h"
#include "shell/platform/SizePx.h"

namespace quibbix {

// Where the frame stands in the window and how large its pixels are drawn: `zoom` screen pixels
// to a frame pixel, its top-left corner at (left, top) in screen pixels. The window system may
// count its coordinates in other units than screen pixels: `scale` screen pixels to a unit, 1.5
// on an output scaled by 150 %.
struct Viewport {
    int zoom = 1;
    int left = 0;
    int top = 0;
    double scale = 1;
    // When the window system rounded the window to a size that is no whole zoom of the frame, the
    // frame is stretched over all `stretched` screen pixels instead (nearest neighbour), so that
    // no band is left; `frame` is then its size, and `window` the window's in its own units. All
    // empty otherwise.
    SizePx frame{};
    SizePx stretched{};
    SizePx window{};

    // The frame pixel under a point in window coordinates; outside the frame for a point beside it.
    PointPx ToFrame(int x, int y) const;
    // The screen pixels that show an area of the frame.
    RectPx ToScreen(RectPx frameArea) const;
    bool operator==(const Viewport&) const = default;
};

// The largest zoom at which the frame fits into an area, at least 1. Area and zoom both count
// screen pixels.
int LargestZoom(SizePx frame, SizePx area);
// The zoom that shows the frame as large as the desktop's scale asks (the nearest whole zoom,
// a half rounded up), but no larger than fits the usable area; at least 1.
int DesktopZoom(double desktopScale, SizePx frame, SizePx usable);
// The window's size, in the window system's units, for the frame at a zoom: as near as those
// units allow to a whole zoom of screen pixels.
SizePx WindowSize(SizePx frame, int zoom, double scale);
// The frame in a window of `window` units whose contents are `output` screen pixels: at the zoom
// from the top-left corner, or stretched over the output where the window system scales and
// rounded the window to another size.
Viewport WindowViewport(SizePx frame, int zoom, SizePx output, SizePx window);
// The frame at the largest zoom that fits the screen, centred on it.
Viewport FullScreenViewport(SizePx frame, SizePx screen);

}  // namespace quibbix

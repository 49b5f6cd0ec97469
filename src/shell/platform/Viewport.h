#pragma once
#include <optional>
#include <string_view>

#include "shell/platform/Geometry.h"

namespace quibbix {

struct SizePx {
    int width = 0;
    int height = 0;
    bool operator==(const SizePx&) const = default;
};

struct PointPx {
    int x = 0;
    int y = 0;
    bool operator==(const PointPx&) const = default;
};

// Where the frame stands in the window and how large its pixels are drawn: `zoom` screen pixels
// to a frame pixel, its top-left corner at (left, top) in screen pixels. The window system may
// count its coordinates in larger units than screen pixels: `scale` screen pixels to a unit.
struct Viewport {
    int zoom = 1;
    int left = 0;
    int top = 0;
    int scale = 1;

    // The frame pixel under a point in window coordinates; outside the frame for a point beside it.
    PointPx ToFrame(int x, int y) const;
    // The screen pixels that show an area of the frame.
    RectPx ToScreen(RectPx frameArea) const;
    bool operator==(const Viewport&) const = default;
};

// The largest zoom at which the frame fits into an area, at least 1.
int LargestZoom(SizePx frame, SizePx area);
// A zoom between 1 and the largest that fits into the area.
int ClampZoom(int zoom, SizePx frame, SizePx area);
// The frame at the largest zoom that fits the screen, centred on it.
Viewport FullScreenViewport(SizePx frame, SizePx screen);

// The desktop's scale as the toolkits announce it on X11: GDK_SCALE when it is a whole number of
// at least 1, else Xft.dpi from the resource database divided by 96 and rounded down; 1 without
// either.
int DesktopScale(std::optional<std::string_view> gdkScale, std::optional<std::string_view> resources);
// The value of Xft.dpi in a resource database's text, when it holds one.
std::optional<double> XftDpi(std::string_view resources);

}  // namespace quibbix

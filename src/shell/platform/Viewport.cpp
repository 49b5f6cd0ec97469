#include "shell/platform/Viewport.h"

#include <algorithm>
#include <cmath>

namespace quibbix {

namespace {

// Far beyond any screen made; also keeps every product below within an int.
constexpr double kLargestScale = 64;

// Division that rounds towards minus infinity, so a point left of the frame stays left of it.
long long FloorDiv(long long value, long long divisor) {
    const long long quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

// A scale a window system reported, kept to what a screen can mean: NaN, zero and negatives are 1.
double SaneScale(double scale) {
    return std::isfinite(scale) && scale > 0 ? std::clamp(scale, 1 / kLargestScale, kLargestScale) : 1.0;
}

}  // namespace

PointPx Viewport::ToFrame(int x, int y) const {
    if (stretched.width > 0 && stretched.height > 0 && window.width > 0 && window.height > 0) {
        // The frame pixel under the middle of the unit.
        return {static_cast<int>(FloorDiv((2LL * x + 1) * frame.width, 2LL * window.width)),
                static_cast<int>(FloorDiv((2LL * y + 1) * frame.height, 2LL * window.height))};
    }
    // The screen pixel under the middle of the unit: at a fractional scale a unit's edge may lie
    // in the pixel before.
    const auto screenX = static_cast<long long>(std::floor((x + 0.5) * scale)) - left;
    const auto screenY = static_cast<long long>(std::floor((y + 0.5) * scale)) - top;
    return {static_cast<int>(FloorDiv(screenX, zoom)), static_cast<int>(FloorDiv(screenY, zoom))};
}

RectPx Viewport::ToScreen(RectPx frameArea) const {
    if (stretched.width > 0 && stretched.height > 0 && frame.width > 0 && frame.height > 0) {
        // The first screen pixel that shows the frame pixel, as ToFrame counts.
        const auto x = [&](int column) {
            return left +
                   static_cast<int>(FloorDiv(1LL * column * stretched.width + frame.width - 1, frame.width));
        };
        const auto y = [&](int row) {
            return top +
                   static_cast<int>(FloorDiv(1LL * row * stretched.height + frame.height - 1, frame.height));
        };
        return {x(frameArea.left), y(frameArea.top), x(frameArea.right), y(frameArea.bottom)};
    }
    return {left + frameArea.left * zoom, top + frameArea.top * zoom, left + frameArea.right * zoom,
            top + frameArea.bottom * zoom};
}

int LargestZoom(SizePx frame, SizePx area) {
    if (frame.width <= 0 || frame.height <= 0) {
        return 1;
    }
    return std::max(1, std::min(area.width / frame.width, area.height / frame.height));
}

int DesktopZoom(double desktopScale, SizePx frame, SizePx usable) {
    const int wished = static_cast<int>(std::floor(SaneScale(desktopScale) + 0.5));
    return std::max(1, std::min(wished, LargestZoom(frame, usable)));
}

SizePx WindowSize(SizePx frame, int zoom, double scale) {
    scale = SaneScale(scale);
    const auto units = [&](int pixels) {
        return std::max(1, static_cast<int>(std::lround(static_cast<double>(pixels) * zoom / scale)));
    };
    return {units(frame.width), units(frame.height)};
}

Viewport WindowViewport(SizePx frame, int zoom, SizePx output, SizePx window) {
    Viewport view{zoom, 0, 0,
                  window.width > 0 ? SaneScale(static_cast<double>(output.width) / window.width) : 1};
    // Only a window system that scales rounds the window: elsewhere the frame keeps its zoom and
    // a larger window shows black beside it.
    const bool whole = output.width == frame.width * zoom && output.height == frame.height * zoom;
    if (view.scale != 1 && !whole && output.width > 0 && output.height > 0 && window.height > 0) {
        view.frame = frame;
        view.stretched = output;
        view.window = window;
    }
    return view;
}

Viewport FullScreenViewport(SizePx frame, SizePx screen) {
    const int zoom = LargestZoom(frame, screen);
    return {zoom, (screen.width - frame.width * zoom) / 2, (screen.height - frame.height * zoom) / 2};
}

}  // namespace quibbix

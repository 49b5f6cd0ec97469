#include "shell/platform/NearestScale.h"

#include <algorithm>
#include <cstring>

namespace quibbix {

namespace {

// One row of a whole number of source pixels, each written Zoom times: with the zoom known to the
// compiler the loop becomes straight vector stores.
template <int Zoom>
void WidenRow(Argb* __restrict to, const Argb* __restrict from, int count) {
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k < Zoom; ++k) {
            to[i * Zoom + k] = from[i];
        }
    }
}

// Any row: a partial first and last source pixel where the target cuts them.
void WidenRowAnyZoom(Argb* to, Argb* end, const Argb* source, int zoom, int firstRun) {
    for (int run = firstRun; to < end; run = zoom, ++source) {
        const Argb pixel = *source;
        Argb* const stop = std::min(to + run, end);
        while (to < stop) {
            *to++ = pixel;
        }
    }
}

__attribute__((target_clones("avx2", "default"))) void WidenRow(Argb* to, Argb* end, const Argb* source, int zoom,
                                                                int firstRun) {
    const long width = end - to;
    // Whole source pixels only, the common case: a window at zoom 2, 3 or 4.
    if (firstRun == zoom && width % zoom == 0) {
        const int count = static_cast<int>(width / zoom);
        switch (zoom) {
            case 2:
                return WidenRow<2>(to, source, count);
            case 3:
                return WidenRow<3>(to, source, count);
            case 4:
                return WidenRow<4>(to, source, count);
            default:
                break;
        }
    }
    WidenRowAnyZoom(to, end, source, zoom, firstRun);
}

}  // namespace

RectPx ScaleNearest(const Image& frame, RectPx area, const Viewport& view, const PixelTarget& target) {
    const RectPx out = Intersect(view.ToScreen(Intersect(area, frame.Bounds())),
                                 RectPx{0, 0, target.size.width, target.size.height});
    if (out.Empty()) {
        return {};
    }
    const int zoom = view.zoom;
    const std::size_t rowBytes = static_cast<std::size_t>(out.Width()) * sizeof(Argb);
    // The first source pixel of the row, and how many target pixels it still covers there.
    const int firstColumn = (out.left - view.left) / zoom;
    const int firstRun = zoom - (out.left - view.left) % zoom;
    for (int y = out.top; y < out.bottom;) {
        const int sourceRow = (y - view.top) / zoom;
        const Argb* source = frame.Row(sourceRow) + firstColumn;
        Argb* row = target.pixels + static_cast<std::size_t>(y) * target.pitch;
        if (zoom == 1) {
            std::memcpy(row + out.left, source, rowBytes);
        } else {
            WidenRow(row + out.left, row + out.right, source, zoom, firstRun);
        }
        // The other target rows of this frame row are copies of the first.
        const int next = std::min(out.bottom, view.top + (sourceRow + 1) * zoom);
        for (int copy = y + 1; copy < next; ++copy) {
            std::memcpy(target.pixels + static_cast<std::size_t>(copy) * target.pitch + out.left, row + out.left,
                        rowBytes);
        }
        y = next;
    }
    return out;
}

}  // namespace quibbix

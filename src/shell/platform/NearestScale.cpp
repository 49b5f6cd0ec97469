#include "shell/platform/NearestScale.h"

#include <algorithm>
#include <cstring>

namespace quibbix {

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
            Argb* to = row + out.left;
            Argb* const end = row + out.right;
            for (int run = firstRun; to < end; run = zoom, ++source) {
                const Argb pixel = *source;
                Argb* const stop = std::min(to + run, end);
                while (to < stop) {
                    *to++ = pixel;
                }
            }
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

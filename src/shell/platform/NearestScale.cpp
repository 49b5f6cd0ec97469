#include "shell/platform/NearestScale.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "shell/platform/WiderInstructions.h"

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

QUIBBIX_WIDER_WHERE_AVAILABLE void WidenRow(Argb* to, Argb* end, const Argb* source, int zoom, int firstRun) {
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

// Both target rows of a frame row at zoom 2 at once, written past the cache: a window surface is
// far larger than the cache, and a plain store would first read each line in only to overwrite it.
// False, having written nothing, when the rows are not laid out for it.
bool DoubleRowsStreamed(Argb* first, Argb* second, const Argb* source, int width) {
#if defined(__SSE2__)
    const auto address = reinterpret_cast<std::uintptr_t>(first);
    if (width % 2 != 0 || address % 8 != 0 || address % 16 != reinterpret_cast<std::uintptr_t>(second) % 16) {
        return false;
    }
    int i = 0;
    if (address % 16 == 8) {
        first[0] = first[1] = second[0] = second[1] = source[0];
        i = 2;
    }
    for (; i + 8 <= width; i += 8) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i / 2));
        const __m128i low = _mm_unpacklo_epi32(pixels, pixels);
        const __m128i high = _mm_unpackhi_epi32(pixels, pixels);
        _mm_stream_si128(reinterpret_cast<__m128i*>(first + i), low);
        _mm_stream_si128(reinterpret_cast<__m128i*>(first + i + 4), high);
        _mm_stream_si128(reinterpret_cast<__m128i*>(second + i), low);
        _mm_stream_si128(reinterpret_cast<__m128i*>(second + i + 4), high);
    }
    for (; i < width; i += 2) {
        first[i] = first[i + 1] = second[i] = second[i + 1] = source[i / 2];
    }
    return true;
#else
    (void)first;
    (void)second;
    (void)source;
    (void)width;
    return false;
#endif
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
        const int next = std::min(out.bottom, view.top + (sourceRow + 1) * zoom);
        if (zoom == 2 && firstRun == 2 && next - y == 2 &&
            DoubleRowsStreamed(row + out.left, row + target.pitch + out.left, source, out.Width())) {
            y = next;
            continue;
        }
        if (zoom == 1) {
            std::memcpy(row + out.left, source, rowBytes);
        } else {
            WidenRow(row + out.left, row + out.right, source, zoom, firstRun);
        }
        // The other target rows of this frame row are copies of the first.
        for (int copy = y + 1; copy < next; ++copy) {
            std::memcpy(target.pixels + static_cast<std::size_t>(copy) * target.pitch + out.left,
                        row + out.left, rowBytes);
        }
        y = next;
    }
#if defined(__SSE2__)
    // Streamed stores are seen by others only after a fence.
    _mm_sfence();
#endif
    return out;
}

}  // namespace quibbix

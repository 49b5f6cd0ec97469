#include "shell/platform/RasterOp.h"

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "shell/platform/WiderInstructions.h"

namespace quibbix {

namespace {

// Runs combine over every pixel of a rectangle, `width` pixels a row.
template <int Width, typename Combine>
[[gnu::always_inline]] inline void CombineRows(Argb* out, int outStride, const Argb* in, int inStride,
                                               int width, int height, Combine combine) {
    for (int row = 0; row < height; ++row, out += outStride, in += inStride) {
        Argb* __restrict o = out;
        const Argb* __restrict i = in;
        const int count = Width > 0 ? Width : width;
        for (int col = 0; col < count; ++col) {
            o[col] = combine(o[col], i[col]);
        }
    }
}

// Opaque copies of rows into memory the display reads next, written past the cache: the display
// server has just read those lines on another processor, and a plain store would first have to win
// each one back only to overwrite it.
void StreamRowsOpaque(Image& target, RectPx to, const Image& source, int sx, int sy) {
#if defined(__SSE2__)
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(kOpaqueBlack));
    for (int row = 0; row < to.Height(); ++row) {
        Argb* out = target.Row(to.top + row) + to.left;
        const Argb* in = source.Row(sy + row) + sx;
        const int count = to.Width();
        int i = 0;
        for (; i < count && reinterpret_cast<std::uintptr_t>(out + i) % 16 != 0; ++i) {
            out[i] = in[i] | kOpaqueBlack;
        }
        for (; i + 4 <= count; i += 4) {
            const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            _mm_stream_si128(reinterpret_cast<__m128i*>(out + i), _mm_or_si128(pixels, opaque));
        }
        for (; i < count; ++i) {
            out[i] = in[i] | kOpaqueBlack;
        }
    }
    // Streamed stores are seen by others only after a fence.
    _mm_sfence();
#else
    for (int row = 0; row < to.Height(); ++row) {
        Argb* out = target.Row(to.top + row) + to.left;
        const Argb* in = source.Row(sy + row) + sx;
        std::transform(in, in + to.Width(), out, [](Argb pixel) { return pixel | kOpaqueBlack; });
    }
#endif
}

// Ball sprites are 32 pixels wide: a row of known width becomes a few straight vector
// operations, so drawing a ball costs little more than its memory traffic.
template <typename Combine>
[[gnu::always_inline]] inline void CopyRows(Image& target, RectPx to, const Image& source, int sx, int sy,
                                            Combine combine) {
    Argb* out = target.Row(to.top) + to.left;
    if (!source.RowsPacked()) {
        // Artwork that shares repeated rows: no stride leads from one row to the next.
        for (int row = 0; row < to.Height(); ++row) {
            CombineRows<0>(out + static_cast<std::ptrdiff_t>(row) * target.Width(), 0,
                           source.Row(sy + row) + sx, 0, to.Width(), 1, combine);
        }
        return;
    }
    const Argb* in = source.Row(sy) + sx;
    if (to.Width() == 32) {
        CombineRows<32>(out, target.Width(), in, source.Width(), 32, to.Height(), combine);
    } else {
        CombineRows<0>(out, target.Width(), in, source.Width(), to.Width(), to.Height(), combine);
    }
}

}  // namespace

// The game tick spends most of its time here: built for wider vector units too, picked at load.
QUIBBIX_WIDER_WHERE_AVAILABLE void CopyRect(Image& target, int x, int y, int width, int height,
                                            const Image& source, int sx, int sy, RasterOp op) {
    // Clip against the source first, then the target, shifting both origins together.
    RectPx from = Intersect({sx, sy, sx + width, sy + height}, source.Bounds());
    RectPx to{x + (from.left - sx), y + (from.top - sy), x + (from.right - sx), y + (from.bottom - sy)};
    const RectPx clipped = Intersect(to, target.Bounds());
    if (clipped.Empty()) {
        return;
    }
    from.left += clipped.left - to.left;
    from.top += clipped.top - to.top;
    to = clipped;

    // A copy draws transparent pixels as their colour: everything drawn in the window is opaque.
    // Masking and painting combine opaque pictures, whose results are opaque already.
    switch (op) {
        case RasterOp::SrcCopy:
            // Rows shorter than a few cache lines gain nothing from going past the cache.
            if (target.StoresTo() == Image::Stores::PastCache && to.Width() >= 64) {
                StreamRowsOpaque(target, to, source, from.left, from.top);
                break;
            }
            CopyRows(target, to, source, from.left, from.top, [](Argb, Argb s) { return s | kOpaqueBlack; });
            break;
        case RasterOp::SrcAnd:
            CopyRows(target, to, source, from.left, from.top, [](Argb d, Argb s) { return d & s; });
            break;
        case RasterOp::SrcPaint:
            CopyRows(target, to, source, from.left, from.top, [](Argb d, Argb s) { return d | s; });
            break;
    }
}

namespace {

// One row of a sprite drawn through its mask. A ball's row is 32 pixels: as a constant width it
// becomes four straight vector operations.
template <int Width>
[[gnu::always_inline]] inline void MaskRows(Argb* out, std::ptrdiff_t outStride, const Argb* mask,
                                            const Argb* sprite, std::ptrdiff_t inStride, int width,
                                            int rows) {
    for (int row = 0; row < rows; ++row, out += outStride, mask += inStride, sprite += inStride) {
        Argb* __restrict o = out;
        const Argb* __restrict m = mask;
        const Argb* __restrict s = sprite;
        const int count = Width > 0 ? Width : width;
        for (int col = 0; col < count; ++col) {
            o[col] = (o[col] & m[col]) | s[col];
        }
    }
}

}  // namespace

QUIBBIX_WIDER_WHERE_AVAILABLE void CopyThroughMask(Image& target, int x, int y, int width, int height,
                                                   const Image& source, int maskX, int maskY, int spriteX,
                                                   int spriteY) {
    // Clip so that the target rectangle and both source rectangles stay inside their images.
    const int left = std::max({0, -x, -maskX, -spriteX});
    const int top = std::max({0, -y, -maskY, -spriteY});
    const int right = std::min({width, target.Width() - x, source.Width() - maskX, source.Width() - spriteX});
    const int bottom =
        std::min({height, target.Height() - y, source.Height() - maskY, source.Height() - spriteY});
    if (right <= left || bottom <= top) {
        return;
    }
    Argb* out = target.Row(y + top) + x + left;
    const int count = right - left;
    if (!source.RowsPacked()) {
        // Artwork that shares repeated rows: no stride leads from one row to the next.
        for (int row = top; row < bottom; ++row) {
            MaskRows<0>(out + static_cast<std::ptrdiff_t>(row - top) * target.Width(), 0,
                        source.Row(maskY + row) + maskX + left, source.Row(spriteY + row) + spriteX + left, 0,
                        count, 1);
        }
        return;
    }
    const Argb* mask = source.Row(maskY + top) + maskX + left;
    const Argb* sprite = source.Row(spriteY + top) + spriteX + left;
    if (count == 32) {
        MaskRows<32>(out, target.Width(), mask, sprite, source.Width(), count, bottom - top);
    } else {
        MaskRows<0>(out, target.Width(), mask, sprite, source.Width(), count, bottom - top);
    }
}

}  // namespace quibbix

#include "shell/platform/Image.h"

#include <algorithm>

namespace quibbix {

Image Image::Borrowing(int width, int height, std::span<const Argb> pixels) {
    Image image;
    if (pixels.size() < static_cast<std::size_t>(width) * height) {
        return image;  // too few pixels for the size: an empty image rather than a read past the end
    }
    image.width_ = width;
    image.height_ = height;
    image.borrowed_ = pixels.data();
    return image;
}

bool Image::operator==(const Image& other) const {
    const std::span<const Argb> mine = Pixels();
    const std::span<const Argb> theirs = other.Pixels();
    return width_ == other.width_ && height_ == other.height_ &&
           std::equal(mine.begin(), mine.end(), theirs.begin());
}

__attribute__((target_clones("avx2", "default"))) void Image::FillRect(RectPx rect, Argb colour) {
    const RectPx clipped = Intersect(rect, Bounds());
    if (clipped.Empty()) {
        return;
    }
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        Argb* begin = Row(y) + clipped.left;
        Argb* const end = Row(y) + clipped.right;
        // Vector stores that straddle two cache lines cost twice: start them on a 32-byte boundary.
        while (begin != end && reinterpret_cast<std::uintptr_t>(begin) % 32 != 0) {
            *begin++ = colour;
        }
        std::fill(begin, end, colour);
    }
}

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

// Ball sprites are 32 pixels wide: a row of known width becomes a few straight vector
// operations, so drawing a ball costs little more than its memory traffic.
template <typename Combine>
[[gnu::always_inline]] inline void CopyRows(Image& target, RectPx to, const Image& source, int sx, int sy,
                                            Combine combine) {
    Argb* out = target.Row(to.top) + to.left;
    const Argb* in = source.Row(sy) + sx;
    if (to.Width() == 32) {
        CombineRows<32>(out, target.Width(), in, source.Width(), 32, to.Height(), combine);
    } else {
        CombineRows<0>(out, target.Width(), in, source.Width(), to.Width(), to.Height(), combine);
    }
}

}  // namespace

// The game tick spends most of its time here: built for wider vector units too, picked at load.
__attribute__((target_clones("avx2", "default"))) void CopyRect(Image& target, int x, int y, int width,
                                                                int height, const Image& source, int sx,
                                                                int sy, RasterOp op) {
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

__attribute__((target_clones("avx2", "default"))) void CopyThroughMask(Image& target, int x, int y, int width,
                                                                       int height, const Image& source,
                                                                       int maskX, int maskY, int spriteX,
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
    const Argb* mask = source.Row(maskY + top) + maskX + left;
    const Argb* sprite = source.Row(spriteY + top) + spriteX + left;
    const int count = right - left;
    if (count == 32) {
        MaskRows<32>(out, target.Width(), mask, sprite, source.Width(), count, bottom - top);
    } else {
        MaskRows<0>(out, target.Width(), mask, sprite, source.Width(), count, bottom - top);
    }
}

}  // namespace quibbix

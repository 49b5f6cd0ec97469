#include "shell/platform/Image.h"

#include <algorithm>

namespace quibbix {

// A copy owns its pixels, whoever owned the original's.
Image::Image(const Image& other)
    : width_(other.width_),
      height_(other.height_),
      pixels_(other.data_, other.data_ + static_cast<std::size_t>(other.width_) * other.height_),
      data_(pixels_.data()) {}

Image::Image(Image&& other) noexcept {
    *this = std::move(other);
}

Image& Image::operator=(const Image& other) {
    if (this != &other) {
        *this = Image(other);
    }
    return *this;
}

Image& Image::operator=(Image&& other) noexcept {
    if (this != &other) {
        const bool owned = other.Owns();
        width_ = other.width_;
        height_ = other.height_;
        pixels_ = std::move(other.pixels_);
        data_ = owned ? pixels_.data() : other.data_;
        other.width_ = 0;
        other.height_ = 0;
        other.pixels_.clear();
        other.data_ = nullptr;
    }
    return *this;
}

Image Image::Borrow(Argb* pixels, int width, int height) {
    Image image;
    image.width_ = width;
    image.height_ = height;
    image.data_ = pixels;
    return image;
}

bool Image::operator==(const Image& other) const {
    return width_ == other.width_ && height_ == other.height_ &&
           std::equal(data_, data_ + static_cast<std::size_t>(width_) * height_, other.data_);
}

__attribute__((target_clones("avx2", "default"))) void Image::FillRect(RectPx rect, Argb colour) {
    const RectPx clipped = Intersect(rect, Bounds());
    if (clipped.Empty()) {
        return;
    }
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        std::fill(Row(y) + clipped.left, Row(y) + clipped.right, colour);
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
    const int count = right - left;
    for (int row = top; row < bottom; ++row) {
        Argb* __restrict out = target.Row(y + row) + x + left;
        const Argb* __restrict mask = source.Row(maskY + row) + maskX + left;
        const Argb* __restrict sprite = source.Row(spriteY + row) + spriteX + left;
        // A ball's row is 32 pixels: as a constant it becomes four straight vector operations.
        if (count == 32) {
            for (int col = 0; col < 32; ++col) {
                out[col] = (out[col] & mask[col]) | sprite[col];
            }
        } else {
            for (int col = 0; col < count; ++col) {
                out[col] = (out[col] & mask[col]) | sprite[col];
            }
        }
    }
}

}  // namespace quibbix

#include "shell/platform/Image.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quibbix {

// Read-only artwork never changes, so a copy may read the same pixels; any other copy owns them.
Image::Image(const Image& other)
    : width_(other.width_), height_(other.height_), rowStarts_(other.rowStarts_), readOnly_(other.readOnly_) {
    if (readOnly_) {
        first_ = other.first_;
        return;
    }
    owned_.assign(other.first_, other.first_ + static_cast<std::size_t>(width_) * height_);
    first_ = owned_.data();
}

// Moving a vector keeps its pixels where they are, so first_ stays right.
Image::Image(Image&& other) noexcept
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      owned_(std::move(other.owned_)),
      first_(std::exchange(other.first_, nullptr)),
      rowStarts_(std::exchange(other.rowStarts_, nullptr)),
      readOnly_(std::exchange(other.readOnly_, false)),
      stores_(std::exchange(other.stores_, Stores::Cached)) {
    other.owned_.clear();
}

Image& Image::operator=(const Image& other) {
    if (this != &other) {
        *this = Image(other);
    }
    return *this;
}

Image& Image::operator=(Image&& other) noexcept {
    if (this != &other) {
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        owned_ = std::move(other.owned_);
        other.owned_.clear();
        first_ = std::exchange(other.first_, nullptr);
        rowStarts_ = std::exchange(other.rowStarts_, nullptr);
        readOnly_ = std::exchange(other.readOnly_, false);
        stores_ = std::exchange(other.stores_, Stores::Cached);
    }
    return *this;
}

Image Image::Borrowed(Argb* pixels, int width, int height, Stores stores) {
    Image image;
    image.width_ = width;
    image.height_ = height;
    image.first_ = pixels;
    image.stores_ = stores;
    return image;
}

Image Image::ReadOnlyArtwork(int width, int height, std::span<const Argb> pixels,
                             std::span<const std::uint32_t> rowStarts) {
    Image image;
    // Too few pixels for the size, or a row that would end past them: an empty image rather than a
    // read past the end.
    if (rowStarts.empty()) {
        if (pixels.size() < static_cast<std::size_t>(width) * height) {
            return image;
        }
    } else if (rowStarts.size() != static_cast<std::size_t>(height) ||
               std::any_of(rowStarts.begin(), rowStarts.end(),
                           [&](std::uint32_t start) { return std::size_t{start} + width > pixels.size(); })) {
        return image;
    }
    image.width_ = width;
    image.height_ = height;
    image.first_ = pixels.data();
    image.rowStarts_ = rowStarts.empty() ? nullptr : rowStarts.data();
    image.readOnly_ = true;
    return image;
}

Image Image::OwnedCopy() const {
    Image copy(width_, height_);
    for (int y = 0; y < height_; ++y) {
        std::copy_n(Row(y), width_, copy.Row(y));
    }
    return copy;
}

// Owned and borrowed pixels are writable memory that the image was given as such.
Argb* Image::Writable() {
    assert(!readOnly_ && "read-only artwork is drawn on through OwnedCopy()");
    return const_cast<Argb*>(first_);
}

bool Image::operator==(const Image& other) const {
    if (width_ != other.width_ || height_ != other.height_) {
        return false;
    }
    for (int y = 0; y < height_; ++y) {
        if (!std::equal(Row(y), Row(y) + width_, other.Row(y))) {
            return false;
        }
    }
    return true;
}

namespace {

void FillRun(Argb* begin, std::size_t count, Argb colour) {
#if defined(__x86_64__)
    // From about a row of the board on, the processor's string store fills faster than vector
    // stores: it writes whole cache lines without reading them first.
    constexpr std::size_t kStringStoreRun = 256;
    if (count >= kStringStoreRun) {
        asm volatile("rep stosl" : "+D"(begin), "+c"(count) : "a"(colour) : "memory");
        return;
    }
#endif
    std::fill_n(begin, count, colour);
}

// A free function, not the member: clang builds clones only of a function not yet used, and the
// header's Fill uses the member.
__attribute__((target_clones("avx2", "default"))) void FillRows(Image& image, RectPx clipped, Argb colour) {
    const auto width = static_cast<std::size_t>(clipped.Width());
    if (clipped.left == 0 && clipped.right == image.Width()) {
        // Whole rows lie one after another: one run.
        FillRun(image.Row(clipped.top), width * static_cast<std::size_t>(clipped.Height()), colour);
        return;
    }
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        FillRun(image.Row(y) + clipped.left, width, colour);
    }
}

}  // namespace

void Image::FillRect(RectPx rect, Argb colour) {
    const RectPx clipped = Intersect(rect, Bounds());
    if (!clipped.Empty()) {
        FillRows(*this, clipped, colour);
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
            // Rows shorter than a few cache lines gain nothing from going past the cache.
            if (target.StoresTo() == Stores::PastCache && to.Width() >= 64) {
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

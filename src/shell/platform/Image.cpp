#include "shell/platform/Image.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <utility>

#include "shell/platform/WiderInstructions.h"

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
QUIBBIX_WIDER_WHERE_AVAILABLE void FillRows(Image& image, RectPx clipped, Argb colour) {
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

}  // namespace quibbix

#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "shell/platform/Geometry.h"

namespace quibbix {

// Pixels are 0xAARRGGBB. Alpha only matters for the cursor and the program icon: everything drawn
// inside the window is opaque.
using Argb = std::uint32_t;

inline constexpr Argb kOpaqueBlack = 0xFF000000u;

inline constexpr Argb Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return 0xFF000000u | (Argb{r} << 16) | (Argb{g} << 8) | Argb{b};
}

// The colour value the drawing calls report: 0x00BBGGRR, 0 for black.
inline constexpr std::uint32_t ToColorRef(Argb pixel) {
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

// A colour value 0x00BBGGRR turned into an opaque pixel.
inline constexpr Argb FromColorRef(std::uint32_t color) {
    return 0xFF000000u | ToColorRef(color);
}

class Image {
public:
    Image() = default;
    Image(int width, int height, Argb fill = kOpaqueBlack)
        : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}
    Image(const Image& other);
    Image(Image&& other) noexcept;
    Image& operator=(const Image& other);
    Image& operator=(Image&& other) noexcept;
    ~Image() = default;

    // Pixels that belong to someone else, rows packed one after another: drawing into the image
    // draws into them, so a frame can be painted straight into the memory the screen shows. They
    // must outlive the image.
    static Image InPlace(Argb* pixels, int width, int height);

    // An image that reads pixels kept elsewhere for the whole run of the program (the built-in
    // artwork) instead of copying them. The first change makes it a copy of its own, rows packed.
    // Without row starts the rows lie one after another; with them, row y starts at pixel
    // rowStarts[y], so rows that repeat can share the same pixels.
    static Image Borrowing(int width, int height, std::span<const Argb> pixels,
                           std::span<const std::uint32_t> rowStarts = {});

    int Width() const { return width_; }
    int Height() const { return height_; }
    RectPx Bounds() const { return {0, 0, width_, height_}; }

    Argb At(int x, int y) const { return Row(y)[x]; }
    Argb& At(int x, int y) { return Own()[Index(x, y)]; }
    const Argb* Row(int y) const {
        return rowStarts_ != nullptr ? borrowed_ + rowStarts_[y] : Data() + Index(0, y);
    }
    Argb* Row(int y) { return Own() + Index(0, y); }
    // Whether the pixels are someone else's (see InPlace).
    bool IsInPlace() const { return external_ != nullptr; }
    // Whether row y + 1 always starts Width() pixels after row y, so a rectangle reads at a stride.
    bool RowsPacked() const { return rowStarts_ == nullptr; }

    void Fill(Argb colour) { FillRect(Bounds(), colour); }
    void FillRect(RectPx rect, Argb colour);

    bool operator==(const Image& other) const;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    const Argb* Data() const {
        return external_ != nullptr ? external_ : borrowed_ != nullptr ? borrowed_ : pixels_.data();
    }
    Argb* Own() {
        if (external_ != nullptr) {
            return external_;
        }
        if (borrowed_ != nullptr) {
            CopyBorrowedPixels();
        }
        return pixels_.data();
    }
    void CopyBorrowedPixels();

    int width_ = 0;
    int height_ = 0;
    std::vector<Argb> pixels_;
    const Argb* borrowed_ = nullptr;            // read-only pixels of the built-in artwork, copied on change
    const std::uint32_t* rowStarts_ = nullptr;  // where each borrowed row starts; none when packed
    Argb* external_ = nullptr;                  // someone else's pixels, drawn into where they lie
};

// How a rectangle copy combines source and target.
enum class RasterOp : std::uint32_t {
    SrcCopy = 0x00CC0020,   // target = source, made opaque
    SrcAnd = 0x008800C6,    // target = target AND source
    SrcPaint = 0x00EE0086,  // target = target OR source
};

// Copies a width x height rectangle from (sx, sy) of source to (x, y) of target, clipped to both.
// Copied into pixels in place, which the screen is about to read, the rows go past the cache.
void CopyRect(Image& target, int x, int y, int width, int height, const Image& source, int sx, int sy,
              RasterOp op);

// Draws a sprite through its mask, both held by source: target = (target AND mask) OR sprite. The
// result is that of copying the mask with SrcAnd and then the sprite with SrcPaint, pixel for
// pixel, in one pass over the target instead of two.
void CopyThroughMask(Image& target, int x, int y, int width, int height, const Image& source, int maskX,
                     int maskY, int spriteX, int spriteY);

}  // namespace quibbix

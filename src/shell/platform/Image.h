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

    // An image that reads pixels kept elsewhere for the whole run of the program (the built-in
    // artwork) instead of copying them. The first change makes it a copy of its own.
    static Image Borrowing(int width, int height, std::span<const Argb> pixels);

    int Width() const { return width_; }
    int Height() const { return height_; }
    RectPx Bounds() const { return {0, 0, width_, height_}; }

    Argb At(int x, int y) const { return Data()[Index(x, y)]; }
    Argb& At(int x, int y) { return Own()[Index(x, y)]; }
    const Argb* Row(int y) const { return Data() + Index(0, y); }
    Argb* Row(int y) { return Own() + Index(0, y); }
    std::span<const Argb> Pixels() const { return {Data(), static_cast<std::size_t>(width_) * height_}; }

    void Fill(Argb colour) { FillRect(Bounds(), colour); }
    void FillRect(RectPx rect, Argb colour);

    bool operator==(const Image& other) const;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    const Argb* Data() const { return borrowed_ != nullptr ? borrowed_ : pixels_.data(); }
    Argb* Own() {
        if (borrowed_ != nullptr) {
            pixels_.assign(borrowed_, borrowed_ + static_cast<std::size_t>(width_) * height_);
            borrowed_ = nullptr;
        }
        return pixels_.data();
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Argb> pixels_;
    const Argb* borrowed_ = nullptr;
};

// How a rectangle copy combines source and target.
enum class RasterOp : std::uint32_t {
    SrcCopy = 0x00CC0020,   // target = source, made opaque
    SrcAnd = 0x008800C6,    // target = target AND source
    SrcPaint = 0x00EE0086,  // target = target OR source
};

// Copies a width x height rectangle from (sx, sy) of source to (x, y) of target, clipped to both.
void CopyRect(Image& target, int x, int y, int width, int height, const Image& source, int sx, int sy,
              RasterOp op);

// Draws a sprite through its mask, both held by source: target = (target AND mask) OR sprite. The
// result is that of copying the mask with SrcAnd and then the sprite with SrcPaint, pixel for
// pixel, in one pass over the target instead of two.
void CopyThroughMask(Image& target, int x, int y, int width, int height, const Image& source, int maskX,
                     int maskY, int spriteX, int spriteY);

}  // namespace quibbix

#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "shell/platform/Argb.h"
#include "shell/platform/RectPx.h"

namespace quibbix {

// A rectangle of pixels, held one of three ways, chosen when the image is made:
//   owned              the image's own pixels, rows packed (the constructors);
//   read-only artwork  pixels kept elsewhere for the whole run of the program (ReadOnlyArtwork);
//   borrowed           someone else's writable pixels, rows packed, such as window memory
//                      (Borrowed): drawing into the image draws into them.
// A copy never writes into the original's pixels: it owns a copy of them, or, for read-only artwork,
// reads the same.
class Image {
public:
    // How copies write into an image: through the cache, or past it into memory that another processor
    // reads next (the window's), where a plain store would first win each line back only to
    // overwrite it. The code that makes an image over window memory knows which it is.
    enum class Stores { Cached, PastCache };

    Image() = default;
    Image(int width, int height, Argb fill = kOpaqueBlack)
        : width_(width),
          height_(height),
          owned_(static_cast<std::size_t>(width) * height, fill),
          first_(owned_.data()) {}
    Image(const Image& other);
    Image(Image&& other) noexcept;
    Image& operator=(const Image& other);
    Image& operator=(Image&& other) noexcept;
    ~Image() = default;

    // Reads pixels kept elsewhere for the whole run of the program (the built-in artwork) instead
    // of copying them; it cannot be drawn into (see OwnedCopy). Without row starts the rows lie one
    // after another; with them, row y starts at pixel rowStarts[y], so rows that repeat can share
    // the same pixels. Too few pixels for the size give an empty image.
    static Image ReadOnlyArtwork(int width, int height, std::span<const Argb> pixels,
                                 std::span<const std::uint32_t> rowStarts = {});
    // Draws into someone else's pixels, rows packed, which must outlive the image.
    static Image Borrowed(Argb* pixels, int width, int height, Stores stores);

    // An owned image with the same pixels: the way to draw on artwork.
    Image OwnedCopy() const;

    int Width() const { return width_; }
    int Height() const { return height_; }
    RectPx Bounds() const { return {0, 0, width_, height_}; }

    const Argb* Row(int y) const {
        return rowStarts_ != nullptr ? first_ + rowStarts_[y] : first_ + Index(0, y);
    }
    Argb At(int x, int y) const { return Row(y)[x]; }
    // Writable pixels; never of read-only artwork.
    Argb* Row(int y) { return Writable() + Index(0, y); }
    Argb& At(int x, int y) { return Row(y)[x]; }

    Stores StoresTo() const { return stores_; }
    // Whether row y + 1 always starts Width() pixels after row y, so a rectangle reads at a stride.
    bool RowsPacked() const { return rowStarts_ == nullptr; }

    void Fill(Argb colour) { FillRect(Bounds(), colour); }
    void FillRect(RectPx rect, Argb colour);

    bool operator==(const Image& other) const;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    Argb* Writable();

    int width_ = 0;
    int height_ = 0;
    std::vector<Argb> owned_;                   // an owned image's pixels
    const Argb* first_ = nullptr;               // the first pixel, however the image holds them
    const std::uint32_t* rowStarts_ = nullptr;  // where each row of artwork starts; none when packed
    bool readOnly_ = false;
    Stores stores_ = Stores::Cached;
};

}  // namespace quibbix

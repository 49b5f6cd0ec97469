#pragma once
#include <cstdint>
#include <span>

#include "shell/platform/Image.h"

namespace quibbix {

// A picture built into the program, decoded when the program was built: its pixels lie read-only
// in the executable and cost memory only once something shows them. A row that repeats is kept
// once: row y starts at pixels[rowStarts[y]], or at y * width when there are no row starts.
struct EmbeddedPicture {
    int width;
    int height;
    std::span<const Argb> pixels;
    std::span<const std::uint32_t> rowStarts;

    // An image that reads these pixels in place.
    Image ReadOnlyImage() const { return Image::ReadOnlyArtwork(width, height, pixels, rowStarts); }
};

}  // namespace quibbix

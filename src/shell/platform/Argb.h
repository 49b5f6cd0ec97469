#pragma once
#include <cstdint>

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

}  // namespace quibbix

#pragma once

namespace quibbix {

// The form lays out in twips; the screen has this many to the pixel.
inline constexpr int kTwipsPerPixel = 15;

inline constexpr int PixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

// Layout positions are kept in twips and rounded to the nearest pixel only when drawn. (A twip
// count never lies exactly halfway between two pixels: 15 is odd.)
inline constexpr int TwipsToPixels(int twips) {
    const int twice = 2 * twips + kTwipsPerPixel;
    const int step = 2 * kTwipsPerPixel;
    return twice >= 0 ? twice / step : -((-twice + step - 1) / step);
}

}  // namespace quibbix

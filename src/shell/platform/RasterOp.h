#pragma once
#include <cstdint>

#include "shell/platform/Image.h"

namespace quibbix {

// How a rectangle copy combines source and target.
enum class RasterOp : std::uint32_t {
    SrcCopy = 0x00CC0020,   // target = source, made opaque
    SrcAnd = 0x008800C6,    // target = target AND source
    SrcPaint = 0x00EE0086,  // target = target OR source
};

// Copies a width x height rectangle from (sx, sy) of source to (x, y) of target, clipped to both.
// Into a target that stores past the cache, long rows go past it.
void CopyRect(Image& target, int x, int y, int width, int height, const Image& source, int sx, int sy,
              RasterOp op);

// Draws a sprite through its mask, both held by source: target = (target AND mask) OR sprite. The
// result is that of copying the mask with SrcAnd and then the sprite with SrcPaint, pixel for
// pixel, in one pass over the target instead of two.
void CopyThroughMask(Image& target, int x, int y, int width, int height, const Image& source, int maskX,
                     int maskY, int spriteX, int spriteY);

}  // namespace quibbix

#pragma once
#include <cstddef>

#include "shell/platform/Image.h"
#include "shell/platform/PixelTarget.h"
#include "shell/platform/Viewport.h"

namespace quibbix {

// Draws an area of the frame into the target, each frame pixel a square of zoom x zoom target
// pixels (nearest neighbour), clipped to the target. Returns the target pixels drawn.
RectPx ScaleNearest(const Image& frame, RectPx area, const Viewport& view, const PixelTarget& target);

}  // namespace quibbix

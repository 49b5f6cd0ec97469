#pragma once
#include <cstddef>

#include "shell/platform/Image.h"
#include "shell/platform/SizePx.h"

namespace quibbix {

// Memory of 32-bit pixels that shows the frame through a viewport, `pitch` pixels from one row
// to the next.
struct PixelTarget {
    Argb* pixels = nullptr;
    std::size_t pitch = 0;
    SizePx size;
};

}  // namespace quibbix

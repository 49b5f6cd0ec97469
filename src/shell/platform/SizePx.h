#pragma once

namespace quibbix {

// A width and a height in pixels.
struct SizePx {
    int width = 0;
    int height = 0;
    bool operator==(const SizePx&) const = default;
};

}  // namespace quibbix

#pragma once

namespace quibbix {

// A point in pixels.
struct PointPx {
    int x = 0;
    int y = 0;
    bool operator==(const PointPx&) const = default;
};

}  // namespace quibbix

#pragma once
#include <vector>

#include "shell/platform/RectPx.h"

namespace quibbix {

// The parts of the window that changed: a few rectangles, so a tick that redraws the board and
// one counter cell repaints just those two, not everything between them.
class DirtyRegion {
public:
    void Add(RectPx area);
    // The rectangles gathered since the last call, none overlapping another.
    std::vector<RectPx> Take();
    bool Empty() const { return rects_.empty(); }

private:
    // Beyond this many rectangles one rectangle around them all is cheaper to repaint.
    static constexpr std::size_t kMostRects = 8;
    std::vector<RectPx> rects_;
};

}  // namespace quibbix

#include "shell/platform/DirtyRegion.h"

namespace quibbix {

void DirtyRegion::Add(RectPx area) {
    if (area.Empty()) {
        return;
    }
    // Every ball drawn on the board marks the board again: already marked, nothing to do.
    for (const RectPx& rect : rects_) {
        if (Intersect(rect, area) == area) {
            return;
        }
    }
    // Whatever overlaps the new area is folded into it, until nothing does.
    for (bool merged = true; merged;) {
        merged = false;
        for (auto it = rects_.begin(); it != rects_.end(); ++it) {
            if (!Intersect(*it, area).Empty()) {
                area = Union(area, *it);
                rects_.erase(it);
                merged = true;
                break;
            }
        }
    }
    rects_.push_back(area);
    if (rects_.size() > kMostRects) {
        RectPx all;
        for (const RectPx& rect : rects_) {
            all = Union(all, rect);
        }
        rects_.assign(1, all);
    }
}

std::vector<RectPx> DirtyRegion::Take() {
    std::vector<RectPx> taken;
    taken.swap(rects_);
    return taken;
}

}  // namespace quibbix

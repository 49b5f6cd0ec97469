#pragma once
#include <algorithm>
#include <vector>

namespace quibbix {

// A rectangle of window pixels, right and bottom exclusive.
struct RectPx {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    RectPx Moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const RectPx&) const = default;
};

inline RectPx Intersect(const RectPx& a, const RectPx& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

inline RectPx Union(const RectPx& a, const RectPx& b) {
    if (a.Empty()) {
        return b;
    }
    if (b.Empty()) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// The parts of `area` outside `hole`: bands above and below it, and beside it.
inline std::vector<RectPx> Around(const RectPx& area, const RectPx& hole) {
    const RectPx inner = Intersect(hole, area);
    if (inner.Empty()) {
        return {area};
    }
    std::vector<RectPx> bands{{area.left, area.top, area.right, inner.top},
                              {area.left, inner.bottom, area.right, area.bottom},
                              {area.left, inner.top, inner.left, inner.bottom},
                              {inner.right, inner.top, area.right, inner.bottom}};
    std::erase_if(bands, [](const RectPx& band) { return band.Empty(); });
    return bands;
}

}  // namespace quibbix

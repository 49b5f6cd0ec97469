#include "shell/platform/FrameChanges.h"

#include <algorithm>
#include <cstring>

namespace quibbix {

namespace {

// Beyond this many bands in one area, one rectangle around them all is cheaper to send.
constexpr std::size_t kMostBands = 16;
// Rows are compared a block at a time with memcmp, which the C library does with wide vectors.
constexpr int kBlock = 16;

bool Same(const Argb* a, const Argb* b, int count) {
    return std::memcmp(a, b, static_cast<std::size_t>(count) * sizeof(Argb)) == 0;
}

// The first column from `left` on where the rows differ; `right` when they do not.
int FirstDifference(const Argb* a, const Argb* b, int left, int right) {
    while (right - left >= kBlock && Same(a + left, b + left, kBlock)) {
        left += kBlock;
    }
    while (left < right && a[left] == b[left]) {
        ++left;
    }
    return left;
}

// One past the last column before `right` where the rows differ, which lies at or after `left`.
int LastDifference(const Argb* a, const Argb* b, int left, int right) {
    while (right - left >= kBlock && Same(a + right - kBlock, b + right - kBlock, kBlock)) {
        right -= kBlock;
    }
    while (a[right - 1] == b[right - 1]) {
        --right;
    }
    return right;
}

}  // namespace

std::vector<RectPx> TakeChanges(const Image& next, Image& shown, RectPx area) {
    area = Intersect(Intersect(area, next.Bounds()), shown.Bounds());
    std::vector<RectPx> bands;
    if (area.Empty()) {
        return bands;
    }
    RectPx band;
    for (int y = area.top; y < area.bottom; ++y) {
        const Argb* from = next.Row(y);
        Argb* to = shown.Row(y);
        if (Same(from + area.left, to + area.left, area.Width())) {
            continue;
        }
        const int left = FirstDifference(from, to, area.left, area.right);
        const int right = LastDifference(from, to, left, area.right);
        std::memcpy(to + left, from + left, static_cast<std::size_t>(right - left) * sizeof(Argb));
        const RectPx row{left, y, right, y + 1};
        if (!band.Empty() && band.bottom == y) {
            band = Union(band, row);
        } else {
            if (!band.Empty()) {
                bands.push_back(band);
            }
            band = row;
        }
    }
    if (!band.Empty()) {
        bands.push_back(band);
    }
    if (bands.size() > kMostBands) {
        RectPx all;
        for (const RectPx& each : bands) {
            all = Union(all, each);
        }
        bands.assign(1, all);
    }
    return bands;
}

}  // namespace quibbix

#include "shell/platform/DrawnPlaces.h"

namespace quibbix {

namespace {

// Past this many remembered places a whole restore is cheaper than the bookkeeping.
constexpr std::size_t kMostPlaces = 256;

}  // namespace

void DrawnPlaces::Note(RectPx area, RectPx bounds) {
    if (area.Empty() || Everywhere()) {
        return;
    }
    places_.push_back(area);
    area_ += std::int64_t{area.Width()} * area.Height();
    if (places_.size() > kMostPlaces || 2 * area_ >= std::int64_t{bounds.Width()} * bounds.Height()) {
        places_.clear();
    }
}

void DrawnPlaces::Clear() {
    places_.clear();
    area_ = 0;
}

}  // namespace quibbix

#pragma once
#include <cstdint>
#include <vector>

#include "shell/platform/RectPx.h"

namespace quibbix {

// Where a surface may differ from its background since it was last plain, so that clearing it
// restores and repaints only those places: a board with a few balls costs a few squares a tick.
// Past a few hundred places, or as much area as half the surface, the places become the whole.
class DrawnPlaces {
public:
    // Notes that the pixels inside `area` change on a surface of the given bounds.
    void Note(RectPx area, RectPx bounds);
    bool Empty() const { return area_ == 0; }
    // Everywhere, or the places one by one.
    bool Everywhere() const { return area_ != 0 && places_.empty(); }
    const std::vector<RectPx>& Places() const { return places_; }
    void Clear();

private:
    std::vector<RectPx> places_;  // none once everywhere
    // The area noted since plain, summed as places are noted: summing the places again for every
    // ball would cost the tick as much as drawing the balls. Zero exactly when nothing was drawn.
    std::int64_t area_ = 0;
};

}  // namespace quibbix

#pragma once
#include <cmath>
#include <cstdint>
#include <limits>

namespace quibbix {

// Field arithmetic never wraps around: a result beyond the field's range stops at its end.
template <typename Field>
Field SaturatingAdd(Field field, std::int64_t amount) {
    const std::int64_t sum = std::int64_t{field} + amount;
    if (sum > std::numeric_limits<Field>::max()) {
        return std::numeric_limits<Field>::max();
    }
    if (sum < std::numeric_limits<Field>::min()) {
        return std::numeric_limits<Field>::min();
    }
    return static_cast<Field>(sum);
}

// A floating value stored in an integer field: the nearest whole number, halves to the even
// neighbour, held at the field's ends.
template <typename Field>
Field RoundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = std::nearbyint(value);  // the default rounding mode sends halves to even
    if (rounded >= static_cast<double>(std::numeric_limits<Field>::max())) {
        return std::numeric_limits<Field>::max();
    }
    if (rounded <= static_cast<double>(std::numeric_limits<Field>::min())) {
        return std::numeric_limits<Field>::min();
    }
    return static_cast<Field>(rounded);
}

// floor(value) held at the field's ends.
template <typename Field>
Field Floor(double value) {
    return RoundHalfEven<Field>(std::floor(value));
}

}  // namespace quibbix

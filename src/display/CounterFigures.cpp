#include "display/CounterFigures.h"

#include <cmath>

namespace quibbix {

std::array<int, 6> CounterFigures(std::int64_t value, int cells) {
    std::array<int, 6> figures{};
    std::int64_t largest = 1;
    for (int i = 0; i < cells; ++i) {
        largest *= 10;
    }
    --largest;
    if (value > largest) {
        value = largest;
    } else if (value < 0) {
        value = 0;
    }
    for (int i = 0; i < cells; ++i) {
        figures[i] = static_cast<int>(value % 10);
        value /= 10;
    }
    return figures;
}

std::int64_t ShownSeconds(double timeLeft) {
    if (!(timeLeft > 0.0)) {
        return 0;  // the last countdown step leaves a value just below zero
    }
    if (timeLeft > 1e15) {
        return static_cast<std::int64_t>(1e15);
    }
    // For positive values, halves away from zero are halves up; std::round adds no error of its own.
    return static_cast<std::int64_t>(std::round(timeLeft));
}

}  // namespace quibbix

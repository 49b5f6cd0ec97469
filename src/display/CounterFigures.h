#pragma once
#include <array>
#include <cstdint>

namespace quibbix {

// The figures a digit counter of `cells` cells (at most 6) shows for a value, units first. The
// value is written zero-padded; a value with more digits than the counter has cells shows nines
// in every cell (a maxed counter, never a smaller number), and a negative one shows zeros.
std::array<int, 6> CounterFigures(std::int64_t value, int cells);

// The whole seconds the time counter shows: the nearest whole number, exact halves rounding up.
std::int64_t ShownSeconds(double timeLeft);

}  // namespace quibbix

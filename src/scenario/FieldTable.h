#pragma once
#include <string_view>
#include <vector>

#include "scenario/Field.h"

namespace quibbix {

// How far from the board a ball's cell may be set: balls bounce back from wherever they are, and
// every sum of a position, a step, the cell size and a shape offset stays far inside 32 bits.
inline constexpr int kMaxBallPosition = 1'000'000;

// Every field of the main form, in the order the dump lists them.
const std::vector<Field>& MainFormFields();
const Field* FindField(std::string_view name);

}  // namespace quibbix

#pragma once
#include <cstdint>

namespace quibbix {

// Booleans kept in fields are 16-bit: -1 true, 0 false.
using VbBool = std::int16_t;
inline constexpr VbBool kTrue = -1;
inline constexpr VbBool kFalse = 0;

}  // namespace quibbix

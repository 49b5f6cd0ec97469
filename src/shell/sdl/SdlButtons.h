#pragma once
#include <cstdint>

namespace quibbix {

// The form numbers the buttons 1 left, 2 right, 4 middle: the one SDL names, 0 for one the form
// does not know.
std::int16_t FormButton(std::uint8_t button);
// The buttons held, from SDL's mask of them.
std::int16_t FormButtons(std::uint32_t state);

}  // namespace quibbix

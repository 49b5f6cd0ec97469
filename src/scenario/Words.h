#pragma once
#include <string>
#include <vector>

namespace quibbix {

// The words of a script line, the command first.
using Words = std::vector<std::string>;

}  // namespace quibbix

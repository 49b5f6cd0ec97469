#pragma once
#include <string_view>

namespace quibbix {

// Without the spaces and tabs at either end, nor a carriage return at the end: what is left of a
// value that an environment variable or a line of a resource database holds.
inline std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace quibbix

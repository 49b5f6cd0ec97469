#pragma once
#include <stdexcept>
#include <string>

namespace quibbix {

// A count given on a fuzzer's command line: a whole number of zero or more, nothing else.
inline long Count(const std::string& text) {
    std::size_t end = 0;
    const long value = std::stol(text, &end);
    if (end != text.size() || value < 0) {
        throw std::invalid_argument(text);
    }
    return value;
}

}  // namespace quibbix

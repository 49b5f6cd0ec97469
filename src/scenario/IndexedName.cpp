#include "scenario/IndexedName.h"

#include <charconv>
#include <stdexcept>

#include "scenario/ScriptLine.h"

namespace quibbix {

IndexedName SplitIndex(std::string_view word) {
    const std::size_t open = word.find('(');
    if (open == std::string_view::npos) {
        return {std::string(word), {}};
    }
    if (word.back() != ')') {
        throw std::invalid_argument("malformed index: " + Quoted(word));
    }
    IndexedName result{std::string(word.substr(0, open)), {}};
    std::string_view inside = word.substr(open + 1, word.size() - open - 2);
    while (true) {
        const std::size_t comma = inside.find(',');
        const std::string_view part = inside.substr(0, comma);
        int value = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || error != std::errc{} || end != part.data() + part.size()) {
            throw std::invalid_argument("malformed index: " + Quoted(word));
        }
        result.index.push_back(value);
        if (comma == std::string_view::npos) {
            break;
        }
        inside.remove_prefix(comma + 1);
    }
    return result;
}

}  // namespace quibbix

#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace quibbix {

// "imgScore(0)" -> "imgScore" and {0}; "NameCellX(1,2)" -> {1, 2}; "Score" -> no index. Throws
// std::invalid_argument for a malformed index.
struct IndexedName {
    std::string name;
    std::vector<int> index;
};
IndexedName SplitIndex(std::string_view word);

}  // namespace quibbix

#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace quibbix {

// The words of one script line: separated by blanks; a word in double quotes may hold blanks,
// with \" and \\ standing for a quote and a backslash. Throws std::invalid_argument for an
// unclosed quote.
std::vector<std::string> SplitWords(std::string_view line);

// "imgScore(0)" -> "imgScore" and {0}; "NameCellX(1,2)" -> {1, 2}; "Score" -> no index. Throws
// std::invalid_argument for a malformed index.
struct IndexedName {
    std::string name;
    std::vector<int> index;
};
IndexedName SplitIndex(std::string_view word);

}  // namespace quibbix

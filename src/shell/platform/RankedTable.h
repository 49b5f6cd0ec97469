#pragma once
#include <string>

namespace quibbix {

// A section that holds a ranked table: names under `<nameKey>1..<ranks>` and their scores under
// `<scoreKey>1..<ranks>`, best first.
struct RankedTable {
    std::string section;
    std::string nameKey;
    std::string scoreKey;
    int ranks = 0;
};

}  // namespace quibbix

#pragma once
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "shell/platform/AsciiCaseLess.h"

namespace quibbix {

// Keys in the order they were first saved, so a new file reads in the order the game wrote it;
// compared without regard to case.
class KeySet {
public:
    // True when the key was not in the set yet.
    bool insert(std::string_view key) {
        if (!index_.emplace(key).second) {
            return false;
        }
        order_.emplace_back(key);
        return true;
    }
    bool contains(std::string_view key) const { return index_.contains(key); }
    auto begin() const { return order_.begin(); }
    auto end() const { return order_.end(); }

private:
    std::set<std::string, AsciiCaseLess> index_;
    std::vector<std::string> order_;
};

}  // namespace quibbix

#pragma once
#include <optional>
#include <string_view>

namespace quibbix::ini {

// One line of the file, with views into the line's text.
struct Line {
    enum class Kind { kOther, kHeader, kEntry };
    Kind kind = Kind::kOther;
    std::optional<std::string_view> section;  // a damaged header names no section
    std::string_view key;
    std::string_view rawValue;
};

// A header is `[name]`; an entry is `key=value`; blank lines, comments and damage are kOther.
Line Classify(std::string_view text);

}  // namespace quibbix::ini

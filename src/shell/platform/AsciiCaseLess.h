#pragma once
#include <string_view>

namespace quibbix {

// Orders names the way the desktop registry compares them: ASCII letters without regard to case.
// Other bytes, UTF-8 included, compare as they are.
struct AsciiCaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

}  // namespace quibbix

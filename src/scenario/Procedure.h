#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "game/FrmMain.h"

namespace quibbix {

// A procedure of the main form that a script may call with whole-number arguments.
struct Procedure {
    // The values an argument may take: an index argument is checked against the array it indexes.
    struct ArgumentRange {
        std::int64_t low;
        std::int64_t high;
    };

    std::string_view name;
    std::vector<ArgumentRange> arguments;
    // The procedure's result, if it has one. Runs only with arguments inside their ranges.
    std::function<std::optional<std::int64_t>(FrmMain&, std::span<const std::int64_t>)> run;
};

}  // namespace quibbix

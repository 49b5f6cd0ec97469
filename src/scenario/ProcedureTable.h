#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "game/FrmMain.h"

namespace quibbix {

// A procedure of the main form that a script may call with whole-number arguments.
struct Procedure {
    std::string_view name;
    std::size_t arity;
    // The procedure's result, if it has one.
    std::function<std::optional<std::int64_t>(FrmMain&, std::span<const std::int64_t>)> run;
};

const Procedure* FindProcedure(std::string_view name);

}  // namespace quibbix

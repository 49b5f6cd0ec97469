#pragma once
#include <string_view>
#include <vector>

#include "scenario/Procedure.h"

namespace quibbix {

// Every procedure a script may call.
const std::vector<Procedure>& MainFormProcedures();
const Procedure* FindProcedure(std::string_view name);

}  // namespace quibbix

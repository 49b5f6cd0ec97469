#pragma once
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game/FrmMain.h"
#include "scenario/Json.h"

namespace quibbix {

// A field of the main form by its own name, as scripts read and write it.
struct Field {
    std::string name;
    std::function<Json(const FrmMain&)> get;
    // Assigns one element: no index for a scalar, one for an array, two for a table. Throws
    // std::invalid_argument for a wrong index or a value that does not fit the field.
    std::function<void(FrmMain&, std::span<const int> index, const std::string& value)> set;
};

// Every field of the main form, in the order the dump lists them.
const std::vector<Field>& MainFormFields();
const Field* FindField(std::string_view name);

}  // namespace quibbix

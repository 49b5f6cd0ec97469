#pragma once
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "game/FrmMain.h"
#include "scenario/Json.h"

namespace quibbix {

// A field of the main form by its own name, as scripts read and write it.
struct Field {
    std::string name;
    // The extent of each index: none for a scalar, one for an array, two for a table.
    std::vector<int> shape;
    // The values it may be set to, as "LOW..HIGH"; empty for every value of its type.
    std::string range;
    std::function<Json(const FrmMain&)> get;
    // Assigns one element at an index that fits the shape. Throws BadLine for a value that is not
    // of the field's type or lies outside the values the game can work with.
    std::function<void(FrmMain&, std::span<const int> index, const std::string& value)> set;

    // Throws BadLine unless the index fits the shape.
    void CheckIndex(std::span<const int> index) const;
    void Assign(FrmMain& form, std::span<const int> index, const std::string& value) const {
        CheckIndex(index);
        set(form, index, value);
    }
};

}  // namespace quibbix

#include "scenario/Field.h"

#include <string>

#include "scenario/BadLine.h"

namespace quibbix {

void Field::CheckIndex(std::span<const int> index) const {
    if (index.size() != shape.size()) {
        throw BadLine(shape.empty() ? name + " takes no index"
                                    : name + " takes " + std::to_string(shape.size()) + " index(es)");
    }
    for (std::size_t i = 0; i < index.size(); ++i) {
        if (index[i] < 0 || index[i] >= shape[i]) {
            throw BadLine("index out of range: " + std::to_string(index[i]));
        }
    }
}

}  // namespace quibbix

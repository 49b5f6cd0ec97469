#pragma once
#include <stdexcept>

namespace quibbix {

// A line the runner cannot run: the script stops with exit status 2.
struct BadLine : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace quibbix

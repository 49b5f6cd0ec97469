#pragma once
#include <stdexcept>

namespace quibbix {

// A line that ran but failed: a file, or an expectation that does not hold. Exit status 1.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace quibbix

#pragma once
#include <string>

namespace quibbix {

// What the program knows about itself.
struct App {
    // The program's folder, where its sound effects lie.
    std::string Path;
    std::string Title = "Quibbix";
    int Major = 1;
    int Minor = 1;
    int Revision = 3;
};

}  // namespace quibbix

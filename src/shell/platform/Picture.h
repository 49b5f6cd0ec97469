#pragma once
#include <string>

#include "shell/platform/Image.h"

namespace quibbix {

// A picture object. Controls share pictures instead of copying them, so a button's state can be
// read from which picture it shows: two controls show the same picture exactly when their
// pictures have the same Handle.
class Picture {
public:
    Picture(std::string name, Image image) : name_(std::move(name)), image_(std::move(image)) {}

    // Where the picture comes from, e.g. "frmGraphics.pctStart".
    const std::string& Name() const { return name_; }
    const quibbix::Image& Image() const { return image_; }
    int Width() const { return image_.Width(); }
    int Height() const { return image_.Height(); }

private:
    std::string name_;
    quibbix::Image image_;
};

}  // namespace quibbix

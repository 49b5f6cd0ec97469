#pragma once
#include <optional>
#include <string_view>

#include "shell/platform/Image.h"
#include "shell/sdl/SdlHandles.h"

namespace quibbix {

// A picture built into the program, as an owned image with its rows packed, as SDL's surfaces
// want them; nothing when it is missing.
std::optional<Image> EmbeddedImage(std::string_view fileName);

// An SDL surface that borrows the image's pixels (ARGB8888, alpha kept): the image must outlive it.
// Null when SDL cannot make one.
SurfacePtr BorrowSurface(Image& image);

}  // namespace quibbix

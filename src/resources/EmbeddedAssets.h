#pragma once
#include <optional>
#include <span>
#include <string_view>

#include "shell/platform/Image.h"

namespace quibbix {

// A picture built into the program, decoded when the program was built: its pixels lie read-only
// in the executable and cost memory only once something shows them.
struct EmbeddedPicture {
    int width;
    int height;
    std::span<const Argb> pixels;
};

// The artwork file built into the program by its file name ("logo.png"); nothing when there is none.
std::optional<EmbeddedPicture> EmbeddedArtwork(std::string_view fileName);

}  // namespace quibbix

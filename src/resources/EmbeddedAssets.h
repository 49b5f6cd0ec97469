#pragma once
#include <optional>
#include <string_view>

#include "resources/EmbeddedPicture.h"

namespace quibbix {

// The artwork file built into the program by its file name ("logo.png"); nothing when there is none.
std::optional<EmbeddedPicture> EmbeddedArtwork(std::string_view fileName);

}  // namespace quibbix

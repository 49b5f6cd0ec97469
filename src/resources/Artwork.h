#pragma once
#include <string>
#include <string_view>

#include "shell/platform/Picture.h"

namespace quibbix {

// Decodes a built-in artwork file into a new picture object called `name`. A file that is missing
// or damaged gives a 1 x 1 black picture, so the game still runs.
PictureRef LoadArtwork(std::string name, std::string_view fileName);

}  // namespace quibbix

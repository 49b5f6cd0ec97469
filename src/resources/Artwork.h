#pragma once
#include <string>
#include <string_view>

#include "shell/platform/PictureRef.h"

namespace quibbix {

// A new picture object called `name` showing a built-in artwork file, whose pixels it reads in place.
// A file that is missing gives a 1 x 1 black picture, so the game still runs.
PictureRef LoadArtwork(std::string name, std::string_view fileName);

}  // namespace quibbix

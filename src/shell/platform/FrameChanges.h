#pragma once
#include <vector>

#include "shell/platform/Image.h"

namespace quibbix {

// Brings `shown` up to date with `next` inside an area and returns the parts that really changed:
// bands of rows, each as narrow as its changed pixels. The board is repainted whole on every tick
// though only its balls moved; enlarging just what changed keeps a zoomed window cheap.
std::vector<RectPx> TakeChanges(const Image& next, Image& shown, RectPx area);

}  // namespace quibbix

#pragma once
#include "shell/platform/Form.h"
#include "shell/platform/Image.h"

namespace quibbix {

// Paints the part `area` of the window as the player sees it: the background colour, the
// background picture, then every visible control from the bottom of the z-order to the top.
void Compose(const Form& form, Image& frame, RectPx area);

}  // namespace quibbix

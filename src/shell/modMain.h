#pragma once
#include "shell/platform/Form.h"

namespace quibbix::modMain {

// Starts a drag of the window: it follows the pointer until the button is released, as if its
// title bar had been grabbed.
void DragWindow(Form& window);

}  // namespace quibbix::modMain

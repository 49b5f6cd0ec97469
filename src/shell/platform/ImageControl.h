#pragma once
#include "shell/platform/Control.h"

namespace quibbix {

// An image control: shows its picture at the top-left, cut to its own size. Never drawn on.
class ImageControl final : public Control {
public:
    using Control::Control;
    void Paint(Image& frame, RectPx clip) const override;
};

}  // namespace quibbix

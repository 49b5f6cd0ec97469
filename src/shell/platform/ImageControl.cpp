#include "shell/platform/ImageControl.h"

#include "shell/platform/RasterOp.h"

namespace quibbix {

void ImageControl::Paint(Image& frame, RectPx clip) const {
    if (Picture() == nullptr) {
        return;
    }
    const RectPx area = Intersect(Bounds(), clip);
    const RectPx b = Bounds();
    CopyRect(frame, area.left, area.top, area.Width(), area.Height(), Picture()->Image(), area.left - b.left,
             area.top - b.top, RasterOp::SrcCopy);
}

}  // namespace quibbix

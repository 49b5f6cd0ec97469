#include "shell/platform/Compositor.h"

namespace quibbix {

void Compose(const Form& form, Image& frame, RectPx area) {
    area = Intersect(area, frame.Bounds());
    if (area.Empty()) {
        return;
    }
    frame.FillRect(area, FromColorRef(form.BackColor()));
    if (form.Picture() != nullptr) {
        CopyRect(frame, area.left, area.top, area.Width(), area.Height(), form.Picture()->Image(), area.left,
                 area.top, RasterOp::SrcCopy);
    }
    for (const Control* control : form.Controls()) {
        if (control->Visible()) {
            const RectPx overlap = Intersect(control->Bounds(), area);
            if (!overlap.Empty()) {
                control->Paint(frame, overlap);
            }
        }
    }
}

}  // namespace quibbix

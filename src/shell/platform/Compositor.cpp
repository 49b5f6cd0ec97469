#include "shell/platform/Compositor.h"
#include "shell/platform/RasterOp.h"

namespace quibbix {

void Compose(const Form& form, Image& frame, RectPx area) {
    area = Intersect(area, frame.Bounds());
    if (area.Empty()) {
        return;
    }
    // Painting starts at the topmost picture surface that covers the whole area: it paints every
    // pixel there, so nothing below it would show. (The board, redrawn on every tick.)
    const std::vector<Control*>& controls = form.Controls();
    std::size_t first = 0;
    bool covered = false;
    for (std::size_t i = controls.size(); i-- > 0 && !covered;) {
        const Control& control = *controls[i];
        if (control.Visible() && control.Opaque() && Intersect(control.Bounds(), area) == area) {
            first = i;
            covered = true;
        }
    }
    if (!covered) {
        // The form's colour shows only where its picture does not reach: the window's first
        // frame is written once, not twice.
        const Image* picture = form.Picture() != nullptr ? &form.Picture()->Image() : nullptr;
        if (picture == nullptr || Intersect(area, picture->Bounds()) != area) {
            frame.FillRect(area, FromColorRef(form.BackColor()));
        }
        if (picture != nullptr) {
            CopyRect(frame, area.left, area.top, area.Width(), area.Height(), *picture, area.left, area.top,
                     RasterOp::SrcCopy);
        }
    }
    for (std::size_t i = first; i < controls.size(); ++i) {
        const Control& control = *controls[i];
        if (control.Visible()) {
            const RectPx overlap = Intersect(control.Bounds(), area);
            if (!overlap.Empty()) {
                control.Paint(frame, overlap);
            }
        }
    }
}

}  // namespace quibbix

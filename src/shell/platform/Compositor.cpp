#include "shell/platform/Compositor.h"

#include <cstdint>

#include "shell/platform/RasterOp.h"

namespace quibbix {

namespace {

// The form's colour and picture, except under its largest opaque control, which paints over them.
// The colour shows only where the picture does not reach. Most of the window's first frame is
// thus written once, not two or three times.
void PaintFormBackground(const Form& form, Image& frame, RectPx area) {
    RectPx hidden;
    for (const Control* control : form.Controls()) {
        const RectPx under = Intersect(control->Bounds(), area);
        if (control->Visible() && control->Opaque() && !under.Empty() &&
            std::int64_t{under.Width()} * under.Height() > std::int64_t{hidden.Width()} * hidden.Height()) {
            hidden = under;
        }
    }
    const Image* picture = form.Picture() != nullptr ? &form.Picture()->Image() : nullptr;
    for (const RectPx& part : Around(area, hidden)) {
        if (picture == nullptr || Intersect(part, picture->Bounds()) != part) {
            frame.FillRect(part, FromColorRef(form.BackColor()));
        }
        if (picture != nullptr) {
            CopyRect(frame, part.left, part.top, part.Width(), part.Height(), *picture, part.left, part.top,
                     RasterOp::SrcCopy);
        }
    }
}

}  // namespace

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
        PaintFormBackground(form, frame, area);
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

#include "shell/platform/Image.h"

#include <algorithm>

namespace quibbix {

void Image::FillRect(RectPx rect, Argb colour) {
    const RectPx clipped = Intersect(rect, Bounds());
    if (clipped.Empty()) {
        return;
    }
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        std::fill(Row(y) + clipped.left, Row(y) + clipped.right, colour);
    }
}

namespace {

template <typename Combine>
void CopyRows(Image& target, RectPx to, const Image& source, int sx, int sy, Combine combine) {
    for (int row = 0; row < to.Height(); ++row) {
        Argb* out = target.Row(to.top + row) + to.left;
        const Argb* in = source.Row(sy + row) + sx;
        for (int col = 0; col < to.Width(); ++col) {
            out[col] = combine(out[col], in[col]);
        }
    }
}

}  // namespace

void CopyRect(Image& target, int x, int y, int width, int height, const Image& source, int sx, int sy,
              RasterOp op) {
    // Clip against the source first, then the target, shifting both origins together.
    RectPx from = Intersect({sx, sy, sx + width, sy + height}, source.Bounds());
    RectPx to{x + (from.left - sx), y + (from.top - sy), x + (from.right - sx), y + (from.bottom - sy)};
    const RectPx clipped = Intersect(to, target.Bounds());
    if (clipped.Empty()) {
        return;
    }
    from.left += clipped.left - to.left;
    from.top += clipped.top - to.top;
    to = clipped;

    // Everything drawn in the window is opaque, whatever the source's alpha says.
    switch (op) {
        case RasterOp::SrcCopy:
            CopyRows(target, to, source, from.left, from.top, [](Argb, Argb s) { return s | kOpaqueBlack; });
            break;
        case RasterOp::SrcAnd:
            CopyRows(target, to, source, from.left, from.top,
                     [](Argb d, Argb s) { return (d & s) | kOpaqueBlack; });
            break;
        case RasterOp::SrcPaint:
            CopyRows(target, to, source, from.left, from.top,
                     [](Argb d, Argb s) { return (d | s) | kOpaqueBlack; });
            break;
    }
}

}  // namespace quibbix

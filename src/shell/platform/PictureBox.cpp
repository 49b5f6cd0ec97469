#include "shell/platform/PictureBox.h"

#include <cmath>
#include <utility>

namespace quibbix {

namespace {

// A frame in the window's own grey, like the window's border.
constexpr Argb kFrameColour = Rgb(0x94, 0x94, 0x94);

}  // namespace

void PictureBox::SetBackColor(std::uint32_t color) {
    backColor_ = FromColorRef(color);
    surface_.reset();
    Invalidate();
}

void PictureBox::SetPicture(PictureRef picture) {
    // A new picture becomes the surface's background: what was drawn before is gone.
    surface_.reset();
    Control::SetPicture(std::move(picture));
}

Image PictureBox::BlankSurface() const {
    const RectPx inner = ClientBounds();
    Image blank(std::max(inner.Width(), 0), std::max(inner.Height(), 0), backColor_);
    PaintBackground(blank);
    return blank;
}

void PictureBox::PaintBackground(Image& image) const {
    image.Fill(backColor_);
    if (Picture() != nullptr) {
        const quibbix::Image& picture = Picture()->Image();
        CopyRect(image, 0, 0, picture.Width(), picture.Height(), picture, 0, 0, RasterOp::SrcCopy);
    }
}

// The board is cleared every tick: the drawing image is reused, never reallocated.
void PictureBox::Cls() {
    if (surface_) {
        PaintBackground(*surface_);
    }
    Invalidate();
}

const Image& PictureBox::Surface() const {
    if (!surface_) {
        surface_ = BlankSurface();
    }
    return *surface_;
}

Image& PictureBox::Surface() {
    Invalidate();
    return const_cast<Image&>(std::as_const(*this).Surface());
}

void PictureBox::Resized() {
    if (!surface_) {
        return;
    }
    // Growing keeps what was drawn at the top-left; the new part shows the background.
    Image old = std::move(*surface_);
    surface_ = BlankSurface();
    CopyRect(*surface_, 0, 0, old.Width(), old.Height(), old, 0, 0, RasterOp::SrcCopy);
}

void PictureBox::PaintPicture(const PictureRef& picture, double x, double y) {
    if (picture == nullptr) {
        return;
    }
    const double perPixel = scale_ == ScaleMode::Twips ? kTwipsPerPixel : 1;
    const int px = static_cast<int>(std::lround(x / perPixel));
    const int py = static_cast<int>(std::lround(y / perPixel));
    CopyRect(Surface(), px, py, picture->Width(), picture->Height(), picture->Image(), 0, 0,
             RasterOp::SrcCopy);
}

std::uint32_t PictureBox::GetPixel(int x, int y) const {
    const Image& image = Surface();
    if (!image.Bounds().Contains(x, y)) {
        return 0xFFFFFFFFu;
    }
    return ToColorRef(image.At(x, y));
}

void PictureBox::Paint(Image& frame, RectPx clip) const {
    const RectPx outer = Bounds();
    if (Framed()) {
        for (const RectPx edge : {RectPx{outer.left, outer.top, outer.right, outer.top + 1},
                                  RectPx{outer.left, outer.bottom - 1, outer.right, outer.bottom},
                                  RectPx{outer.left, outer.top, outer.left + 1, outer.bottom},
                                  RectPx{outer.right - 1, outer.top, outer.right, outer.bottom}}) {
            frame.FillRect(Intersect(edge, clip), kFrameColour);
        }
    }
    const RectPx inner = ClientBounds();
    const RectPx area = Intersect(inner, clip);
    if (area.Empty()) {
        return;
    }
    if (surface_) {
        CopyRect(frame, area.left, area.top, area.Width(), area.Height(), *surface_, area.left - inner.left,
                 area.top - inner.top, RasterOp::SrcCopy);
        return;
    }
    frame.FillRect(area, backColor_);
    if (Picture() != nullptr) {
        CopyRect(frame, area.left, area.top, area.Width(), area.Height(), Picture()->Image(),
                 area.left - inner.left, area.top - inner.top, RasterOp::SrcCopy);
    }
}

float PictureBox::ScaleX(int windowX) const {
    const int offset = windowX - ClientBounds().left;
    return static_cast<float>(scale_ == ScaleMode::Pixels ? offset : PixelsToTwips(offset));
}

float PictureBox::ScaleY(int windowY) const {
    const int offset = windowY - ClientBounds().top;
    return static_cast<float>(scale_ == ScaleMode::Pixels ? offset : PixelsToTwips(offset));
}

void BitBlt(PictureBox& target, int x, int y, int width, int height, const PictureBox& source, int sx, int sy,
            RasterOp op) {
    CopyRect(target.Surface(), x, y, width, height, source.Surface(), sx, sy, op);
}

void BitBltThroughMask(PictureBox& target, int x, int y, int width, int height, const PictureBox& source,
                       int maskX, int maskY, int spriteX, int spriteY) {
    CopyThroughMask(target.Surface(), x, y, width, height, source.Surface(), maskX, maskY, spriteX, spriteY);
}

}  // namespace quibbix

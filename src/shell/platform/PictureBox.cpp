#include "shell/platform/PictureBox.h"

#include <cmath>
#include <utility>

namespace quibbix {

namespace {

// A frame in the window's own grey, like the window's border.
constexpr Argb kFrameColour = Rgb(0x94, 0x94, 0x94);

// Past this many remembered places a whole restore is cheaper than the bookkeeping.
constexpr std::size_t kMostDrawnPlaces = 256;

}  // namespace

void PictureBox::SetBackColor(std::uint32_t color) {
    backColor_ = FromColorRef(color);
    surface_.reset();
    ForgetDrawing();
    Invalidate();
}

void PictureBox::SetPicture(PictureRef picture) {
    // A new picture becomes the surface's background: what was drawn before is gone.
    surface_.reset();
    ForgetDrawing();
    Control::SetPicture(std::move(picture));
}

Image PictureBox::BlankSurface() const {
    const RectPx inner = ClientBounds();
    Image blank(std::max(inner.Width(), 0), std::max(inner.Height(), 0), backColor_);
    PaintBackground(blank, blank.Bounds());
    return blank;
}

void PictureBox::PaintBackground(Image& image, RectPx area) const {
    image.FillRect(area, backColor_);
    if (Picture() != nullptr) {
        CopyRect(image, area.left, area.top, area.Width(), area.Height(), Picture()->Image(), area.left,
                 area.top, RasterOp::SrcCopy);
    }
}

void PictureBox::ForgetDrawing() {
    drawn_.clear();
    drawnArea_ = 0;
    drawnEverywhere_ = false;
}

// The board is cleared every tick: only the squares its balls covered are painted over, and the
// drawing image is reused, never reallocated.
void PictureBox::Cls() {
    if (!surface_) {
        return;  // nothing was drawn: the surface shows its background already
    }
    if (drawnEverywhere_) {
        PaintBackground(*surface_, surface_->Bounds());
        Invalidate();
    } else {
        for (const RectPx& area : drawn_) {
            PaintBackground(*surface_, area);
            InvalidateClient(area);
        }
    }
    ForgetDrawing();
}

const Image& PictureBox::Surface() const {
    if (!surface_) {
        surface_ = BlankSurface();
    }
    return *surface_;
}

Image& PictureBox::DrawOn(RectPx area) {
    Image& image = const_cast<Image&>(std::as_const(*this).Surface());
    area = Intersect(area, image.Bounds());
    if (area.Empty() || drawnEverywhere_) {
        if (!area.Empty()) {
            InvalidateClient(area);
        }
        return image;
    }
    drawn_.push_back(area);
    drawnArea_ += std::int64_t{area.Width()} * area.Height();
    if (drawn_.size() > kMostDrawnPlaces || 2 * drawnArea_ >= std::int64_t{image.Width()} * image.Height()) {
        drawn_.clear();
        drawnEverywhere_ = true;
    }
    InvalidateClient(area);
    return image;
}

void PictureBox::Resized() {
    if (!surface_) {
        return;
    }
    // Growing keeps what was drawn at the top-left; the new part shows the background, so the
    // places drawn on stay where they were.
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
    const RectPx area{px, py, px + picture->Width(), py + picture->Height()};
    CopyRect(DrawOn(area), px, py, picture->Width(), picture->Height(), picture->Image(), 0, 0,
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
    CopyRect(target.DrawOn({x, y, x + width, y + height}), x, y, width, height, source.Surface(), sx, sy, op);
}

void BitBltThroughMask(PictureBox& target, int x, int y, int width, int height, const PictureBox& source,
                       int maskX, int maskY, int spriteX, int spriteY) {
    CopyThroughMask(target.DrawOn({x, y, x + width, y + height}), x, y, width, height, source.Surface(),
                    maskX, maskY, spriteX, spriteY);
}

}  // namespace quibbix

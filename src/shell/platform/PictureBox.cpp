#include "shell/platform/PictureBox.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "shell/platform/Geometry.h"

namespace quibbix {

namespace {

// A frame in the window's own grey, like the window's border.
constexpr Argb kFrameColour = Rgb(0x94, 0x94, 0x94);

}  // namespace

void PictureBox::Restart() {
    image_.reset();
    imageStale_ = false;
    sprites_.Clear();
    drawn_.Clear();
}

void PictureBox::SetBackColor(std::uint32_t color) {
    backColor_ = FromColorRef(color);
    Restart();
    Invalidate();
}

void PictureBox::SetPicture(PictureRef picture) {
    // A new picture becomes the surface's background: what was drawn before is gone.
    Restart();
    Control::SetPicture(std::move(picture));
}

Image PictureBox::BlankSurface() const {
    const RectPx inner = ClientBounds();
    Image blank(std::max(inner.Width(), 0), std::max(inner.Height(), 0), backColor_);
    PaintBackground(blank, blank.Bounds());
    return blank;
}

void PictureBox::PaintBackground(Image& image, RectPx area, int originX, int originY) const {
    image.FillRect(area, backColor_);
    if (Picture() != nullptr) {
        CopyRect(image, area.left, area.top, area.Width(), area.Height(), Picture()->Image(),
                 area.left - originX, area.top - originY, RasterOp::SrcCopy);
    }
}

// The board is cleared every tick: only the squares its balls covered are repainted in the window,
// and the drawing image is left alone until somebody needs it.
void PictureBox::Cls() {
    if (drawn_.Everywhere()) {
        Invalidate();
    } else {
        for (const RectPx& area : drawn_.Places()) {
            InvalidateClient(area);
        }
    }
    imageStale_ = imageStale_ || (image_ != nullptr && !drawn_.Empty());
    drawn_.Clear();
    sprites_.Clear();
}

const std::shared_ptr<Image>& PictureBox::Current() {
    if (Pending()) {
        // A stale image that no other surface holds is restored where it lies.
        if (!image_ || image_.use_count() > 1) {
            image_ = std::make_shared<Image>(BlankSurface());
        } else {
            PaintBackground(*image_, image_->Bounds());
        }
        imageStale_ = false;
        sprites_.DrawInto(*image_, 0, 0, image_->Bounds());
        sprites_.Clear();
    }
    return image_;
}

Image& PictureBox::Writable() {
    Current();
    if (image_.use_count() > 1) {
        image_ = std::make_shared<Image>(*image_);
    }
    return *image_;
}

const Image& PictureBox::Surface() {
    return *Current();
}

RectPx PictureBox::NoteDrawing(RectPx area) {
    const RectPx inner = ClientBounds();
    const RectPx bounds = image_ ? image_->Bounds() : RectPx{0, 0, inner.Width(), inner.Height()};
    area = Intersect(area, bounds);
    drawn_.Note(area, bounds);
    if (!area.Empty()) {
        InvalidateClient(area);
    }
    return area;
}

Image& PictureBox::DrawOn(RectPx area) {
    Image& image = Writable();
    NoteDrawing(area);
    return image;
}

void PictureBox::Resized() {
    if (!image_) {
        return;  // deferred sprites keep to the part of the surface they were drawn on
    }
    // Growing keeps what was drawn at the top-left; the new part shows the background, so the
    // places drawn on stay where they were.
    const std::shared_ptr<const Image> old = Current();
    image_ = std::make_shared<Image>(BlankSurface());
    CopyRect(*image_, 0, 0, old->Width(), old->Height(), *old, 0, 0, RasterOp::SrcCopy);
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

std::uint32_t PictureBox::GetPixel(int x, int y) {
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
    if (Pending()) {
        // Straight into the window: the background, and the sprites drawn since Cls over it.
        PaintBackground(frame, area, inner.left, inner.top);
        sprites_.DrawInto(frame, inner.left, inner.top, area);
        return;
    }
    CopyRect(frame, area.left, area.top, area.Width(), area.Height(), *image_, area.left - inner.left,
             area.top - inner.top, RasterOp::SrcCopy);
}

float PictureBox::ScaleX(int windowX) const {
    const int offset = windowX - ClientBounds().left;
    return static_cast<float>(scale_ == ScaleMode::Pixels ? offset : PixelsToTwips(offset));
}

float PictureBox::ScaleY(int windowY) const {
    const int offset = windowY - ClientBounds().top;
    return static_cast<float>(scale_ == ScaleMode::Pixels ? offset : PixelsToTwips(offset));
}

// The source's image is held, not borrowed, while the target is drawn on: drawing may give the
// target a new image, and the source may be the target.
void BitBlt(PictureBox& target, int x, int y, int width, int height, PictureBox& source, int sx, int sy,
            RasterOp op) {
    const std::shared_ptr<const Image> held = source.Current();
    CopyRect(target.DrawOn({x, y, x + width, y + height}), x, y, width, height, *held, sx, sy, op);
}

void BitBltThroughMask(PictureBox& target, int x, int y, int width, int height, PictureBox& source, int maskX,
                       int maskY, int spriteX, int spriteY) {
    // Reading the source first brings the target up to date when the two are the same surface.
    const std::shared_ptr<Image>& sprite = source.Current();
    const RectPx area{x, y, x + width, y + height};
    if (target.Pending() && !target.sprites_.Full()) {
        if (const RectPx kept = target.NoteDrawing(area); !kept.Empty()) {
            target.sprites_.Add(area, kept, sprite, maskX, maskY, spriteX, spriteY);
        }
        return;
    }
    const std::shared_ptr<const Image> held = sprite;
    CopyThroughMask(target.DrawOn(area), x, y, width, height, *held, maskX, maskY, spriteX, spriteY);
}

}  // namespace quibbix

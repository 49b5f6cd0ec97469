#include "shell/platform/PictureBox.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quibbix {

namespace {

// A frame in the window's own grey, like the window's border.
constexpr Argb kFrameColour = Rgb(0x94, 0x94, 0x94);

// Past this many remembered places a whole restore is cheaper than the bookkeeping.
constexpr std::size_t kMostDrawnPlaces = 256;

// A surface drawn on with sprites again and again without Cls keeps a short list: past this many
// they go into the drawing image.
constexpr std::size_t kMostPendingSprites = 256;

}  // namespace

void PictureBox::SetBackColor(std::uint32_t color) {
    backColor_ = FromColorRef(color);
    surface_.reset();
    surfaceStale_ = false;
    ForgetPending();
    ForgetDrawing();
    Invalidate();
}

void PictureBox::SetPicture(PictureRef picture) {
    // A new picture becomes the surface's background: what was drawn before is gone.
    surface_.reset();
    surfaceStale_ = false;
    ForgetPending();
    ForgetDrawing();
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

void PictureBox::ForgetDrawing() {
    drawn_.clear();
    drawnArea_ = 0;
    drawnEverywhere_ = false;
}

void PictureBox::ForgetPending() const {
    pending_.clear();
    pendingSources_.clear();
}

// The board is cleared every tick: only the squares its balls covered are repainted in the window,
// and the drawing image is left alone until somebody needs it.
void PictureBox::Cls() {
    const bool drawnOn = drawnEverywhere_ || !drawn_.empty();
    if (drawnEverywhere_) {
        Invalidate();
    } else {
        for (const RectPx& area : drawn_) {
            InvalidateClient(area);
        }
    }
    ForgetDrawing();
    ForgetPending();
    surfaceStale_ = surfaceStale_ || (surface_ != nullptr && drawnOn);
}

Image& PictureBox::Writable() const {
    if (!surface_ || surfaceStale_) {
        if (!surface_ || surface_.use_count() > 1) {
            surface_ = std::make_shared<Image>(BlankSurface());
        } else {
            PaintBackground(*surface_, surface_->Bounds());
        }
        surfaceStale_ = false;
    } else if (surface_.use_count() > 1) {
        surface_ = std::make_shared<Image>(*surface_);
    }
    for (const PendingSprite& sprite : pending_) {
        DrawPending(sprite, *surface_, 0, 0, surface_->Bounds());
    }
    ForgetPending();
    return *surface_;
}

const Image& PictureBox::Surface() const {
    return Pending() ? Writable() : *surface_;
}

RectPx PictureBox::NoteDrawing(RectPx area) {
    const RectPx inner = ClientBounds();
    const RectPx bounds = surface_ ? surface_->Bounds() : RectPx{0, 0, inner.Width(), inner.Height()};
    area = Intersect(area, bounds);
    if (area.Empty() || drawnEverywhere_) {
        if (!area.Empty()) {
            InvalidateClient(area);
        }
        return area;
    }
    drawn_.push_back(area);
    drawnArea_ += std::int64_t{area.Width()} * area.Height();
    if (drawn_.size() > kMostDrawnPlaces ||
        2 * drawnArea_ >= std::int64_t{bounds.Width()} * bounds.Height()) {
        drawn_.clear();
        drawnEverywhere_ = true;
    }
    InvalidateClient(area);
    return area;
}

Image& PictureBox::DrawOn(RectPx area) {
    Image& image = Writable();
    NoteDrawing(area);
    return image;
}

void PictureBox::DrawLater(RectPx area, const PictureBox& source, int maskX, int maskY, int spriteX,
                           int spriteY) {
    const RectPx kept = NoteDrawing(area);
    if (kept.Empty()) {
        return;
    }
    const Image* image = source.surface_.get();
    if (std::none_of(pendingSources_.begin(), pendingSources_.end(),
                     [image](const std::shared_ptr<const Image>& held) { return held.get() == image; })) {
        pendingSources_.push_back(source.surface_);
    }
    pending_.push_back({area, kept, image, maskX, maskY, spriteX, spriteY});
}

void PictureBox::DrawPending(const PendingSprite& sprite, Image& image, int originX, int originY,
                             RectPx clip) {
    const RectPx at = Intersect(sprite.kept.Moved(originX, originY), clip);
    if (at.Empty()) {
        return;
    }
    const int dx = at.left - (sprite.area.left + originX);
    const int dy = at.top - (sprite.area.top + originY);
    CopyThroughMask(image, at.left, at.top, at.Width(), at.Height(), *sprite.source, sprite.maskX + dx,
                    sprite.maskY + dy, sprite.spriteX + dx, sprite.spriteY + dy);
}

void PictureBox::Resized() {
    if (!surface_) {
        return;  // pending sprites keep to the part of the surface they were drawn on
    }
    // Growing keeps what was drawn at the top-left; the new part shows the background, so the
    // places drawn on stay where they were.
    Surface();
    const std::shared_ptr<const Image> old = surface_;
    surface_ = std::make_shared<Image>(BlankSurface());
    CopyRect(*surface_, 0, 0, old->Width(), old->Height(), *old, 0, 0, RasterOp::SrcCopy);
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
    if (Pending()) {
        // Straight into the window: the background, and the sprites drawn since Cls over it.
        PaintBackground(frame, area, inner.left, inner.top);
        for (const PendingSprite& sprite : pending_) {
            DrawPending(sprite, frame, inner.left, inner.top, area);
        }
        return;
    }
    CopyRect(frame, area.left, area.top, area.Width(), area.Height(), *surface_, area.left - inner.left,
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

void BitBlt(PictureBox& target, int x, int y, int width, int height, const PictureBox& source, int sx, int sy,
            RasterOp op) {
    CopyRect(target.DrawOn({x, y, x + width, y + height}), x, y, width, height, source.Surface(), sx, sy, op);
}

void BitBltThroughMask(PictureBox& target, int x, int y, int width, int height, const PictureBox& source,
                       int maskX, int maskY, int spriteX, int spriteY) {
    // Reading the source first brings the target up to date when the two are the same surface.
    const Image& sprite = source.Surface();
    if (target.Pending() && target.pending_.size() < kMostPendingSprites) {
        target.DrawLater({x, y, x + width, y + height}, source, maskX, maskY, spriteX, spriteY);
        return;
    }
    CopyThroughMask(target.DrawOn({x, y, x + width, y + height}), x, y, width, height, sprite, maskX, maskY,
                    spriteX, spriteY);
}

}  // namespace quibbix

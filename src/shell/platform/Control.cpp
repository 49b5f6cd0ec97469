#include "shell/platform/Control.h"

#include "shell/platform/Form.h"
#include "shell/platform/Geometry.h"
#include "shell/platform/RasterOp.h"

namespace quibbix {

void Control::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    if (form_ != nullptr) {
        form_->ControlChanged(*this, Bounds());
    }
}

void Control::Place(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) {
        return;
    }
    const RectPx before = Bounds();
    const bool sizeChanged = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    const int leftPx = TwipsToPixels(left);
    const int topPx = TwipsToPixels(top);
    bounds_ = {leftPx, topPx, leftPx + TwipsToPixels(width), topPx + TwipsToPixels(height)};
    if (sizeChanged) {
        Resized();
    }
    if (form_ != nullptr) {
        form_->ControlChanged(*this, before);
    }
}

void Control::SetPicture(PictureRef picture) {
    // Counters set every cell on every update: a cell that keeps its figure needs no repaint.
    if (picture == picture_) {
        return;
    }
    picture_ = std::move(picture);
    if (AutoSize() && picture_ != nullptr) {
        const int frame = framed_ ? 2 : 0;
        Place(left_, top_, PixelsToTwips(picture_->Width() + frame),
              PixelsToTwips(picture_->Height() + frame));
    }
    Invalidate();
}

RectPx Control::ClientBounds() const {
    RectPx inner = Bounds();
    if (framed_) {
        inner = {inner.left + 1, inner.top + 1, inner.right - 1, inner.bottom - 1};
    }
    return inner;
}

float Control::ScaleX(int windowX) const {
    return static_cast<float>(PixelsToTwips(windowX - ClientBounds().left));
}

float Control::ScaleY(int windowY) const {
    return static_cast<float>(PixelsToTwips(windowY - ClientBounds().top));
}

void Control::Invalidate() const {
    if (form_ != nullptr && visible_) {
        form_->Invalidate(Bounds());
    }
}

void Control::InvalidateClient(RectPx area) const {
    if (form_ != nullptr && visible_) {
        const RectPx inner = ClientBounds();
        form_->Invalidate(Intersect(area.Moved(inner.left, inner.top), inner));
    }
}

}  // namespace quibbix

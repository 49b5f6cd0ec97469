#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "shell/platform/Control.h"
#include "shell/platform/DeferredSprites.h"
#include "shell/platform/DrawnPlaces.h"
#include "shell/platform/RasterOp.h"
#include "shell/platform/ScaleMode.h"

namespace quibbix {

// A picture surface: a background colour, a picture, and a persistent drawing image that starts as
// the background with the picture on it. Drawing calls change the image; Cls starts it afresh,
// restoring (and repainting in the window) only the places drawn on (DrawnPlaces). Sprites drawn
// after Cls wait as a list (DeferredSprites) and are drawn straight into the window when it is
// painted: the drawing image catches up only when something reads it or draws on it otherwise, so
// reading it is a change too.
class PictureBox final : public Control {
public:
    explicit PictureBox(std::string name, ScaleMode scale = ScaleMode::Twips)
        : Control(std::move(name)), scale_(scale) {}

    ScaleMode Scale() const { return scale_; }
    void SetScale(ScaleMode scale) { scale_ = scale; }
    // Surfaces that hold a picture take its size; the board and the high-score surface keep theirs.
    void SetAutoSize(bool autoSize) { autoSize_ = autoSize; }

    // Colour value 0x00BBGGRR.
    std::uint32_t BackColor() const { return ToColorRef(backColor_); }
    void SetBackColor(std::uint32_t color);

    void SetPicture(PictureRef picture) override;

    // Erases everything drawn; the background colour and the picture remain.
    void Cls();
    // The whole picture at its own size, top-left at (x, y) in the surface's unit, replacing what
    // lies beneath. Transparent pixels are drawn as their colour value, so a transparent black
    // blank leaves the surface black.
    void PaintPicture(const PictureRef& picture, double x, double y);
    // The colour 0x00BBGGRR of a pixel of the drawing image; 0xFFFFFFFF outside it.
    std::uint32_t GetPixel(int x, int y);

    // The persistent drawing image, in pixels, with everything drawn so far.
    const Image& Surface();
    // The drawing image for a call about to change the pixels inside `area` (surface pixels) and
    // nowhere else: the area is remembered for Cls and repainted in the window.
    Image& DrawOn(RectPx area);

    void Paint(Image& frame, RectPx clip) const override;
    bool Opaque() const override { return true; }
    float ScaleX(int windowX) const override;
    float ScaleY(int windowY) const override;

protected:
    bool AutoSize() const override { return autoSize_; }
    void Resized() override;

private:
    friend void BitBlt(PictureBox& target, int x, int y, int width, int height, PictureBox& source, int sx,
                       int sy, RasterOp op);
    friend void BitBltThroughMask(PictureBox& target, int x, int y, int width, int height, PictureBox& source,
                                  int maskX, int maskY, int spriteX, int spriteY);

    Image BlankSurface() const;
    // Paints the background colour and the picture over `area` of the image, where the surface's
    // top-left pixel lies at `origin`.
    void PaintBackground(Image& image, RectPx area, int originX = 0, int originY = 0) const;
    // Starts afresh from the background: a new picture or colour.
    void Restart();
    // Remembers that the pixels inside `area` (surface pixels) change, for Cls and the window;
    // returns the part inside the surface.
    RectPx NoteDrawing(RectPx area);
    // Whether the surface shows its background and the deferred sprites rather than its image: after
    // Cls, or before anything made the image.
    bool Pending() const { return !image_ || imageStale_; }
    // Brings the image up to date: made, restored from the background, the deferred sprites in it.
    const std::shared_ptr<Image>& Current();
    // The current image, no longer shared with the deferred sprites of any surface.
    Image& Writable();

    ScaleMode scale_;
    bool autoSize_ = false;
    Argb backColor_ = kOpaqueBlack;
    // The drawing image, made when first read or drawn on otherwise than with sprites: a surface
    // nobody draws on shows its picture directly. The surfaces it is a sprite source of hold it
    // too, so a change here first makes a copy and what they draw stays as it was.
    std::shared_ptr<Image> image_;
    bool imageStale_ = false;  // the image still shows what was drawn before the last Cls
    DeferredSprites sprites_;
    DrawnPlaces drawn_;
};

// Copies a rectangle between drawing images, in pixels, combining the pixels by op.
void BitBlt(PictureBox& target, int x, int y, int width, int height, PictureBox& source, int sx, int sy,
            RasterOp op);

// BitBlt of the mask at (maskX, maskY) with SrcAnd, then of the sprite at (spriteX, spriteY) with
// SrcPaint, to the same place: the same pixels, drawn in one pass. Both read the source's drawing
// image, which brings it up to date.
void BitBltThroughMask(PictureBox& target, int x, int y, int width, int height, PictureBox& source, int maskX,
                       int maskY, int spriteX, int spriteY);

}  // namespace quibbix

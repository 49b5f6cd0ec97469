#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "shell/platform/Control.h"

namespace quibbix {

// The unit a picture surface draws in and reports pointer positions in.
enum class ScaleMode { Twips, Pixels };

// A picture surface: a background colour, a picture, and a persistent drawing image that starts as
// the background with the picture on it. Drawing calls change the image; Cls starts it afresh.
// The surface remembers where it has been drawn on since it was last plain, so Cls restores (and
// the window repaints) only those places: a board with a few balls costs a few squares a tick.
// Sprites drawn after Cls are kept as a list and drawn straight into the window when it is
// painted: the drawing image catches up only when something reads it or draws on it otherwise.
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
    std::uint32_t GetPixel(int x, int y) const;

    // The persistent drawing image, in pixels, with everything drawn so far.
    const Image& Surface() const;
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
    friend void BitBltThroughMask(PictureBox& target, int x, int y, int width, int height,
                                  const PictureBox& source, int maskX, int maskY, int spriteX, int spriteY);

    // A sprite drawn through its mask since Cls, not yet in the drawing image.
    struct PendingSprite {
        RectPx area;          // where it was drawn, in surface pixels
        RectPx kept;          // the part of it inside the surface then
        const Image* source;  // kept alive, unchanged, by pendingSources_
        int maskX;
        int maskY;
        int spriteX;
        int spriteY;
    };

    Image BlankSurface() const;
    // Paints the background colour and the picture over `area` of the image, where the surface's
    // top-left pixel lies at `origin`.
    void PaintBackground(Image& image, RectPx area, int originX = 0, int originY = 0) const;
    void ForgetDrawing();
    // Remembers that the pixels inside `area` (surface pixels) change, for Cls and the window;
    // returns the part inside the surface.
    RectPx NoteDrawing(RectPx area);
    // Whether drawn sprites wait in the list: after Cls, or before anything made the image.
    bool Pending() const { return !surface_ || surfaceStale_; }
    void DrawLater(RectPx area, const PictureBox& source, int maskX, int maskY, int spriteX, int spriteY);
    void ForgetPending() const;
    // Draws a pending sprite into an image where the surface's top-left pixel lies at `origin`,
    // inside clip only.
    static void DrawPending(const PendingSprite& sprite, Image& image, int originX, int originY, RectPx clip);
    // The drawing image with every pending sprite drawn, no longer shared with a pending list.
    Image& Writable() const;

    ScaleMode scale_;
    bool autoSize_ = false;
    Argb backColor_ = kOpaqueBlack;
    // Made when first read or drawn on otherwise than with sprites: a surface nobody draws on
    // shows its picture directly. Shared with the pending lists of surfaces it is a sprite of,
    // so that a change here leaves what they draw as it was.
    mutable std::shared_ptr<Image> surface_;
    // The image shows what was drawn before the last Cls: the background and the pending sprites
    // are what the surface shows.
    mutable bool surfaceStale_ = false;
    mutable std::vector<PendingSprite> pending_;
    mutable std::vector<std::shared_ptr<const Image>> pendingSources_;
    // Where the drawing image may differ from its background, in surface pixels; past a few
    // hundred places, or as much area as the whole, the whole image is restored instead.
    std::vector<RectPx> drawn_;
    std::int64_t drawnArea_ = 0;
    bool drawnEverywhere_ = false;
};

// Copies a rectangle between drawing images, in pixels, combining the pixels by op.
void BitBlt(PictureBox& target, int x, int y, int width, int height, const PictureBox& source, int sx, int sy,
            RasterOp op);

// BitBlt of the mask at (maskX, maskY) with SrcAnd, then of the sprite at (spriteX, spriteY) with
// SrcPaint, to the same place: the same pixels, drawn in one pass.
void BitBltThroughMask(PictureBox& target, int x, int y, int width, int height, const PictureBox& source,
                       int maskX, int maskY, int spriteX, int spriteY);

}  // namespace quibbix

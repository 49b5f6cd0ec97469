#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "shell/platform/Image.h"

namespace quibbix {

// Sprites drawn through their masks onto a surface since it was last cleared, not yet in its
// drawing image: the window paints them straight from their sources, and the image takes them in
// when somebody reads it. Each source is held once, by an owning handle, so that what a sprite
// draws stays as it was when it was drawn.
class DeferredSprites {
public:
    // Past this many sprites a surface draws into its image instead.
    static constexpr std::size_t kMost = 256;

    bool Empty() const { return sprites_.empty(); }
    bool Full() const { return sprites_.size() >= kMost; }

    // A sprite drawn at `area` (surface pixels) through the mask at (maskX, maskY) of source, the
    // sprite at (spriteX, spriteY); `kept` is the part of the area inside the surface.
    void Add(RectPx area, RectPx kept, const std::shared_ptr<Image>& source, int maskX, int maskY,
             int spriteX, int spriteY);
    // Draws every sprite into an image where the surface's top-left pixel lies at `origin`, inside
    // clip only.
    void DrawInto(Image& image, int originX, int originY, RectPx clip) const;
    void Clear();

private:
    struct Sprite {
        RectPx area;
        RectPx kept;
        std::uint32_t source;  // index into sources_
        int maskX;
        int maskY;
        int spriteX;
        int spriteY;
    };

    std::vector<Sprite> sprites_;
    std::vector<std::shared_ptr<const Image>> sources_;
};

}  // namespace quibbix

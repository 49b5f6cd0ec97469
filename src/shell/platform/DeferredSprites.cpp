#include "shell/platform/DeferredSprites.h"
#include "shell/platform/RasterOp.h"

#include <algorithm>

namespace quibbix {

void DeferredSprites::Add(RectPx area, RectPx kept, const std::shared_ptr<Image>& source, int maskX,
                          int maskY, int spriteX, int spriteY) {
    // A tick draws many sprites from a few sources: the handle is copied only for a new one.
    auto held =
        std::find_if(sources_.begin(), sources_.end(),
                     [&source](const std::shared_ptr<const Image>& image) { return image == source; });
    if (held == sources_.end()) {
        held = sources_.insert(sources_.end(), source);
    }
    const auto index = static_cast<std::uint32_t>(held - sources_.begin());
    sprites_.push_back({area, kept, index, maskX, maskY, spriteX, spriteY});
}

void DeferredSprites::DrawInto(Image& image, int originX, int originY, RectPx clip) const {
    for (const Sprite& sprite : sprites_) {
        const RectPx at = Intersect(sprite.kept.Moved(originX, originY), clip);
        if (at.Empty()) {
            continue;
        }
        const int dx = at.left - (sprite.area.left + originX);
        const int dy = at.top - (sprite.area.top + originY);
        CopyThroughMask(image, at.left, at.top, at.Width(), at.Height(), *sources_[sprite.source],
                        sprite.maskX + dx, sprite.maskY + dy, sprite.spriteX + dx, sprite.spriteY + dy);
    }
}

void DeferredSprites::Clear() {
    sprites_.clear();
    sources_.clear();
}

}  // namespace quibbix

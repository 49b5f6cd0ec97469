#include "resources/Artwork.h"

#include "resources/EmbeddedAssets.h"
#include "shell/platform/Png.h"

namespace quibbix {

PictureRef LoadArtwork(std::string name, std::string_view fileName) {
    std::optional<Image> image = DecodePng(EmbeddedAsset(fileName));
    return std::make_shared<const Picture>(std::move(name), image ? std::move(*image) : Image(1, 1));
}

}  // namespace quibbix

#include "resources/Artwork.h"

#include "resources/EmbeddedAssets.h"
#include "resources/EmbeddedPicture.h"

namespace quibbix {

PictureRef LoadArtwork(std::string name, std::string_view fileName) {
    const std::optional<EmbeddedPicture> art = EmbeddedArtwork(fileName);
    Image image = art ? art->ReadOnlyImage() : Image(1, 1);
    return std::make_shared<const Picture>(std::move(name), std::move(image));
}

}  // namespace quibbix

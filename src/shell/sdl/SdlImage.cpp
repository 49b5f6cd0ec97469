#include "shell/sdl/SdlImage.h"

#include <SDL.h>

#include "resources/EmbeddedAssets.h"
#include "resources/EmbeddedPicture.h"

namespace quibbix {

std::optional<Image> EmbeddedImage(std::string_view fileName) {
    const std::optional<EmbeddedPicture> art = EmbeddedArtwork(fileName);
    if (!art) {
        return std::nullopt;
    }
    return art->ReadOnlyImage().OwnedCopy();
}

SurfacePtr BorrowSurface(Image& image) {
    constexpr int kBitsPerPixel = 32;
    const int pitch = image.Width() * static_cast<int>(sizeof(Argb));
    return SurfacePtr(SDL_CreateRGBSurfaceWithFormatFrom(image.Row(0), image.Width(), image.Height(),
                                                         kBitsPerPixel, pitch, SDL_PIXELFORMAT_ARGB8888));
}

}  // namespace quibbix

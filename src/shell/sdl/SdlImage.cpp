#include "shell/sdl/SdlImage.h"

#include <SDL.h>

#include "resources/EmbeddedAssets.h"
#include "shell/platform/Png.h"

namespace quibbix {

std::optional<Image> EmbeddedImage(std::string_view fileName) {
    return DecodePng(EmbeddedAsset(fileName));
}

SurfacePtr BorrowSurface(Image& image) {
    constexpr int kBitsPerPixel = 32;
    const int pitch = image.Width() * static_cast<int>(sizeof(Argb));
    return SurfacePtr(SDL_CreateRGBSurfaceWithFormatFrom(image.Row(0), image.Width(), image.Height(),
                                                         kBitsPerPixel, pitch, SDL_PIXELFORMAT_ARGB8888));
}

}  // namespace quibbix

#include "shell/platform/Png.h"

#include <png.h>

namespace quibbix {

std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()) == 0) {
        return std::nullopt;
    }
    png.format = PNG_FORMAT_BGRA;  // little-endian BGRA bytes are 0xAARRGGBB words
    Image image(static_cast<int>(png.width), static_cast<int>(png.height));
    const bool ok = png_image_finish_read(&png, nullptr, image.Row(0), 0, nullptr) != 0;
    png_image_free(&png);
    if (!ok) {
        return std::nullopt;
    }
    return image;
}

}  // namespace quibbix

#include "shell/platform/Png.h"

#include <png.h>

#include <cstring>
#include <fstream>

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

std::vector<std::uint8_t> EncodePng(const Image& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width());
    png.height = static_cast<png_uint_32>(image.Height());
    png.format = PNG_FORMAT_BGRA;
    // The encoder reads rows a fixed stride apart, which built-in artwork that shares its repeated
    // rows does not have: such rows are gathered first.
    std::vector<Argb> gathered;
    if (!image.RowsPacked()) {
        gathered.reserve(static_cast<std::size_t>(image.Width()) * image.Height());
        for (int y = 0; y < image.Height(); ++y) {
            gathered.insert(gathered.end(), image.Row(y), image.Row(y) + image.Width());
        }
    }
    const void* pixels = image.RowsPacked() ? image.Row(0) : gathered.data();
    png_alloc_size_t size = 0;
    if (png_image_write_get_memory_size(png, size, 0, pixels, 0, nullptr) == 0) {
        return {};
    }
    std::vector<std::uint8_t> out(size);
    if (png_image_write_to_memory(&png, out.data(), &size, 0, pixels, 0, nullptr) == 0) {
        return {};
    }
    out.resize(size);
    return out;
}

bool WritePng(const std::filesystem::path& file, const Image& image) {
    const std::vector<std::uint8_t> bytes = EncodePng(image);
    if (bytes.empty()) {
        return false;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace quibbix

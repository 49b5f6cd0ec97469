#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "shell/platform/Image.h"

namespace quibbix {

// Decodes a PNG of any colour type into 32-bit pixels; nothing when the bytes are no valid PNG.
std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes);

// Encodes pixels as an RGBA PNG, the same bytes from the same pixels on every platform.
std::vector<std::uint8_t> EncodePng(const Image& image);

// Writes the PNG to a file; false when the file cannot be written.
bool WritePng(const std::filesystem::path& file, const Image& image);

}  // namespace quibbix

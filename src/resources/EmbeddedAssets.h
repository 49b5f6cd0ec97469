#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace quibbix {

// The bytes of an artwork file built into the program ("logo.png"); empty when there is none.
std::span<const std::uint8_t> EmbeddedAsset(std::string_view fileName);

}  // namespace quibbix

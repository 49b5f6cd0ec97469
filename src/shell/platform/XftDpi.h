#pragma once
#include <optional>
#include <string_view>

namespace quibbix {

// The value of Xft.dpi in a resource database's text, when it holds a finite positive one.
std::optional<double> XftDpi(std::string_view resources);

}  // namespace quibbix

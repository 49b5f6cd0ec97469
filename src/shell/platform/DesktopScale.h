#pragma once
#include <optional>
#include <string_view>

namespace quibbix {

// The desktop's scale as the toolkits announce it on X11: GDK_SCALE when it is a whole number of
// at least 1, else Xft.dpi from the resource database divided by 96 and rounded down; 1 without
// either. A scale beyond any screen is cut to 64.
int DesktopScale(std::optional<std::string_view> gdkScale, std::optional<std::string_view> resources);

}  // namespace quibbix

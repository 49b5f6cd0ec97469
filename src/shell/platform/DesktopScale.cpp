#include "shell/platform/DesktopScale.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "shell/platform/TrimBlanks.h"
#include "shell/platform/XftDpi.h"

namespace quibbix {

namespace {

// Far beyond any screen made; also keeps a huge Xft.dpi within an int.
constexpr int kLargestScale = 64;

}  // namespace

int DesktopScale(std::optional<std::string_view> gdkScale, std::optional<std::string_view> resources) {
    if (gdkScale) {
        const std::string_view text = TrimBlanks(*gdkScale);
        int scale = 0;
        const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
        if (error == std::errc() && rest == text.data() + text.size() && scale >= 1) {
            return std::min(scale, kLargestScale);
        }
    }
    if (resources) {
        if (const std::optional<double> dpi = XftDpi(*resources)) {
            return std::max(1, static_cast<int>(std::floor(std::min(*dpi / 96.0, double{kLargestScale}))));
        }
    }
    return 1;
}

}  // namespace quibbix

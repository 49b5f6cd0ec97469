#include "shell/platform/DesktopScale.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "shell/platform/XftDpi.h"

namespace quibbix {

namespace {

// Far beyond any screen made; also keeps a huge Xft.dpi within an int.
constexpr int kLargestScale = 64;

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

int DesktopScale(std::optional<std::string_view> gdkScale, std::optional<std::string_view> resources) {
    if (gdkScale) {
        const std::string_view text = Trim(*gdkScale);
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

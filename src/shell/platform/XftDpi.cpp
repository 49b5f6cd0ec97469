#include "shell/platform/XftDpi.h"

#include <charconv>
#include <cmath>

#include "shell/platform/TrimBlanks.h"

namespace quibbix {

std::optional<double> XftDpi(std::string_view resources) {
    while (!resources.empty()) {
        const auto end = resources.find('\n');
        const std::string_view line = resources.substr(0, end);
        resources = end == std::string_view::npos ? std::string_view() : resources.substr(end + 1);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || TrimBlanks(line.substr(0, colon)) != "Xft.dpi") {
            continue;
        }
        const std::string_view value = TrimBlanks(line.substr(colon + 1));
        double dpi = 0;
        const auto [rest, error] = std::from_chars(value.data(), value.data() + value.size(), dpi);
        if (error == std::errc() && std::isfinite(dpi) && dpi > 0) {
            return dpi;
        }
    }
    return std::nullopt;
}

}  // namespace quibbix

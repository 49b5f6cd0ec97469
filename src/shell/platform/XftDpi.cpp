#include "shell/platform/XftDpi.h"

#include <cmath>

#include "shell/platform/DecimalText.h"

namespace quibbix {

namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<double> XftDpi(std::string_view resources) {
    while (!resources.empty()) {
        const auto end = resources.find('\n');
        const std::string_view line = resources.substr(0, end);
        resources = end == std::string_view::npos ? std::string_view() : resources.substr(end + 1);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || Trim(line.substr(0, colon)) != "Xft.dpi") {
            continue;
        }
        const std::string_view value = Trim(line.substr(colon + 1));
        const std::optional<ReadDecimal> dpi = ParseDecimal(value);
        if (dpi && !dpi->outOfRange && std::isfinite(dpi->value) && dpi->value > 0) {
            return dpi->value;
        }
    }
    return std::nullopt;
}

}  // namespace quibbix

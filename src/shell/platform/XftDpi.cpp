#include "shell/platform/XftDpi.h"

#include <cmath>

#include "shell/platform/DecimalText.h"
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
        const std::optional<ReadDecimal> dpi = ParseDecimal(value);
        if (dpi && !dpi->outOfRange && std::isfinite(dpi->value) && dpi->value > 0) {
            return dpi->value;
        }
    }
    return std::nullopt;
}

}  // namespace quibbix

#include "shell/platform/Viewport.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <locale>
#include <sstream>
#include <string>

namespace quibbix {

namespace {

// Division that rounds towards minus infinity, so a point left of the frame stays left of it.
int FloorDiv(int value, int divisor) {
    const int quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// A decimal number at the start of `text`, read the same in every locale. Not std::from_chars:
// the browser build's standard library reads only whole numbers with it.
std::optional<double> LeadingDecimal(std::string_view text) {
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '-' ||
                          text.front() == '.')) {
        return std::nullopt;
    }
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    double value = 0;
    if (!(in >> value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

PointPx Viewport::ToFrame(int x, int y) const {
    return {FloorDiv(x * scale - left, zoom), FloorDiv(y * scale - top, zoom)};
}

RectPx Viewport::ToScreen(RectPx frameArea) const {
    return {left + frameArea.left * zoom, top + frameArea.top * zoom, left + frameArea.right * zoom,
            top + frameArea.bottom * zoom};
}

int LargestZoom(SizePx frame, SizePx area) {
    if (frame.width <= 0 || frame.height <= 0) {
        return 1;
    }
    return std::max(1, std::min(area.width / frame.width, area.height / frame.height));
}

int ClampZoom(int zoom, SizePx frame, SizePx area) {
    return std::clamp(zoom, 1, LargestZoom(frame, area));
}

Viewport FullScreenViewport(SizePx frame, SizePx screen) {
    const int zoom = LargestZoom(frame, screen);
    return {zoom, (screen.width - frame.width * zoom) / 2, (screen.height - frame.height * zoom) / 2, 1};
}

std::optional<double> XftDpi(std::string_view resources) {
    while (!resources.empty()) {
        const auto end = resources.find('\n');
        const std::string_view line = resources.substr(0, end);
        resources = end == std::string_view::npos ? std::string_view() : resources.substr(end + 1);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || Trim(line.substr(0, colon)) != "Xft.dpi") {
            continue;
        }
        const std::optional<double> dpi = LeadingDecimal(Trim(line.substr(colon + 1)));
        if (dpi && std::isfinite(*dpi) && *dpi > 0) {
            return dpi;
        }
    }
    return std::nullopt;
}

int DesktopScale(std::optional<std::string_view> gdkScale, std::optional<std::string_view> resources) {
    if (gdkScale) {
        const std::string_view text = Trim(*gdkScale);
        int scale = 0;
        const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
        if (error == std::errc() && rest == text.data() + text.size() && scale >= 1) {
            return scale;
        }
    }
    if (resources) {
        if (const std::optional<double> dpi = XftDpi(*resources)) {
            return std::max(1, static_cast<int>(std::floor(*dpi / 96.0)));
        }
    }
    return 1;
}

}  // namespace quibbix

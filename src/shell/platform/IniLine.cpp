#include "shell/platform/IniLine.h"

#include "shell/platform/IniSyntax.h"

namespace quibbix::ini {

Line Classify(std::string_view text) {
    const auto trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') {
        return {};
    }
    if (trimmed.front() == '[') {
        const auto close = trimmed.find(']');
        // Keys after a damaged header must not land in the section before it.
        return {Line::Kind::kHeader,
                close == std::string_view::npos ? std::nullopt
                                                : std::optional(Trim(trimmed.substr(1, close - 1))),
                {},
                {}};
    }
    const auto equals = text.find('=');
    const auto key = Trim(text.substr(0, equals));
    if (equals == std::string_view::npos || key.empty()) {
        return {};
    }
    return {Line::Kind::kEntry, std::nullopt, key, text.substr(equals + 1)};
}

}  // namespace quibbix::ini

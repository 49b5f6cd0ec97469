#include "shell/platform/AsciiCaseLess.h"

#include <algorithm>

namespace quibbix {

namespace {

// Not std::tolower: that one depends on the C locale and is undefined for bytes above 127.
constexpr unsigned char AsciiLower(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

bool AsciiCaseLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
}

}  // namespace quibbix

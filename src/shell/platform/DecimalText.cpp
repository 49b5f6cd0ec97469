#include "shell/platform/DecimalText.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quibbix {

namespace {

// What strtod reads beyond a plain decimal number: blanks and '+' before it, hexadecimal digits.
bool LooksDecimal(std::string_view text) {
    if (text.empty() || text.front() == '+' ||
        text.find_first_of("xX \t\n\v\f\r") != std::string_view::npos) {
        return false;
    }
    return true;
}

template <typename T>
std::optional<T> Parse(std::string_view text, T (*read)(const char*, char**), bool& outOfRange) {
    if (!LooksDecimal(text)) {
        return std::nullopt;
    }
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    const T value = read(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size()) {
        return std::nullopt;
    }
    outOfRange = errno == ERANGE;
    return value;
}

std::string Printed(const char* format, int precision, double value) {
    char text[400];
    const int length = std::snprintf(text, sizeof text, format, precision, value);
    return std::string(text, static_cast<std::size_t>(length));
}

}  // namespace

std::optional<ReadDecimal> ParseDecimal(std::string_view text) {
    bool outOfRange = false;
    const std::optional<double> value = Parse<double>(text, std::strtod, outOfRange);
    if (!value) {
        return std::nullopt;
    }
    return ReadDecimal{*value, outOfRange};
}

std::optional<float> ParseFloat(std::string_view text) {
    bool outOfRange = false;
    const std::optional<float> value = Parse<float>(text, std::strtof, outOfRange);
    return outOfRange ? std::nullopt : value;
}

std::string ShortestDecimal(double value, bool fixed) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan") : (value < 0 ? "-inf" : "inf");
    }
    // The fewest significant digits that read back the same, then the exponent of the first one.
    std::string scientific;
    for (int digits = 0; digits < 17; ++digits) {
        scientific = Printed("%.*e", digits, value);
        if (std::strtod(scientific.c_str(), nullptr) == value) {
            const int point = static_cast<int>(scientific.find('e'));
            const int exponent = std::atoi(scientific.c_str() + point + 1);
            const std::string plain = Printed("%.*f", digits > exponent ? digits - exponent : 0, value);
            return fixed || plain.size() <= scientific.size() ? plain : scientific;
        }
    }
    return Printed("%.*e", 16, value);
}

}  // namespace quibbix

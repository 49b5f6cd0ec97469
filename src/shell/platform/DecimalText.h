#pragma once
#include <optional>
#include <string>
#include <string_view>

// Decimal numbers read and written the same with every C++ standard library: the browser build's
// library has no floating-point std::from_chars or std::to_chars. Both keep their rules: no blanks
// or '+' before a number, '.' as the point whatever the locale, and the shortest text that reads
// back as the same value.
namespace quibbix {

struct ReadDecimal {
    double value = 0;
    bool outOfRange = false;  // too large for a double, or too close to zero
};

// The whole of `text` as a number, or nothing when any of it is not.
std::optional<ReadDecimal> ParseDecimal(std::string_view text);
std::optional<float> ParseFloat(std::string_view text);

// The shortest text that reads back as `value`: in plain digits when `fixed`, else in plain digits
// or with an exponent, whichever is shorter.
std::string ShortestDecimal(double value, bool fixed = false);

}  // namespace quibbix

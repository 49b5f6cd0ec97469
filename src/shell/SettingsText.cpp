#include "shell/SettingsText.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace quibbix {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

double LeadingNumber(std::string_view text) {
    // Gather sign, digits, one decimal point and an exponent, skipping blanks, until a character
    // that cannot continue the number.
    constexpr std::size_t kLongestUseful = 400;  // far beyond any double's digits
    std::string number;
    bool digits = false;
    bool point = false;
    bool exponent = false;
    for (const char c : text) {
        if (IsBlank(c)) {
            continue;
        }
        const bool signAllowed = number.empty() || number.back() == 'e';
        if (IsDigit(c)) {
            digits = true;
            number += c;
        } else if (c == '.' && !point && !exponent) {
            point = true;
            number += c;
        } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && digits && !exponent) {
            exponent = true;
            number += 'e';
        } else if ((c == '+' || c == '-') && signAllowed) {
            number += c;
        } else {
            break;
        }
        if (number.size() > kLongestUseful) {
            break;
        }
    }
    if (!digits) {
        return 0.0;
    }
    // strtod stops before a dangling exponent or sign by itself.
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : std::copysign(std::numeric_limits<double>::max(), value);
}

std::string ScoreText(std::int32_t score) {
    std::string text = std::to_string(score);
    if (score >= 0) {
        text.insert(text.begin(), ' ');
    }
    return text;
}

}  // namespace quibbix

#include "shell/SettingsText.h"

#include <cctype>
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
    std::string number;
    bool digits = false;
    bool point = false;
    bool exponent = false;
    for (const char c : text) {
        if (IsBlank(c)) {
            continue;
        }
        const char last = number.empty() ? '\0' : number.back();
        if (IsDigit(c)) {
            digits = true;
        } else if ((c == '+' || c == '-') && (number.empty() || last == 'e')) {
        } else if (c == '.' && !point && !exponent) {
            point = true;
        } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && digits && !exponent) {
            exponent = true;
            number += 'e';
            continue;
        } else {
            break;
        }
        number += c;
        if (number.size() > 400) {
            break;  // far beyond any double; the rest cannot change the outcome much
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
    return score >= 0 ? " " + std::to_string(score) : std::to_string(score);
}

}  // namespace quibbix

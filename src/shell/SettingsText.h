#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace quibbix {

// The number at the start of a stored text: blanks are ignored, reading stops at the first
// character that cannot continue a decimal number, and no number at all counts as 0.
double LeadingNumber(std::string_view text);

// A score as stored: one blank before a number of 0 or more (" 1500"), a minus sign otherwise.
std::string ScoreText(std::int32_t score);

}  // namespace quibbix

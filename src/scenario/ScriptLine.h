#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quibbix {

// An error line quotes at most this many bytes of the script.
inline constexpr std::size_t kMaxQuotedBytes = 80;

// Script text as an error line shows it: at most `most` bytes, cut with "...", and every byte that
// is not printable ASCII written as \xNN.
std::string Quoted(std::string_view text, std::size_t most = kMaxQuotedBytes);

// The words of one script line: separated by blanks; a word in double quotes may hold blanks,
// with \" and \\ standing for a quote and a backslash. Throws std::invalid_argument for an
// unclosed quote.
std::vector<std::string> SplitWords(std::string_view line);

}  // namespace quibbix

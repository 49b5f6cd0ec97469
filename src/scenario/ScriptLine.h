#pragma once
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quibbix {

// A script line holds at most this many bytes, its end of line not counted.
inline constexpr std::size_t kMaxLineBytes = 4096;
// An error line quotes at most this many bytes of the script.
inline constexpr std::size_t kMaxQuotedBytes = 80;

enum class LineRead { Line, TooLong, End };

// Reads the next line of the script without its end. A line longer than kMaxLineBytes is not
// read to its end: the script stops there anyway.
LineRead ReadScriptLine(std::istream& script, std::string& line);

// Script text as an error line shows it: at most `most` bytes, cut with "...", and every byte that
// is not printable ASCII written as \xNN.
std::string Quoted(std::string_view text, std::size_t most = kMaxQuotedBytes);

// The words of one script line: separated by blanks; a word in double quotes may hold blanks,
// with \" and \\ standing for a quote and a backslash. Throws std::invalid_argument for an
// unclosed quote.
std::vector<std::string> SplitWords(std::string_view line);

// "imgScore(0)" -> "imgScore" and {0}; "NameCellX(1,2)" -> {1, 2}; "Score" -> no index. Throws
// std::invalid_argument for a malformed index.
struct IndexedName {
    std::string name;
    std::vector<int> index;
};
IndexedName SplitIndex(std::string_view word);

}  // namespace quibbix

#pragma once
#include <cstddef>
#include <iosfwd>
#include <string>

namespace quibbix {

// A script line holds at most this many bytes, its end of line not counted.
inline constexpr std::size_t kMaxLineBytes = 4096;

enum class LineRead { Line, TooLong, End };

// Reads the next line of the script without its end. A line longer than kMaxLineBytes is not
// read to its end: the script stops there anyway.
LineRead ReadScriptLine(std::istream& script, std::string& line);

}  // namespace quibbix

#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The line grammar of the settings file: what a line is, and how names and values are written on
// one so that they read back exactly.
namespace quibbix::ini {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Without the blanks (spaces and tabs) at either end.
std::string_view Trim(std::string_view text);

// The lines of a file without their line feeds (and without the one carriage return before each).
std::vector<std::string_view> SplitLines(std::string_view text);

// Whether a name survives being written on a `name=value` or `[name]` line and read back; the
// forbidden characters are those that would end the name early.
bool IsWritableName(std::string_view name, std::string_view forbidden);

// A value as written after "=": bare where a bare value reads back the same, else quoted with
// C-style escapes.
std::string Encode(std::string_view value);

// The value of an entry line, from the text after its "=".
std::string DecodeValue(std::string_view raw);

}  // namespace quibbix::ini

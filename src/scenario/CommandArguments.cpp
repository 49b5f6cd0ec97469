#include "scenario/CommandArguments.h"

#include <charconv>

#include "scenario/BadLine.h"
#include "scenario/ScriptLine.h"
#include "shell/platform/DecimalText.h"

namespace quibbix {

void RequireWords(const Words& words, std::size_t least, std::size_t most) {
    if (words.size() < least || words.size() > most) {
        throw BadLine("wrong number of arguments for " + Quoted(words[0]));
    }
}

std::int64_t WholeNumber(std::string_view what, const std::string& word, std::int64_t low,
                         std::int64_t high) {
    const auto outOfRange = [&] {
        return BadLine(std::string(what) + " out of range " + std::to_string(low) + ".." +
                       std::to_string(high) + ": " + Quoted(word));
    };
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error == std::errc::result_out_of_range) {
        throw outOfRange();
    }
    if (word.empty() || error != std::errc{} || end != word.data() + word.size()) {
        throw BadLine("bad argument: " + Quoted(word));
    }
    if (value < low || value > high) {
        throw outOfRange();
    }
    return value;
}

int Coordinate(const std::string& word) {
    return static_cast<int>(WholeNumber("coordinate", word, -kMaxCoordinate, kMaxCoordinate));
}

float RandomValue(const std::string& word) {
    const std::optional<float> value = ParseFloat(word);
    if (!value || !(*value >= 0.0f && *value < 1.0f)) {
        throw BadLine("bad random value (0 <= R < 1): " + Quoted(word));
    }
    return *value;
}

}  // namespace quibbix

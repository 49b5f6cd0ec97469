#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scenario/Words.h"

namespace quibbix {

// The limits of a command's arguments: a script asking for more is a bad line.
inline constexpr std::int64_t kMaxTicks = 1'000'000;
// A million ticks of the game's 20 ms timer.
inline constexpr std::int64_t kMaxWaitMs = 20'000'000;
inline constexpr std::size_t kMaxRandomValues = 1000;
// Values waiting in the random queue at any time.
inline constexpr std::size_t kMaxQueuedRandomValues = 1'000'000;
// Window pixels: far beyond any screen, and small enough that twips never overflow.
inline constexpr std::int64_t kMaxCoordinate = 1'000'000;

// Throws BadLine unless the command (words[0]) has between `least` and `most` words in all.
void RequireWords(const Words& words, std::size_t least, std::size_t most);

// A decimal whole number in low..high; BadLine for anything else, naming `what` it was meant for.
std::int64_t WholeNumber(std::string_view what, const std::string& word, std::int64_t low, std::int64_t high);

// A window pixel coordinate, within kMaxCoordinate of the origin.
int Coordinate(const std::string& word);

// A value for the random queue: 0 <= R < 1, read as a single-precision float.
float RandomValue(const std::string& word);

}  // namespace quibbix

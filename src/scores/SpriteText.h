#pragma once
#include <cstdint>

namespace quibbix {

// The high-score surface lays its text out on a grid of cells, in twips. Every glyph is
// 330 x 420 twips (22 x 28 pixels) and touches its neighbours.
inline constexpr int kGlyphPitch = 330;
inline constexpr int kNameLeft = 500;
inline constexpr int kRowTop = 100;
inline constexpr int kRowPitch = 510;
// Eight name cells, then a gap before the six score digits.
inline constexpr int kNameCells = 8;
inline constexpr int kNameToScoreGap = 500;
inline constexpr int kScoreDigits = 6;
// A typed name holds at most seven characters: the eighth cell is never typed into.
inline constexpr int kLastEntryColumn = 7;

// Where name cell `column` (1..8) of row `row` (1..10) starts.
inline constexpr int NameCellLeft(int column) {
    return kNameLeft + kGlyphPitch * (column - 1);
}
inline constexpr int RowTop(int row) {
    return kRowTop + kRowPitch * (row - 1);
}
// Where score digit `digit` (1..6) starts.
inline constexpr int ScoreCellLeft(int digit) {
    return NameCellLeft(kNameCells + 1) + kNameToScoreGap + kGlyphPitch * (digit - 1);
}

}  // namespace quibbix

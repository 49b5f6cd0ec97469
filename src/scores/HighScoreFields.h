#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "game/VbBool.h"

namespace quibbix {

// Ranks 1..10 of the top-ten table are used; entry 0 never is.
inline constexpr int kRanks = 10;

// The top-ten table, where its text is drawn, and the typing of a new entry's name.
struct HighScoreFields {
    // Cell positions on the high-score surface in twips, by row 0..10 and column 0..8.
    using CellTable = std::array<std::array<std::int16_t, 9>, 11>;

    std::array<std::string, kRanks + 1> HighScoreNames;
    std::array<std::int32_t, kRanks + 1> HighScores{};
    // The rank whose name is still to be typed; 0 for none.
    std::int32_t NewEntryRank = 0;

    CellTable NameCellX{};
    CellTable NameCellY{};
    CellTable ScoreCellX{};
    CellTable ScoreCellY{};

    VbBool NameEntryActive = kFalse;
    // The name cell the cursor stands in.
    std::int16_t EntryColumn = 0;
};

}  // namespace quibbix

#pragma once
#include <array>
#include <cstdint>

#include "game/VbBool.h"

namespace quibbix {

// The board is 384 x 384 pixels; a ball's cell is 32 x 32 and lies fully on it. A ball's sprite
// holds the ball in its top cell and the ball's mask in the cell below.
inline constexpr std::int32_t kBoardSize = 384;
inline constexpr std::int32_t kBallCell = 32;
// Ball slots 0..100; only 0..LastBall are in play.
inline constexpr int kBallSlots = 101;
// Ball types: also the index of the sprite a ball is drawn with.
inline constexpr std::int16_t kPlainBall = 0;
inline constexpr std::int16_t kTargetBall = 1;
inline constexpr std::int16_t kBonusBall = 2;
// The board holds at most 101 balls: LastBall never passes 100.
inline constexpr std::int16_t kLastSlot = 100;

// The shape list holds at most every pixel of a 32 x 32 cell.
inline constexpr int kMaskEntries = 1025;

// The state of a game: score, level, clock, the ball slots and the hit-test shape.
struct GameFields {
    std::int32_t Score = 0;
    std::int16_t Level = 0;
    double TimeLeft = 0.0;
    double LevelTime = 0.0;
    std::int16_t LastBall = 0;
    // Balls on the board minus one: the level is cleared when it falls below 0.
    std::int16_t BallsRemaining = 0;
    double BallQuota = 0.0;
    double BallSpeed = 0.0;
    VbBool GameActive = kFalse;
    // The last pointer position over the board, in board pixels; -1 for none.
    std::int32_t PointerX = 0;
    std::int32_t PointerY = 0;

    std::array<std::int32_t, kBallSlots> BallX{};
    std::array<std::int32_t, kBallSlots> BallY{};
    std::array<std::int16_t, kBallSlots> BallDX{};
    std::array<std::int16_t, kBallSlots> BallDY{};
    // 0 plain, 1 target, 2 bonus: also the index of the sprite the ball is drawn with.
    std::array<std::int16_t, kBallSlots> BallType{};
    std::array<VbBool, kBallSlots> BallActive{};

    // The pixels a ball covers in its 32 x 32 cell, in column order.
    std::array<std::int32_t, kMaskEntries> MaskX{};
    std::array<std::int32_t, kMaskEntries> MaskY{};
    std::int16_t MaskCount = 0;
};

}  // namespace quibbix

#include "game/Arithmetic.h"
#include "game/FrmMain.h"

namespace quibbix {

namespace {

// Where a ball's cell can start and still lie fully on the board.
constexpr double kPositions = kBoardSize - kBallCell;
// One ball in a thousand is a bonus ball.
constexpr double kBonusOdds = 1000;
constexpr int kBonusDraw = 500;

}  // namespace

// Deals a ball into the slot with exactly seven random draws, always in this order, so a given
// sequence of random values always deals the same board.
void FrmMain::PlaceBall(std::int16_t slot) {
    Random& random = platform_.random;
    const auto draw = [&random] { return double{random.Next()}; };

    BallX[slot] = Floor<std::int32_t>(draw() * kPositions);
    BallY[slot] = Floor<std::int32_t>(draw() * kPositions);
    BallDX[slot] = SaturatingAdd(Floor<std::int16_t>(draw() * BallSpeed), 1);
    if (Floor<int>(draw() * 2) == 0) {
        BallDX[slot] = static_cast<std::int16_t>(-BallDX[slot]);
    }
    BallDY[slot] = SaturatingAdd(Floor<std::int16_t>(draw() * BallSpeed), 1);
    if (Floor<int>(draw() * 2) == 0) {
        BallDY[slot] = static_cast<std::int16_t>(-BallDY[slot]);
    }
    BallType[slot] = kPlainBall;
    if (Floor<int>(draw() * kBonusOdds) + 1 == kBonusDraw) {
        BallType[slot] = kBonusBall;
    }
    BallActive[slot] = kTrue;
}

// Whether the pointer rests on a drawn pixel of the ball whose cell starts at (x, y). The box test
// is inclusive, but no shape entry reaches offset 32, so only the shape list decides.
VbBool FrmMain::BallOverlap(std::int32_t x, std::int32_t y) const {
    if (PointerX == -1 || PointerY == -1) {
        return kFalse;
    }
    if (PointerX < x || PointerX > x + kBallCell || PointerY < y || PointerY > y + kBallCell) {
        return kFalse;
    }
    for (int i = 0; i < MaskCount; ++i) {
        if (MaskX[i] + x == PointerX && MaskY[i] + y == PointerY) {
            return kTrue;
        }
    }
    return kFalse;
}

}  // namespace quibbix

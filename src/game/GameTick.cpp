#include <algorithm>

#include "game/Arithmetic.h"
#include "game/FrmMain.h"

namespace quibbix {

namespace {

constexpr std::int32_t kTargetPoints = 100;
constexpr std::int32_t kBonusPoints = 1000;
// Each started second left when the board is cleared.
constexpr std::int32_t kSecondPoints = 100;
constexpr double kSpeedStep = 0.2;
constexpr double kQuotaStep = 0.5;
constexpr double kQuotaLimit = 100;
constexpr double kExtraSeconds = 5;

}  // namespace

void FrmMain::Timer1_Timer() {
    BallHandler();
}

// One tick: redraw the board with every ball moved one step, find the one ball under the pointer,
// and either score it or let the clock run.
void FrmMain::BallHandler() {
    pctBoard.Cls();

    // Slots are visited downwards: lower slots are drawn over higher ones, while the hit test
    // favours the highest slot under the pointer. Only one ball is touched per tick.
    VbBool hit = kFalse;
    int hitSlot = 0;
    for (int i = LastBall; i >= 0; --i) {
        if (BallActive[i] != kTrue) {
            continue;
        }
        // A ball that would leave the board turns round on the spot and moves back.
        if (BallX[i] + BallDX[i] < 0 || BallX[i] + BallDX[i] + kBallCell > kBoardSize) {
            BallDX[i] = static_cast<std::int16_t>(-BallDX[i]);
        }
        if (BallY[i] + BallDY[i] < 0 || BallY[i] + BallDY[i] + kBallCell > kBoardSize) {
            BallDY[i] = static_cast<std::int16_t>(-BallDY[i]);
        }
        BallX[i] = SaturatingAdd(BallX[i], BallDX[i]);
        BallY[i] = SaturatingAdd(BallY[i], BallDY[i]);

        // The mask cuts a hole in the board (SrcAnd), the ball's colours are ORed into it
        // (SrcPaint): both copies in one pass, which halves the tick's drawing.
        PictureBox& sprite = pctBall[std::clamp<int>(BallType[i], kPlainBall, kBonusBall)];
        BitBltThroughMask(pctBoard, BallX[i], BallY[i], kBallCell, kBallCell, sprite, 0, kBallCell, 0, 0);

        if (hit == kFalse && BallOverlap(BallX[i], BallY[i]) == kTrue) {
            hit = kTrue;
            hitSlot = i;
        }
    }

    if (hit == kTrue) {
        TouchBall(hitSlot);
    } else {
        RunClock();
    }
}

void FrmMain::TouchBall(int slot) {
    const std::int16_t type = BallType[slot];
    if (type == kTargetBall || type == kBonusBall) {
        if (type == kTargetBall) {
            Score = SaturatingAdd(Score, kTargetPoints);
            PlayEffect("Missile.wav", SND_ASYNC);
        } else {
            Score = SaturatingAdd(Score, kBonusPoints);
            PlayEffect("Bleep.wav", SND_ASYNC);
        }
        UpdateScore();
        BallActive[slot] = kFalse;  // the slot keeps its type
        BallsRemaining = SaturatingAdd(BallsRemaining, -1);
        UpdateRemaining();
        if (BallsRemaining < 0) {
            ClearLevel();
        } else if (type == kTargetBall) {
            ChooseNewTarget();
        }
        // After a bonus ball the target stays where it is.
    } else if (LastBall < kLastSlot) {
        // The touched plain ball stays: resting on it adds another ball every tick.
        PlayEffect("Window.wav", SND_ASYNC);
        LastBall = SaturatingAdd(LastBall, 1);
        BallsRemaining = SaturatingAdd(BallsRemaining, 1);
        UpdateRemaining();
        PlaceBall(LastBall);
    }
}

// The target passes to a random ball still on the board. Slot 0, every level's first target, has
// been cleared by then, so the draw covers slots 1..LastBall only.
void FrmMain::ChooseNewTarget() {
    const auto first = BallActive.begin() + 1;
    const auto last = BallActive.begin() + std::clamp<int>(LastBall, 0, kLastSlot) + 1;
    if (LastBall < 1 || std::none_of(first, last, [](VbBool active) { return active != kFalse; })) {
        return;  // no ball left to carry the target: the invariants of a running level rule it out
    }
    std::int16_t slot = 0;
    do {
        slot = SaturatingAdd(Floor<std::int16_t>(double{platform_.random.Next()} * LastBall), 1);
    } while (BallActive[slot] == kFalse);
    BallType[slot] = kTargetBall;
}

// The clock runs by the timer's nominal interval, by repeated subtraction.
void FrmMain::RunClock() {
    TimeLeft -= Timer1.Interval() / 1000.0;
    UpdateTimeLeft();
    if (!(TimeLeft > 0)) {
        Timer1.SetEnabled(false);
        GameActive = kFalse;
        GameOver();
    }
}

// The last ball is gone: the time left becomes points, and the next level has faster balls, a
// larger quota and 5 more seconds than this one.
void FrmMain::ClearLevel() {
    Timer1.SetEnabled(false);
    pctBoard.Cls();

    // 100 points for every started second.
    while (TimeLeft > 0) {
        UpdateTimeLeft();
        TimeLeft -= 1;
        Score = SaturatingAdd(Score, kSecondPoints);
        UpdateScore();
    }

    BallSpeed += kSpeedStep;
    if (BallQuota + kQuotaStep < kQuotaLimit) {
        BallQuota += kQuotaStep;
    }
    LastBall = RoundHalfEven<std::int16_t>(BallQuota);
    BallsRemaining = LastBall;
    UpdateRemaining();

    // Nothing counts as touched until the pointer moves again.
    PointerX = -1;
    PointerY = -1;

    for (std::int16_t slot = 0; slot <= LastBall; ++slot) {
        PlaceBall(slot);
    }
    BallType[0] = kTargetBall;

    Level = SaturatingAdd(Level, 1);
    UpdateLevel();
    TimeLeft = LevelTime + kExtraSeconds;
    LevelTime += kExtraSeconds;
    UpdateTimeLeft();

    Timer1.SetEnabled(true);
}

}  // namespace quibbix

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <tuple>

#include "tests/unit/HeadlessGame.h"

namespace quibbix {
namespace {

class GameEngineTest : public ::testing::Test {
protected:
    HeadlessGame game;
    FrmMain& form = game.form;
};

TEST_F(GameEngineTest, PlaceBallUsesExactlySevenDrawsInOrderAndStepsFollowTheSpeed) {
    form.BallSpeed = 1.2;
    for (const float r : {0.5f, 0.25f, 0.9f, 0.1f, 0.9f, 0.6f, 0.4995f, 0.0f}) {
        game.platform.Rng().Queue(r);
    }
    form.PlaceBall(7);
    // DX is floor(0.9 * 1.2) + 1, negated for a draw below one half; 0.4995 is the 500th of 1000.
    EXPECT_EQ(std::tuple(form.BallX[7], form.BallY[7], form.BallDX[7], form.BallDY[7], form.BallType[7]),
              std::tuple(176, 88, -2, 2, kBonusBall));
    EXPECT_EQ(form.BallActive[7], kTrue);
    EXPECT_EQ(game.platform.Rng().Next(), 0.0f) << "the eighth value is left for the next draw";

    // The largest value below 1 stays on the board and short of a bonus.
    for (int i = 0; i < 7; ++i) {
        game.platform.Rng().Queue(std::nextafter(1.0f, 0.0f));
    }
    form.PlaceBall(8);
    EXPECT_EQ(std::tuple(form.BallX[8], form.BallDX[8], form.BallType[8]), std::tuple(351, 2, kPlainBall));

    // The step is 1 up to a speed of 1, and 1 or 2 above it.
    game.platform.Rng().Seed(99);
    for (const double speed : {0.2, 1.0, 1.2, 0.2 * 5}) {
        form.BallSpeed = speed;
        std::set<int> magnitudes;
        for (int i = 0; i < 2000; ++i) {
            form.PlaceBall(0);
            magnitudes.insert(std::abs(form.BallDX[0]));
            magnitudes.insert(std::abs(form.BallDY[0]));
            ASSERT_LE(form.BallX[0], 351);
            ASSERT_NE(form.BallType[0], kTargetBall);
        }
        EXPECT_EQ(magnitudes, (speed > 1.0 ? std::set<int>{1, 2} : std::set<int>{1})) << speed;
    }
}

TEST_F(GameEngineTest, OnlyTheDrawnPixelsOfABallTouchThePointer) {
    form.PointerX = -1, form.PointerY = 50;
    EXPECT_EQ(form.BallOverlap(-20, 40), kFalse);
    form.PointerX = 40, form.PointerY = 40;
    EXPECT_EQ(form.BallOverlap(40, 40), kFalse) << "the cell's transparent corner";
    EXPECT_EQ(form.BallOverlap(8, 8), kFalse) << "the box's far corner, (x + 32, y + 32)";
    for (int i = 0; i < form.MaskCount; ++i) {
        ASSERT_EQ(form.BallOverlap(40 - form.MaskX[i], 40 - form.MaskY[i]), kTrue);
    }
    form.MaskCount = 0;
    EXPECT_EQ(form.BallOverlap(40 - 16, 40 - 16), kFalse);
}

TEST_F(GameEngineTest, ABallTurnsRoundOnTheSpotOnlyWhenItsStepWouldLeaveTheBoard) {
    const struct {
        int at, step, after;
    } cases[] = {{352, 2, 350}, {350, 2, 352}, {351, 1, 352}, {352, 1, 351},
                 {0, -1, 1},    {1, -1, 0},    {2, -2, 0}};
    for (const auto& c : cases) {
        form.pctNew_Click();
        game.Ball(0, kTargetBall, c.at, c.at, c.step, c.step);
        game.Tick();
        EXPECT_EQ(std::tuple(form.BallX[0], form.BallY[0], form.BallDX[0]),
                  std::tuple(c.after, c.after, c.after - c.at))
            << c.at << " by " << c.step;
        form.pctNew_Click();
    }
}

// The lower slot is drawn on top, but the higher one is touched.
TEST_F(GameEngineTest, OfTwoBallsUnderThePointerTheHigherSlotIsTouched) {
    form.pctNew_Click();
    game.Ball(0, kTargetBall, 100, 100);
    game.Ball(1, kBonusBall, 104, 104);
    form.PointerX = form.PointerY = 101 + 20;
    game.Tick();
    EXPECT_EQ(std::tuple(form.Score, form.BallActive[0], form.BallActive[1]),
              std::tuple(1000, kTrue, kFalse));
    EXPECT_EQ(form.pctBoard.GetPixel(101 + 16, 101 + 16), form.pctBall[kTargetBall].GetPixel(16, 16))
        << "slot 0 is drawn over slot 1";
}

TEST_F(GameEngineTest, LevelsGrowByTheQuotaRoundedHalfToEvenUpToOneHundredAndOneBalls) {
    form.pctNew_Click();
    const struct {
        int lastBall;
        double levelTime;
    } table[] = {{1, 20}, {2, 25}, {2, 30}, {2, 35}, {3, 40}, {4, 45}, {4, 50}, {4, 55}, {5, 60}, {6, 65}};
    double speed = 0.2;
    for (int level = 1; level <= 10; ++level) {
        SCOPED_TRACE(level);
        const auto& [lastBall, levelTime] = table[level - 1];
        EXPECT_EQ(std::tuple(form.Level, form.LastBall, form.BallsRemaining, form.LevelTime),
                  std::tuple(level, lastBall, lastBall, levelTime));
        EXPECT_EQ(form.BallSpeed, speed) << "accumulated, never recomputed";
        EXPECT_EQ(form.BallType[0], kTargetBall);
        game.AimAtTheOnlyTarget();
        game.Tick();
        speed += 0.2;
    }
    EXPECT_EQ(form.BallSpeed, 0.2 + 0.2 + 0.2 + 0.2 + 0.2 + 0.2 + 0.2 + 0.2 + 0.2 + 0.2 + 0.2);
    EXPECT_NE(form.BallSpeed, 2.2);

    // The quota stops at 99.5: 101 balls.
    for (const double quota : {99.0, 99.5}) {
        form.BallQuota = quota;
        game.AimAtTheOnlyTarget();
        game.Tick();
        EXPECT_EQ(std::tuple(form.BallQuota, form.LastBall), std::tuple(99.5, 100));
    }
}

TEST_F(GameEngineTest, ClearingALevelTurnsEveryStartedSecondIntoPoints) {
    for (const auto& [left, bonus] :
         {std::pair{3.45, 400}, {3.0, 300}, {1.0, 100}, {0.02, 100}, {20.0, 2000}}) {
        form.pctNew_Click();
        form.TimeLeft = left;
        game.AimAtTheOnlyTarget();
        game.Tick();
        EXPECT_EQ(std::tuple(form.Score, form.Level, form.TimeLeft, form.LevelTime),
                  std::tuple(100 + bonus, 2, 25.0, 25.0))
            << left << " s left";
        EXPECT_EQ(form.PointerX, -1) << "nothing counts as touched until the pointer moves";
        EXPECT_TRUE(form.Timer1.Enabled());
        form.pctNew_Click();
        form.GameActive = kFalse;
    }
}

TEST_F(GameEngineTest, FieldsAndBallsStopAtTheirLimitsInsteadOfWrapping) {
    form.pctNew_Click();
    form.Score = std::numeric_limits<std::int32_t>::max() - 50;
    form.TimeLeft = 2.0;
    game.AimAtTheOnlyTarget();
    game.Tick();
    EXPECT_EQ(form.Score, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Handle(form.imgScore[5].Picture()), Handle(form.frmGraphics.imgDigit[9].Picture()));
    EXPECT_EQ(Handle(form.imgScore[0].Picture()), Handle(form.frmGraphics.imgDigit[9].Picture()));

    form.Level = std::numeric_limits<std::int16_t>::max();
    game.AimAtTheOnlyTarget();
    game.Tick();
    EXPECT_EQ(form.Level, std::numeric_limits<std::int16_t>::max());
    EXPECT_EQ(Handle(form.imgLevel[1].Picture()), Handle(form.frmGraphics.imgDigit[9].Picture()));

    // A plain ball touched with a full board changes nothing.
    form.LastBall = 100;
    game.AimAtTheOnlyTarget();
    form.BallType[100] = kPlainBall;
    form.TimeLeft = 5.0;
    game.Tick();
    EXPECT_EQ(std::tuple(form.LastBall, form.BallsRemaining), std::tuple(100, 0));
    EXPECT_EQ(form.TimeLeft, 5.0) << "a tick with a touch never runs the clock";
    EXPECT_TRUE(game.platform.Sounds().Requests().empty());
}

TEST_F(GameEngineTest, TheNewTargetIsDrawnAmongTheBallsStillOnTheBoard) {
    form.pctNew_Click();
    form.LastBall = 4;
    form.BallsRemaining = 2;
    form.BallActive[1] = form.BallActive[3] = kFalse;
    game.Ball(0, kTargetBall, 0, 0);
    game.Ball(2, kPlainBall, 300, 300);
    game.Ball(4, kPlainBall, 300, 300);
    form.PointerX = form.PointerY = 17;
    // Draws landing on cleared slots 1 and 3 are drawn again; 0.3 lands on slot 2.
    for (const float r : {0.0f, 0.5f, 0.3f}) {
        game.platform.Rng().Queue(r);
    }
    game.Tick();
    EXPECT_EQ(form.BallActive[0], kFalse);
    EXPECT_EQ(form.BallType[0], kTargetBall) << "a cleared slot keeps its type";
    EXPECT_EQ(form.BallType[2], kTargetBall);
    EXPECT_EQ(form.BallType[4], kPlainBall);
}

}  // namespace
}  // namespace quibbix

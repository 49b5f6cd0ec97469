// A tick repaints only the squares its balls covered: the board and the window must still show,
// pixel for pixel, what clearing the whole board and drawing every ball would show.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "shell/platform/Compositor.h"
#include "tests/unit/HeadlessGame.h"

namespace quibbix {
namespace {

class BoardRedrawTest : public ::testing::Test {
protected:
    BoardRedrawTest() {
        game.platform.Rng().Seed(77);
        game.form.pctNew_Click();
        game.form.TimeLeft = 1e9;  // the clock never runs out here
        frame = Image(game.form.Width() / kTwipsPerPixel, game.form.Height() / kTwipsPerPixel);
        Compose(game.form, frame, frame.Bounds());
        (void)game.form.TakeDirty();
    }

    // The board as the tick's rules define it: black, then every ball in play from the highest slot
    // down, each as two plain copies, the mask with SrcAnd and the ball with SrcPaint.
    Image ClearedAndRedrawn() const {
        const FrmMain& form = game.form;
        Image board(384, 384, kOpaqueBlack);
        for (int slot = form.LastBall; slot >= 0; --slot) {
            if (form.BallActive[slot] == kTrue) {
                const Image& sprite = form.pctBall[std::clamp<int>(form.BallType[slot], 0, 2)].Surface();
                const int x = form.BallX[slot];
                const int y = form.BallY[slot];
                CopyRect(board, x, y, 32, 32, sprite, 0, 32, RasterOp::SrcAnd);
                CopyRect(board, x, y, 32, 32, sprite, 0, 0, RasterOp::SrcPaint);
            }
        }
        return board;
    }

    // Repaints the window only where the form reports a change, as the real window does.
    void RepaintChanges() {
        for (const RectPx& area : game.form.TakeDirty()) {
            Compose(game.form, frame, area);
        }
    }

    void ExpectBoardAndWindowExact(int tick) {
        ASSERT_EQ(game.form.pctBoard.Surface(), ClearedAndRedrawn()) << "board after tick " << tick;
        RepaintChanges();
        Image whole(frame.Width(), frame.Height());
        Compose(game.form, whole, whole.Bounds());
        ASSERT_EQ(frame, whole) << "window after tick " << tick;
    }

    HeadlessGame game;
    Image frame;
    std::mt19937 random{2026};
};

TEST_F(BoardRedrawTest, EveryTickEqualsClearingTheWholeBoardAndDrawingEveryBall) {
    FrmMain& form = game.form;
    const auto pick = [this](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int tick = 0; tick < 600; ++tick) {
        const int event = pick(0, 19);
        if (event == 0 && form.LastBall < 100) {
            // A ball joins: anywhere, also at and beyond every edge, and fast enough to leave.
            form.LastBall = static_cast<std::int16_t>(form.LastBall + 1);
            const int slot = form.LastBall;
            form.BallActive[slot] = kTrue;
            form.BallType[slot] = static_cast<std::int16_t>(pick(0, 2));
            form.BallX[slot] = pick(0, 3) == 0 ? pick(-40, 424) : pick(0, 352);
            form.BallY[slot] = pick(0, 3) == 0 ? pick(-40, 424) : pick(0, 352);
            form.BallDX[slot] = static_cast<std::int16_t>(pick(-9, 9));
            form.BallDY[slot] = static_cast<std::int16_t>(pick(-9, 9));
        } else if (event == 1) {
            form.BallActive[pick(0, form.LastBall)] = kFalse;  // a ball is cleared
        } else if (event == 2) {
            form.BallActive[pick(0, form.LastBall)] = kTrue;  // a stale slot comes back
        } else if (event == 3 && form.LastBall > 0) {
            // Two balls on the same spot, and one pressed into a corner.
            const int a = pick(0, form.LastBall);
            const int b = pick(0, form.LastBall);
            form.BallX[a] = form.BallX[b] + pick(-3, 3);
            form.BallY[a] = form.BallY[b] + pick(-3, 3);
            form.BallX[b] = pick(0, 1) * 352;
            form.BallY[b] = pick(0, 1) * 352;
        } else if (event == 4) {
            form.BallType[pick(0, form.LastBall)] = kTargetBall;  // the target passes on
        }
        form.PointerX = -1;
        form.PointerY = -1;
        form.BallHandler();
        ASSERT_NO_FATAL_FAILURE(ExpectBoardAndWindowExact(tick));
    }
    EXPECT_GT(form.LastBall, 20) << "the run should have filled the board";
}

TEST_F(BoardRedrawTest, LevelClearPauseAndANewGameLeaveNothingBehind) {
    FrmMain& form = game.form;
    for (int tick = 0; tick < 5; ++tick) {
        form.BallHandler();
    }
    // A level clear empties the board in the tick that touches the last ball.
    game.AimAtTheOnlyTarget();
    form.TimeLeft = 3.45;
    const std::int16_t level = form.Level;
    form.BallHandler();
    ASSERT_EQ(form.Level, level + 1);
    ASSERT_EQ(form.pctBoard.Surface(), Image(384, 384, kOpaqueBlack));
    RepaintChanges();
    form.BallHandler();
    ASSERT_NO_FATAL_FAILURE(ExpectBoardAndWindowExact(1));

    // Paused, then resumed: the board keeps its frame and goes on from it.
    form.pctNew_Click();
    form.pctNew_Click();
    form.BallHandler();
    ASSERT_NO_FATAL_FAILURE(ExpectBoardAndWindowExact(2));

    // The game ends with balls on the board; the next game's first tick starts from them.
    form.TimeLeft = 0.01;
    form.BallHandler();
    form.ShowMainScreen();
    form.pctNew_Click();
    form.BallHandler();
    ASSERT_NO_FATAL_FAILURE(ExpectBoardAndWindowExact(3));
}

TEST(PictureBoxRedraw, ClsRestoresThePictureUnderEveryPlaceDrawnOn) {
    HeadlessWindow window;
    Form form("frm", window, 100, 100);
    PictureBox box("box", ScaleMode::Pixels);
    box.Place(0, 0, PixelsToTwips(60), PixelsToTwips(40));
    box.SetVisible(true);
    form.Add(box);
    Image stripes(50, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 50; ++x) {
            stripes.At(x, y) = Rgb(static_cast<std::uint8_t>(x * 5), static_cast<std::uint8_t>(y * 8), 9);
        }
    }
    box.SetPicture(std::make_shared<const Picture>("stripes", stripes));
    box.SetBackColor(0x00332211);
    const Image plain = box.Surface();
    const auto dot = std::make_shared<const Picture>("dot", Image(7, 5, Rgb(250, 250, 250)));

    // A few places, some over the picture's edge and the surface's; then so many that the whole
    // surface is restored at once.
    for (const int count : {1, 3, 40, 400}) {
        for (int i = 0; i < count; ++i) {
            box.PaintPicture(dot, (i * 13) % 70 - 3, (i * 7) % 50 - 2);
        }
        ASSERT_NE(box.Surface(), plain);
        (void)form.TakeDirty();
        box.Cls();
        EXPECT_EQ(box.Surface(), plain) << count << " places";
        EXPECT_FALSE(form.TakeDirty().empty()) << "the restored places are repainted";
    }
    box.Cls();
    EXPECT_TRUE(form.TakeDirty().empty()) << "a plain surface cleared again changes nothing";

    // A surface grown after drawing keeps the drawing, and Cls still finds it.
    box.PaintPicture(dot, 55, 35);
    box.SetWidth(PixelsToTwips(80));
    box.Cls();
    EXPECT_EQ(box.GetPixel(56, 36), 0x00332211u);
}

}  // namespace
}  // namespace quibbix

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
    Image ClearedAndRedrawn() {
        FrmMain& form = game.form;
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

    // The window is repainted first: the balls go straight into it, before anything has read the
    // board's drawing image, which has to catch up with them afterwards.
    void ExpectBoardAndWindowExact(int tick) {
        const Image expected = ClearedAndRedrawn();
        RepaintChanges();
        Image shown(384, 384);
        const RectPx board = game.form.pctBoard.ClientBounds();
        CopyRect(shown, 0, 0, 384, 384, frame, board.left, board.top, RasterOp::SrcCopy);
        ASSERT_EQ(shown, expected) << "window's board after tick " << tick;
        if (tick % 3 == 0) {
            ASSERT_EQ(game.form.pctBoard.Surface(), expected) << "board after tick " << tick;
        }
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

TEST(PictureBoxRedraw, SpritesShowWhatTheirSourceHeldWhenTheyWereDrawn) {
    // Sprites drawn after Cls wait in a list until the window paints them or the drawing image is
    // read. Whatever happens to their source meanwhile, and however many there are, the window and
    // the image show what drawing them at once would have shown.
    HeadlessWindow window;
    Form form("frm", window, 100, 100);
    PictureBox board("board", ScaleMode::Pixels);
    PictureBox ball("ball", ScaleMode::Pixels);
    for (PictureBox* box : {&board, &ball}) {
        box->Place(PixelsToTwips(3), PixelsToTwips(5), PixelsToTwips(60), PixelsToTwips(40));
        box->SetVisible(true);
        form.Add(*box);
    }
    ball.SetVisible(false);
    Image art(8, 16, Rgb(255, 255, 255));  // a sprite over its mask
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = (x - 4) * (x - 4) + (y - 4) * (y - 4) < 12;
            art.At(x, y) = inside
                               ? Rgb(static_cast<std::uint8_t>(30 * x), 90, static_cast<std::uint8_t>(30 * y))
                               : kOpaqueBlack;
            art.At(x, y + 8) = inside ? kOpaqueBlack : Rgb(255, 255, 255);
        }
    }
    ball.SetPicture(std::make_shared<const Picture>("ball", art));
    board.SetBackColor(0x00102030);
    board.PaintPicture(std::make_shared<const Picture>("dot", Image(9, 9, Rgb(1, 2, 3))), 10, 10);

    Image expected(60, 40, FromColorRef(0x00102030));
    const auto drawBoth = [&](int x, int y, const Image& source) {
        BitBltThroughMask(board, x, y, 8, 8, ball, 0, 8, 0, 0);
        CopyThroughMask(expected, x, y, 8, 8, source, 0, 8, 0, 0);
    };
    const auto clearBoth = [&] {
        board.Cls();
        expected.Fill(FromColorRef(0x00102030));
    };
    const auto expectShown = [&](const char* when) {
        Image frame(100, 100);
        Compose(form, frame, frame.Bounds());
        Image shown(60, 40);
        CopyRect(shown, 0, 0, 60, 40, frame, 3, 5, RasterOp::SrcCopy);
        EXPECT_EQ(shown, expected) << "window, " << when;
        EXPECT_EQ(board.Surface(), expected) << "drawing image, " << when;
        Image fromImage(100, 100);
        Compose(form, fromImage, fromImage.Bounds());
        EXPECT_EQ(frame, fromImage) << "nothing drawn outside the board, " << when;
    };

    clearBoth();
    for (int i = 0; i < 300; ++i) {  // more than wait in the list
        drawBoth((i * 17) % 70 - 6, (i * 11) % 50 - 5, art);
    }
    expectShown("after many sprites");

    // The ball is repainted after being drawn: what was drawn keeps the old ball.
    clearBoth();
    drawBoth(-3, 30, art);
    drawBoth(50, 2, art);
    const Image red(8, 16, Rgb(200, 0, 0));
    ball.PaintPicture(std::make_shared<const Picture>("red", red), 0, 0);
    drawBoth(20, 20, red);
    expectShown("after the source changed");

    // The board drawn onto itself: what it held when the sprite was drawn.
    clearBoth();
    drawBoth(4, 4, red);
    BitBltThroughMask(board, 30, 10, 8, 8, board, 4, 12, 4, 4);
    const Image before = expected;
    CopyThroughMask(expected, 30, 10, 8, 8, before, 4, 12, 4, 4);
    expectShown("after drawing from itself");
}

}  // namespace
}  // namespace quibbix

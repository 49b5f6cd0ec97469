// A tick repaints only what its balls covered, and picture boxes keep sprites in a list until someone
// looks: the board and the window must still show, pixel for pixel, what a plain redraw would show.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "shell/platform/Compositor.h"
#include "tests/unit/HeadlessGame.h"

namespace quibbix {
namespace {

void RepaintChanges(Form& form, Image& window) {
    for (const RectPx& area : form.TakeDirty()) {
        Compose(form, window, area);
    }
}

void ExpectAsComposedAfresh(const Form& form, const Image& window, const char* when) {
    Image whole(window.Width(), window.Height());
    Compose(form, whole, whole.Bounds());
    ASSERT_EQ(window, whole) << "window, " << when;
}

class BoardRedrawTest : public ::testing::Test {
protected:
    BoardRedrawTest() {
        game.platform.Rng().Seed(77);
        game.form.pctNew_Click();
        game.form.TimeLeft = 1e9;  // the clock never runs out here
        Compose(game.form, frame, frame.Bounds());
        (void)game.form.TakeDirty();
    }

    // The board as a tick draws it: black, then every ball in play from the highest slot down, its
    // mask with AND and the ball with OR. The window is repainted first, before anything has read
    // the board's drawing image, which has to catch up with the balls afterwards.
    void ExpectBoardAndWindowExact(int tick) {
        Image expected(384, 384, kOpaqueBlack);
        for (int slot = form.LastBall; slot >= 0; --slot) {
            if (form.BallActive[slot] == kTrue) {
                const Image& sprite = form.pctBall[std::clamp<int>(form.BallType[slot], 0, 2)].Surface();
                CopyRect(expected, form.BallX[slot], form.BallY[slot], 32, 32, sprite, 0, 32,
                         RasterOp::SrcAnd);
                CopyRect(expected, form.BallX[slot], form.BallY[slot], 32, 32, sprite, 0, 0,
                         RasterOp::SrcPaint);
            }
        }
        RepaintChanges(form, frame);
        Image shown(384, 384);
        const RectPx board = form.pctBoard.ClientBounds();
        CopyRect(shown, 0, 0, 384, 384, frame, board.left, board.top, RasterOp::SrcCopy);
        ASSERT_EQ(shown, expected) << "window's board after tick " << tick;
        if (tick % 3 == 0) {
            ASSERT_EQ(form.pctBoard.Surface(), expected) << "board after tick " << tick;
        }
        ASSERT_NO_FATAL_FAILURE(ExpectAsComposedAfresh(form, frame, "after a tick")) << tick;
    }

    HeadlessGame game;
    FrmMain& form = game.form;
    std::vector<Argb> memory = std::vector<Argb>(654 * 472);
    Image frame = Image::Borrowed(memory.data(), 654, 472, Image::Stores::PastCache);
    std::mt19937 random{2026};
};

TEST_F(BoardRedrawTest, EveryTickLevelClearPauseAndNewGameEqualClearingTheBoardAndDrawingEveryBall) {
    const auto pick = [this](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int tick = 0; tick < 600; ++tick) {
        const int event = pick(0, 19);
        const int any = pick(0, form.LastBall);
        if (event == 0 && form.LastBall < 100) {
            // A ball joins: anywhere, also at and beyond every edge, and fast enough to leave.
            form.LastBall = static_cast<std::int16_t>(form.LastBall + 1);
            game.Ball(form.LastBall, static_cast<std::int16_t>(pick(0, 2)),
                      pick(0, 3) == 0 ? pick(-40, 424) : pick(0, 352),
                      pick(0, 3) == 0 ? pick(-40, 424) : pick(0, 352), pick(-9, 9), pick(-9, 9));
        } else if (event == 1 || event == 2) {
            form.BallActive[any] = event == 1 ? kFalse : kTrue;  // cleared, or a stale slot comes back
        } else if (event == 3) {
            // Two balls on the same spot, and one pressed into a corner.
            form.BallX[any] = form.BallX[0] + pick(-3, 3), form.BallY[any] = form.BallY[0] + pick(-3, 3);
            form.BallX[0] = pick(0, 1) * 352, form.BallY[0] = pick(0, 1) * 352;
        } else if (event == 4) {
            form.BallType[any] = kTargetBall;  // the target passes on
        } else if (event == 5) {
            form.pctNew_Click();  // paused, then resumed: the board goes on from its frame
            form.pctNew_Click();
        } else if (tick == 400) {
            ASSERT_GT(form.LastBall, 20) << "the run should have filled the board";
            // A level clear empties the board in the tick that touches the last ball.
            game.AimAtTheOnlyTarget();
            form.TimeLeft = 3.45;
            const std::int16_t level = form.Level;
            form.BallHandler();
            ASSERT_EQ(form.Level, level + 1);
            ASSERT_EQ(form.pctBoard.Surface(), Image(384, 384, kOpaqueBlack));
            form.TimeLeft = 1e9;
        } else if (tick == 500) {
            // The game ends with balls on the board; the next game's first tick starts from them.
            form.TimeLeft = 0.01;
            form.BallHandler();
            form.ShowMainScreen();
            form.pctNew_Click();
            form.TimeLeft = 1e9;
        }
        form.PointerX = tick == 400 ? form.PointerX : -1;
        form.PointerY = tick == 400 ? form.PointerY : -1;
        form.BallHandler();
        ASSERT_NO_FATAL_FAILURE(ExpectBoardAndWindowExact(tick));
    }
}

// A board of 60 x 40 at (3, 5) of a window, and a hidden box holding an 8 x 8 ball over its mask.
class PictureBoxRedraw : public ::testing::Test {
protected:
    PictureBoxRedraw() {
        for (PictureBox* box : {&board, &ball}) {
            box->Place(PixelsToTwips(3), PixelsToTwips(5), PixelsToTwips(60), PixelsToTwips(40));
            box->SetVisible(box == &board);
            form.Add(*box);
        }
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool inside = (x - 4) * (x - 4) + (y - 4) * (y - 4) < 12;
                art.At(x, y) =
                    inside ? Rgb(static_cast<std::uint8_t>(30 * x), 90, static_cast<std::uint8_t>(30 * y))
                           : kOpaqueBlack;
                art.At(x, y + 8) = inside ? kOpaqueBlack : Rgb(255, 255, 255);
            }
        }
        ball.SetPicture(std::make_shared<const Picture>("ball", art));
        board.SetBackColor(0x00102030);
        board.PaintPicture(std::make_shared<const Picture>("dot", Image(9, 9, Rgb(1, 2, 3))), 10, 10);
        Compose(form, window, window.Bounds());
        (void)form.TakeDirty();
    }

    void DrawBoth(int x, int y, const Image& source) {
        BitBltThroughMask(board, x, y, 8, 8, ball, 0, 8, 0, 0);
        CopyThroughMask(expected, x, y, 8, 8, source, 0, 8, 0, 0);
    }
    void ClearBoth() {
        board.Cls();
        expected.Fill(FromColorRef(0x00102030));
    }
    // The window first, then the drawing image: both show what drawing at once would have shown,
    // and nothing is drawn outside the board.
    void ExpectShown(const char* when) {
        RepaintChanges(form, window);
        Image shown(60, 40);
        CopyRect(shown, 0, 0, 60, 40, window, 3, 5, RasterOp::SrcCopy);
        EXPECT_EQ(shown, expected) << "window, " << when;
        EXPECT_EQ(board.Surface(), expected) << "drawing image, " << when;
        ExpectAsComposedAfresh(form, window, when);
    }

    HeadlessWindow headless;
    Form form{"frm", headless, 100, 100};
    PictureBox board{"board", ScaleMode::Pixels};
    PictureBox ball{"ball", ScaleMode::Pixels};
    Image art = Image(8, 16, Rgb(255, 255, 255));
    Image expected = Image(60, 40, FromColorRef(0x00102030));
    Image window = Image(100, 100);
};

TEST_F(PictureBoxRedraw, ClsRestoresThePictureUnderEveryPlaceDrawnOn) {
    Image stripes(50, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 50; ++x) {
            stripes.At(x, y) = Rgb(static_cast<std::uint8_t>(x * 5), static_cast<std::uint8_t>(y * 8), 9);
        }
    }
    board.SetPicture(std::make_shared<const Picture>("stripes", stripes));
    const Image plain = board.Surface();
    const auto dot = std::make_shared<const Picture>("dot", Image(7, 5, Rgb(250, 250, 250)));
    // A few places, some over the picture's edge and the surface's; then so many that the whole
    // surface is restored at once.
    for (const int count : {1, 3, 40, 400}) {
        for (int i = 0; i < count; ++i) {
            board.PaintPicture(dot, (i * 13) % 70 - 3, (i * 7) % 50 - 2);
        }
        ASSERT_NE(board.Surface(), plain);
        (void)form.TakeDirty();
        board.Cls();
        EXPECT_EQ(board.Surface(), plain) << count << " places";
        EXPECT_FALSE(form.TakeDirty().empty()) << "the restored places are repainted";
    }
    board.Cls();
    EXPECT_TRUE(form.TakeDirty().empty()) << "a plain surface cleared again changes nothing";
}

TEST_F(PictureBoxRedraw, SpritesShowWhatTheirSourceHeldWhenTheyWereDrawn) {
    ClearBoth();
    for (int i = 0; i < 300; ++i) {  // more than wait in the list
        DrawBoth((i * 17) % 70 - 6, (i * 11) % 50 - 5, art);
    }
    ExpectShown("after many sprites");

    // The ball is repainted after being drawn: what was drawn keeps the old ball.
    ClearBoth();
    DrawBoth(-3, 30, art);
    DrawBoth(50, 2, art);
    const Image red(8, 16, Rgb(200, 0, 0));
    ball.PaintPicture(std::make_shared<const Picture>("red", red), 0, 0);
    DrawBoth(20, 20, red);
    ExpectShown("after the source changed");

    // The board drawn onto itself: what it held when the sprite was drawn.
    ClearBoth();
    DrawBoth(4, 4, red);
    BitBltThroughMask(board, 30, 10, 8, 8, board, 4, 12, 4, 4);
    const Image before = expected;
    CopyThroughMask(expected, 30, 10, 8, 8, before, 4, 12, 4, 4);
    ExpectShown("after drawing from itself");
}

}  // namespace
}  // namespace quibbix

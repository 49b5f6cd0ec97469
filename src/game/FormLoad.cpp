#include "game/FrmMain.h"

#include "shell/platform/Geometry.h"

namespace quibbix {

namespace {

constexpr std::uint32_t kBlack = 0;

}  // namespace

void FrmMain::Form_Load() {
    platform_.random.Randomize();

    SetBackColor(kBlack);
    pctBoard.SetBackColor(kBlack);

    // The title logo stands centred in the strip left of the counters, over the board.
    pctQuibbix.SetLeft((pctScore.Left() - pctQuibbix.Width()) / 2);
    pctQuibbix.SetTop((Height() - pctQuibbix.Height()) / 2);
    pctQuibbix.SetVisible(true);

    // The hit test compares the pointer with this list of the ball's pixels, so it never reads
    // the sprite during play.
    MaskCount = 0;
    for (int x = 0; x < kBallCell; ++x) {
        for (int y = 0; y < kBallCell; ++y) {
            if (pctBall[0].GetPixel(x, y + kBallCell) == kBlack) {
                MaskX[MaskCount] = x;
                MaskY[MaskCount] = y;
                ++MaskCount;
            }
        }
    }

    pctBoard.SetWidth(kBoardSize * kTwipsPerPixel);
    pctBoard.SetHeight(kBoardSize * kTwipsPerPixel);

    pctNew.SetPicture(frmGraphics.pctStart.Picture());

    LoadSettings();

    TimeLeft = 0.0;
    Score = 0;
    Level = 0;
    BallsRemaining = 0;
    UpdateScore();
    UpdateLevel();
    UpdateRemaining();
    UpdateTimeLeft();

    GameActive = kFalse;
}

}  // namespace quibbix

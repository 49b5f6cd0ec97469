#include "game/Arithmetic.h"
#include "game/FrmMain.h"

namespace quibbix {

// START starts a game when idle, resumes it when paused; PAUSE pauses it. The button's state is
// the picture it shows, told apart by identity.
void FrmMain::pctNew_Click() {
    pctQuibbix.SetVisible(false);

    if (Handle(pctNew.Picture()) != Handle(frmGraphics.pctStart.Picture())) {
        Timer1.SetEnabled(false);
        pctNew.SetPicture(frmGraphics.pctStart.Picture());
        return;
    }
    if (GameActive != kFalse) {
        pctNew.SetPicture(frmGraphics.pctPause.Picture());
        Timer1.SetEnabled(true);
        return;
    }

    pctNew.SetPicture(frmGraphics.pctPause.Picture());
    Timer1.SetEnabled(false);
    BallSpeed = 0.2;
    BallQuota = 1.0;
    LastBall = 1;
    BallsRemaining = 1;
    UpdateRemaining();
    // During a game the scores, about and sound buttons are out of reach.
    pctHighScores.SetVisible(false);
    pctAbout.SetVisible(false);
    pctSound.SetVisible(false);
    PointerX = -1;
    PointerY = -1;
    Level = 1;
    UpdateLevel();
    TimeLeft = 20.0;
    LevelTime = 20.0;
    UpdateTimeLeft();
    Score = 0;
    UpdateScore();
    // The first tick cannot run before this handler returns, so it always sees a complete board.
    Timer1.SetEnabled(true);
    for (std::int16_t slot = 0; slot <= LastBall; ++slot) {
        PlaceBall(slot);
    }
    BallType[0] = kTargetBall;
    GameActive = kTrue;
}

void FrmMain::pctBoard_MouseMove(std::int16_t /*button*/, std::int16_t /*shift*/, float x, float y) {
    PointerX = RoundHalfEven<std::int32_t>(x);
    PointerY = RoundHalfEven<std::int32_t>(y);
}

}  // namespace quibbix

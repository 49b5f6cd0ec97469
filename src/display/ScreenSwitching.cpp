#include <span>

#include "game/FrmMain.h"

namespace quibbix {

namespace {

void SetVisible(std::span<ImageControl> cells, bool visible) {
    for (ImageControl& cell : cells) {
        cell.SetVisible(visible);
    }
}

}  // namespace

// Every other screen starts by hiding the main screen's controls. The window icons stay.
void FrmMain::HideMainScreen() {
    for (Control* control : std::initializer_list<Control*>{
             &pctQuibbix, &pctBoard, &pctNew, &pctHighScores, &pctExit, &pctAbout, &pctReset, &pctSound,
             &pctGameOver, &pctScore, &pctLevel, &pctBalls, &pctTime}) {
        control->SetVisible(false);
    }
    SetVisible(imgScore, false);
    SetVisible(imgLevel, false);
    SetVisible(imgTime, false);
    SetVisible(imgBalls, false);
}

// Every way back to the main screen ends here, always between games, so the start button shows
// its start picture. The title logo is never shown again.
void FrmMain::ShowMainScreen() {
    pctBoard.SetVisible(true);
    pctNew.SetVisible(true);
    pctNew.SetPicture(frmGraphics.pctStart.Picture());
    pctHighScores.SetVisible(true);
    pctHighScore.SetVisible(false);
    pctExit.SetVisible(true);
    pctAbout.SetVisible(true);
    pctSound.SetVisible(true);
    pctOk.SetVisible(false);
    pctReset.SetVisible(false);
    pctScore.SetVisible(true);
    pctLevel.SetVisible(true);
    pctBalls.SetVisible(true);
    pctTime.SetVisible(true);
    pctGameOver.SetVisible(false);
    SetVisible(imgScore, true);
    SetVisible(imgLevel, true);
    SetVisible(imgBalls, true);
    SetVisible(imgTime, true);
}

}  // namespace quibbix

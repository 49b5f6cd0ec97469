#include "game/FrmMain.h"

#include <functional>

namespace quibbix {

namespace {

constexpr int kWindowWidth = 654;
constexpr int kWindowHeight = 472;

}  // namespace

FrmMain::FrmMain(Platform& platform)
    : Form("frmMain", platform.window, kWindowWidth, kWindowHeight),
      MainFormControls(platform.clock),
      platform_(platform) {
    LayOut(*this);
    SetBorderStyle(0);
    SetCaption(platform.app.Title);
    ConnectEvents();
}

void FrmMain::ConnectEvents() {
    MouseDown = std::bind_front(&FrmMain::Form_MouseDown, this);
    MouseMove = std::bind_front(&FrmMain::Form_MouseMove, this);
    Resize = std::bind_front(&FrmMain::Form_Resize, this);
    Unload = std::bind_front(&FrmMain::Form_Unload, this);
    Timer1.Tick = std::bind_front(&FrmMain::Timer1_Timer, this);
    pctNew.Click = std::bind_front(&FrmMain::pctNew_Click, this);
    pctBoard.MouseMove = std::bind_front(&FrmMain::pctBoard_MouseMove, this);
    pctSound.Click = std::bind_front(&FrmMain::pctSound_Click, this);
    pctHighScore.KeyPress = std::bind_front(&FrmMain::pctHighScore_KeyPress, this);
    pctOk.Click = std::bind_front(&FrmMain::pctOk_Click, this);
    pctReset.Click = std::bind_front(&FrmMain::pctReset_Click, this);
    pctHighScores.Click = std::bind_front(&FrmMain::pctHighScores_Click, this);
    pctAbout.Click = std::bind_front(&FrmMain::pctAbout_Click, this);
    pctAboutText.Click = std::bind_front(&FrmMain::pctAboutText_Click, this);
    pctMinimizeIcon.Click = std::bind_front(&FrmMain::pctMinimizeIcon_Click, this);
    pctExit.Click = std::bind_front(&FrmMain::pctExit_Click, this);
    pctExitIcon.Click = std::bind_front(&FrmMain::pctExitIcon_Click, this);
}

}  // namespace quibbix

#include "game/FrmMain.h"

namespace quibbix {

bool FrmMain::TakesKeys() const {
    const Control* focus = ActiveControl();
    return focus != nullptr && focus->Visible() && static_cast<bool>(focus->KeyPress);
}

void FrmMain::PauseKey() {
    if (TakesKeys() || GameActive == kFalse || !pctNew.Visible()) {
        return;
    }
    pctNew_Click();
}

void FrmMain::QuitKey() {
    Terminate();
}

void FrmMain::PlayerAway() {
    // PAUSE on the button means the clock runs.
    const bool running =
        GameActive != kFalse && Handle(pctNew.Picture()) == Handle(frmGraphics.pctPause.Picture());
    if (running) {
        pctNew_Click();
    }
}

}  // namespace quibbix

#include "game/FrmMain.h"
#include "shell/modMain.h"

namespace quibbix {

// Any button pressed on the background drags the window.
void FrmMain::Form_MouseDown(std::int16_t /*button*/, std::int16_t /*shift*/, float /*x*/, float /*y*/) {
    modMain::DragWindow(*this);
}

// The pointer left the board for the background: the game sees no pointer until it returns.
void FrmMain::Form_MouseMove(std::int16_t /*button*/, std::int16_t /*shift*/, float /*x*/, float /*y*/) {
    PointerX = -1;
    PointerY = -1;
}

// Restored windows come back without a frame and with their caption.
void FrmMain::Form_Resize() {
    if (WindowState() == 1) {
        return;
    }
    SetBorderStyle(0);
    Refresh();
    SetCaption(platform_.app.Title);
    Refresh();
}

void FrmMain::Form_Unload() {
    Terminate();
}

void FrmMain::pctMinimizeIcon_Click() {
    SetWindowState(1);
}

void FrmMain::pctExit_Click() {
    Terminate();
}

void FrmMain::pctExitIcon_Click() {
    Terminate();
}

// Every way out ends here. A game in progress is abandoned: its score never enters the table.
void FrmMain::Terminate() {
    // The sprite library keeps its pictures for the life of the program, so the sound button's
    // picture is still recognised below.
    SaveSettings();
    SetMousePointer(kDefaultPointer);
    Timer1.SetEnabled(false);
    platform_.settings.Flush();
    platform_.window.EndProgram();
}

}  // namespace quibbix

#include "game/FrmMain.h"

namespace quibbix {

void FrmMain::GameOver() {
    GameActive = kFalse;
}

}  // namespace quibbix

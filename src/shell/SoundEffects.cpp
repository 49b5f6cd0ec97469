#include "game/FrmMain.h"

namespace quibbix {

// Sound is on exactly when the sound button shows the library's "SOUND" picture itself.
bool FrmMain::SoundOn() const { return Handle(pctSound.Picture()) == Handle(frmGraphics.pctSoundOn.Picture()); }

}  // namespace quibbix

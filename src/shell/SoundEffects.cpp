#include "game/FrmMain.h"

namespace quibbix {

// Sound is on exactly when the sound button shows the library's "SOUND" picture itself.
bool FrmMain::SoundOn() const {
    return Handle(pctSound.Picture()) == Handle(frmGraphics.pctSoundOn.Picture());
}

// Plays an effect from the program's folder when sound is on. The separator is always added,
// even after a folder that already ends in one.
void FrmMain::PlayEffect(const std::string& fileName, std::int16_t flags) {
    if (!SoundOn()) {
        return;
    }
    platform_.sound.sndPlaySoundA(platform_.app.Path + "/" + fileName, flags);
}

// The store learns of the change only at shut-down; an effect already playing goes on.
void FrmMain::pctSound_Click() {
    pctSound.SetPicture(SoundOn() ? frmGraphics.pctSoundOff.Picture() : frmGraphics.pctSoundOn.Picture());
}

}  // namespace quibbix

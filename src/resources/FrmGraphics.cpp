#include "resources/FrmGraphics.h"

#include <string>

#include "resources/Artwork.h"
#include "shell/platform/ControlArray.h"

namespace quibbix {

namespace {

void Load(Control& control, std::string_view fileName) {
    control.SetPicture(LoadArtwork("frmGraphics." + control.Name(), fileName));
}

}  // namespace

FrmGraphics::FrmGraphics()
    : pctAlphabet(ControlArray<PictureBox, 27>("pctAlphabet")),
      imgDigit(ControlArray<ImageControl, 11>("imgDigit")) {
    Load(pctAlphabet[0], "glyph_cursor.png");
    for (int letter = 1; letter <= 26; ++letter) {
        Load(pctAlphabet[letter], std::string("glyph_") + static_cast<char>('A' + letter - 1) + ".png");
    }
    for (int figure = 0; figure <= 9; ++figure) {
        Load(imgDigit[figure], "glyph_" + std::to_string(figure) + ".png");
    }
    Load(imgDigit[10], "glyph_stop.png");
    Load(pctStart, "button_start.png");
    Load(pctPause, "button_pause.png");
    Load(pctSoundOn, "button_sound_on.png");
    Load(pctSoundOff, "button_sound_off.png");
    Load(pctGameOver, "gameover.png");
    Load(pctBlank, "blank.png");
}

std::vector<const Control*> FrmGraphics::Controls() const {
    std::vector<const Control*> all{&pctStart, &pctPause, &pctSoundOn, &pctSoundOff, &pctGameOver, &pctBlank};
    for (const Control& control : pctAlphabet) {
        all.push_back(&control);
    }
    for (const Control& control : imgDigit) {
        all.push_back(&control);
    }
    return all;
}

PictureRef FrmGraphics::Find(std::string_view name) const {
    for (const Control* control : Controls()) {
        if (control->Picture() != nullptr && control->Picture()->Name() == name) {
            return control->Picture();
        }
    }
    return nullptr;
}

}  // namespace quibbix

#pragma once
#include <array>
#include <string_view>
#include <vector>

#include "shell/platform/Control.h"
#include "shell/platform/ImageControl.h"
#include "shell/platform/PictureBox.h"

namespace quibbix {

// The sprite library: a form that is never shown, whose controls only lend their pictures. Other
// controls show these very picture objects, so a button's state can be told by picture identity.
// imgDigit(10) is the full stop.
inline constexpr int kFullStop = 10;

class FrmGraphics {
public:
    FrmGraphics();

    // The cursor (0) and the letters A to Z (1 to 26), 22 x 28 each.
    std::array<PictureBox, 27> pctAlphabet;
    // The figures 0 to 9 and a full stop (10), 22 x 28 each.
    std::array<ImageControl, 11> imgDigit;
    PictureBox pctStart{"pctStart"};
    PictureBox pctPause{"pctPause"};
    PictureBox pctSoundOn{"pctSoundOn"};
    PictureBox pctSoundOff{"pctSoundOff"};
    PictureBox pctGameOver{"pctGameOver"};
    // A 32 x 32 picture of transparent black.
    PictureBox pctBlank{"pctBlank"};

    // A library picture by its name, "frmGraphics.pctAlphabet(1)"; null when there is none.
    PictureRef Find(std::string_view name) const;

private:
    std::vector<const Control*> Controls() const;
};

}  // namespace quibbix

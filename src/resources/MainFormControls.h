#pragma once
#include <array>

#include "shell/platform/Control.h"
#include "shell/platform/ControlArray.h"
#include "shell/platform/ImageControl.h"
#include "shell/platform/PictureBox.h"
#include "shell/platform/Timer.h"

namespace quibbix {

class Form;

// The controls of the main window, with their design-time layout.
struct MainFormControls {
    explicit MainFormControls(const Clock& clock) : Timer1(clock) {}

    // Places every control as designed, gives it its design-time picture and stacks it on the form.
    void LayOut(Form& form);

    PictureBox pctBoard{"pctBoard", ScaleMode::Pixels};
    PictureBox pctHighScore{"pctHighScore"};
    std::array<PictureBox, 3> pctBall = ControlArray<PictureBox, 3>("pctBall", ScaleMode::Pixels);
    PictureBox pctAboutText{"pctAboutText"};
    std::array<PictureBox, 3> pctVersion = ControlArray<PictureBox, 3>("pctVersion");
    PictureBox pctScore{"pctScore"};
    PictureBox pctLevel{"pctLevel"};
    PictureBox pctTime{"pctTime"};
    PictureBox pctBalls{"pctBalls"};
    // Counter cells; element 0 is the units digit, at the right.
    std::array<ImageControl, 6> imgScore = ControlArray<ImageControl, 6>("imgScore");
    std::array<ImageControl, 2> imgLevel = ControlArray<ImageControl, 2>("imgLevel");
    std::array<ImageControl, 3> imgTime = ControlArray<ImageControl, 3>("imgTime");
    std::array<ImageControl, 3> imgBalls = ControlArray<ImageControl, 3>("imgBalls");
    PictureBox pctGameOver{"pctGameOver"};
    PictureBox pctNew{"pctNew"};
    PictureBox pctOk{"pctOk"};
    PictureBox pctReset{"pctReset"};
    PictureBox pctHighScores{"pctHighScores"};
    PictureBox pctSound{"pctSound"};
    PictureBox pctAbout{"pctAbout"};
    PictureBox pctExit{"pctExit"};
    PictureBox pctMinimizeIcon{"pctMinimizeIcon"};
    PictureBox pctExitIcon{"pctExitIcon"};
    // The title logo stands above the board.
    PictureBox pctQuibbix{"pctQuibbix"};

    Timer Timer1;
};

}  // namespace quibbix

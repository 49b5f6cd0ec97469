#include <string>

#include "resources/Artwork.h"
#include "resources/MainFormControls.h"
#include "shell/platform/Form.h"
#include "shell/platform/Geometry.h"

namespace quibbix {

namespace {

// One control as designed; positions and sizes in pixels.
struct Design {
    Control& control;
    int left;
    int top;
    int width;
    int height;
    bool visible;
    const char* artwork;  // design-time picture, or nullptr
    bool hand;            // shows the pointing hand
    bool framed;          // one-pixel frame on every side
};

// Places the control and stacks it on the form above the ones placed before.
void Apply(const Design& design, Form& form) {
    Control& control = design.control;
    control.SetHand(design.hand);
    control.SetFramed(design.framed);
    control.Place(PixelsToTwips(design.left), PixelsToTwips(design.top), PixelsToTwips(design.width),
                  PixelsToTwips(design.height));
    if (design.artwork != nullptr) {
        control.SetPicture(LoadArtwork(form.Name() + "." + control.Name(), design.artwork));
    }
    control.SetVisible(design.visible);
    form.Add(control);
}

}  // namespace

void MainFormControls::LayOut(Form& form) {
    form.SetPicture(LoadArtwork(form.Name(), "background.png"));

    for (PictureBox* box :
         {&pctQuibbix,    &pctAboutText, &pctScore,        &pctLevel,    &pctTime,       &pctBalls,
          &pctGameOver,   &pctNew,       &pctOk,           &pctReset,    &pctHighScores, &pctSound,
          &pctAbout,      &pctExit,      &pctMinimizeIcon, &pctExitIcon, &pctVersion[0], &pctVersion[1],
          &pctVersion[2], &pctBall[0],   &pctBall[1],      &pctBall[2]}) {
        box->SetAutoSize(true);
    }

    // Bottom of the z-order first.
    const Design designs[] = {
        {pctBoard, 12, 74, 87, 33, true, nullptr, false, false},
        {pctHighScore, 102, 80, 97, 33, false, "blank.png", false, false},
        {pctBall[0], 100, 116, 32, 64, false, "ball_cyan.png", false, false},
        {pctBall[1], 134, 116, 32, 64, false, "ball_green.png", false, false},
        {pctBall[2], 168, 116, 32, 64, false, "ball_red.png", false, false},
        {pctAboutText, 90, 246, 343, 123, false, "about.png", true, false},
        {pctVersion[0], 232, 370, 21, 23, false, nullptr, false, true},
        {pctVersion[1], 256, 370, 21, 23, false, nullptr, false, true},
        {pctVersion[2], 282, 370, 21, 23, false, nullptr, false, true},
        {pctScore, 406, 77, 89, 20, true, "label_score.png", false, false},
        {pctLevel, 406, 117, 89, 20, true, "label_level.png", false, false},
        {pctTime, 406, 157, 89, 20, true, "label_time.png", false, false},
        {pctBalls, 406, 197, 89, 20, true, "label_balls.png", false, false},
        {imgScore[0], 600, 78, 20, 28, true, nullptr, false, false},
        {imgScore[1], 578, 78, 20, 28, true, nullptr, false, false},
        {imgScore[2], 560, 78, 20, 28, true, nullptr, false, false},
        {imgScore[3], 540, 78, 20, 28, true, nullptr, false, false},
        {imgScore[4], 520, 78, 20, 28, true, nullptr, false, false},
        {imgScore[5], 500, 78, 20, 28, true, nullptr, false, false},
        {imgLevel[0], 522, 116, 20, 28, true, nullptr, false, false},
        {imgLevel[1], 500, 116, 20, 28, true, nullptr, false, false},
        {imgTime[0], 544, 156, 20, 28, true, nullptr, false, false},
        {imgTime[1], 522, 156, 20, 28, true, nullptr, false, false},
        {imgTime[2], 500, 156, 20, 28, true, nullptr, false, false},
        {imgBalls[0], 544, 196, 20, 28, true, nullptr, false, false},
        {imgBalls[1], 522, 196, 20, 28, true, nullptr, false, false},
        {imgBalls[2], 500, 196, 20, 28, true, nullptr, false, false},
        {pctGameOver, 460, 228, 75, 44, false, "gameover.png", true, true},
        {pctNew, 468, 274, 111, 25, true, "button_start.png", true, false},
        {pctOk, 458, 300, 47, 29, false, "button_ok.png", true, false},
        {pctReset, 464, 330, 75, 24, false, "button_reset.png", true, false},
        {pctHighScores, 466, 356, 89, 20, true, "button_scores.png", true, false},
        {pctSound, 470, 378, 111, 25, true, "button_sound_off.png", true, false},
        {pctAbout, 470, 404, 72, 19, true, "button_about.png", true, false},
        {pctExit, 466, 434, 52, 22, true, "button_exit.png", true, false},
        {pctMinimizeIcon, 602, 12, 20, 20, true, "icon_minimize.png", true, false},
        {pctExitIcon, 624, 12, 20, 20, true, "icon_exit.png", true, false},
        {pctQuibbix, 122, 366, 278, 59, false, "logo.png", false, false},
    };
    for (const Design& design : designs) {
        Apply(design, form);
    }

    Timer1.SetInterval(20);
    Timer1.SetEnabled(false);
}

}  // namespace quibbix

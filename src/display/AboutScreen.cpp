#include <algorithm>

#include "game/FrmMain.h"

namespace quibbix {

namespace {

// One figure sprite per number: a number past 9 shows as 9.
int Figure(int number) {
    return std::clamp(number, 0, 9);
}

}  // namespace

// The about picture centred in the window, the version below it as major, full stop, minor, with
// the full stop's left edge at the window's centre.
void FrmMain::pctAbout_Click() {
    HideMainScreen();

    pctAboutText.SetLeft((Width() - pctAboutText.Width()) / 2);
    pctAboutText.SetTop((Height() - pctAboutText.Height()) / 2);
    pctAboutText.SetVisible(true);

    const int top = pctAboutText.Top() + pctAboutText.Height();
    pctVersion[0].SetPicture(frmGraphics.imgDigit[Figure(platform_.app.Major)].Picture());
    pctVersion[0].SetLeft(Width() / 2 - pctVersion[0].Width());
    pctVersion[0].SetTop(top);
    pctVersion[1].SetPicture(frmGraphics.imgDigit[kFullStop].Picture());
    pctVersion[1].SetLeft(Width() / 2);
    pctVersion[1].SetTop(top);
    pctVersion[2].SetPicture(frmGraphics.imgDigit[Figure(platform_.app.Minor)].Picture());
    pctVersion[2].SetLeft(Width() / 2 + pctVersion[0].Width());
    pctVersion[2].SetTop(top);

    for (PictureBox& figure : pctVersion) {
        figure.SetVisible(true);
    }
}

void FrmMain::pctAboutText_Click() {
    pctAboutText.SetVisible(false);
    for (PictureBox& figure : pctVersion) {
        figure.SetVisible(false);
    }
    ShowMainScreen();
}

}  // namespace quibbix

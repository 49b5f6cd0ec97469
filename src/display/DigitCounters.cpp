#include <span>

#include "display/CounterFigures.h"
#include "game/FrmMain.h"

namespace quibbix {

namespace {

// Shows the value in the cells, element 0 the units digit. Each cell shows the library's own
// figure picture, never a copy, so it can be told by picture identity.
void ShowNumber(std::span<ImageControl> cells, std::int64_t value, const FrmGraphics& graphics) {
    const int count = static_cast<int>(cells.size());
    const std::array<int, 6> figures = CounterFigures(value, count);
    for (int i = 0; i < count; ++i) {
        cells[i].SetPicture(graphics.imgDigit[figures[i]].Picture());
    }
}

}  // namespace

void FrmMain::UpdateScore() {
    ShowNumber(imgScore, Score, frmGraphics);
}

void FrmMain::UpdateLevel() {
    ShowNumber(imgLevel, Level, frmGraphics);
}

void FrmMain::UpdateTimeLeft() {
    ShowNumber(imgTime, ShownSeconds(TimeLeft), frmGraphics);
}

// The counter shows the balls on the board, one more than the field.
void FrmMain::UpdateRemaining() {
    ShowNumber(imgBalls, std::int64_t{BallsRemaining} + 1, frmGraphics);
}

}  // namespace quibbix

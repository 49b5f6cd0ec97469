#pragma once
#include "game/FrmMain.h"
#include "shell/headless/HeadlessPlatform.h"

namespace quibbix {

// A main form loaded on the headless platform, as a test starts it.
struct HeadlessGame {
    HeadlessGame() { form.Load(); }

    // Runs the timer's next tick at its due time.
    void Tick() {
        platform.Clock().Set(*form.Timer1.NextDue());
        form.Timer1.Fire();
    }

    // Leaves only the target, in the highest slot in play, on the board, moving down-right, with the pointer
    // where it will be after the next move.
    void AimAtTheOnlyTarget() {
        for (int other = 0; other <= form.LastBall; ++other) {
            form.BallActive[other] = kFalse;
        }
        const int slot = form.LastBall;
        form.BallActive[slot] = kTrue;
        form.BallType[slot] = kTargetBall;
        form.BallX[slot] = 100;
        form.BallY[slot] = 100;
        form.BallDX[slot] = 1;
        form.BallDY[slot] = 1;
        form.BallsRemaining = 0;
        form.PointerX = 101 + 16;
        form.PointerY = 101 + 16;
    }

    HeadlessPlatform platform{"", "/opt/quibbix"};
    FrmMain form{platform.Services()};
};

}  // namespace quibbix

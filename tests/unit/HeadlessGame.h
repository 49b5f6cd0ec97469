#pragma once
#include "game/FrmMain.h"
#include "shell/headless/HeadlessPlatform.h"

namespace quibbix {

// A main form loaded on the headless platform, as a test starts it.
struct HeadlessGame {
    HeadlessGame() { form.Load(); }

    void Tick() {
        platform.Clock().Set(*form.Timer1.NextDue());
        form.Timer1.Fire();
    }

    void Ball(int slot, std::int16_t type, int x, int y, int dx = 1, int dy = 1) {
        form.BallActive[slot] = kTrue;
        form.BallType[slot] = type;
        form.BallX[slot] = x;
        form.BallY[slot] = y;
        form.BallDX[slot] = static_cast<std::int16_t>(dx);
        form.BallDY[slot] = static_cast<std::int16_t>(dy);
    }

    // Leaves only the target, moving down-right in the highest slot in play, under the next tick's pointer.
    void AimAtTheOnlyTarget() {
        for (int other = 0; other <= form.LastBall; ++other) {
            form.BallActive[other] = kFalse;
        }
        Ball(form.LastBall, kTargetBall, 100, 100);
        form.BallsRemaining = 0;
        form.PointerX = 101 + 16;
        form.PointerY = 101 + 16;
    }

    HeadlessPlatform platform{"", "/opt/quibbix"};
    FrmMain form{platform.Services()};
};

}  // namespace quibbix

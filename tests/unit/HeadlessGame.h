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

    HeadlessPlatform platform{"", "/opt/quibbix"};
    FrmMain form{platform.Services()};
};

}  // namespace quibbix

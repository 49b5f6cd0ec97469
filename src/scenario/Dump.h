#pragma once
#include "game/FrmMain.h"
#include "scenario/Json.h"
#include "shell/headless/HeadlessPlatform.h"

namespace quibbix {

// The whole state of a headless game as one JSON object: fields, timer, window, controls, focus,
// cursor, sounds, store, whether the program has ended, and the virtual clock.
Json DumpState(const FrmMain& form, HeadlessPlatform& platform);

}  // namespace quibbix

#pragma once

namespace quibbix {

// Libraries under SDL ask for the desktop's session bus. On a display without one, libdbus would
// start a bus daemon of its own that outlives the game; this points them at the user's bus when
// there is one and at nothing otherwise. Call it before SDL starts.
void KeepToTheSessionBus();

}  // namespace quibbix

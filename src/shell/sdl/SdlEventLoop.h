#pragma once
#include "game/FrmMain.h"
#include "shell/platform/Clock.h"
#include "shell/platform/Timer.h"
#include "shell/sdl/SdlSound.h"
#include "shell/sdl/SdlWindow.h"

namespace quibbix {

// Runs the game until it ends the program: hands the window system's events to the form, fires
// the timer on time, and puts every change on screen. Everything happens on this one thread, and
// a game that waits for nothing sleeps. The sound hears whether the game runs.
void RunEventLoop(SdlWindow& window, FrmMain& form, Timer& timer, const Clock& clock, SdlSound& sound);

// One step of the same loop for a host that calls it once per frame, as a browser does: handles
// the events already waiting and fires the timer if it is due, without waiting. False once the
// game has ended.
bool RunPendingEvents(SdlWindow& window, FrmMain& form, Timer& timer, const Clock& clock, SdlSound& sound);

}  // namespace quibbix

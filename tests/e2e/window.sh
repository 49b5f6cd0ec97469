#!/usr/bin/env bash
# The real game in a real X window under a window manager, driven the way a player would drive it:
# the window's size, place and title; START, PAUSE and the frozen board; the about screen; the
# sound switch; minimise and restore; drags; and every way out writing the settings.
#   window.sh QUIBBIX QUIBBIX_SCENARIO
set -euo pipefail
game=$1
scenario=$2
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_xvfb
e2e_wm
e2e_bus
work=$E2E_WORK
settings="$XDG_CONFIG_HOME/Quibbix/settings.ini"
fail() { e2e_fail "$@"; }
check() { e2e_check "$@"; }

# The pictures the window should show, as the game itself holds them.
"$scenario" - <<SCRIPT
start
sprite frmGraphics.pctStart $work/start.png
sprite frmGraphics.pctPause $work/pause.png
sprite frmGraphics.pctSoundOn $work/sound-on.png
sprite frmMain.pctAboutText $work/about.png
sprite frmMain.pctQuibbix $work/logo.png
sprite frmMain.pctGameOver $work/game-over.png
sprite frmGraphics.pctAlphabet(0) $work/cursor.png
sprite frmGraphics.pctAlphabet(1) $work/letter-a.png
sprite frmGraphics.pctAlphabet(2) $work/letter-b.png
sprite frmGraphics.imgDigit(7) $work/figure-7.png
SCRIPT

start_game() {
    e2e_spawn "$game" 2>"$work/stderr"
    game_pid=$E2E_PID
    e2e_find_window
    window=$E2E_WINDOW
}
geometry() { xdotool getwindowgeometry --shell "$window" | tr '\n' ' '; }
click() { e2e_click "$@"; }
shows() { e2e_shows "$@"; }
hidden() { ! shows "$@"; }
ended_well() { e2e_ended_well "$game_pid" && [ ! -s "$work/stderr" ] && [ -s "$settings" ]; }

start_game
check "the window is 654 x 472, centred, titled Quibbix" \
    [ "$(geometry)" = "WINDOW=$window X=185 Y=148 WIDTH=654 HEIGHT=472 SCREEN=0 " ]
check "the window has no frame" \
    grep -q '= 0, 0, 0, 0' <(xprop -id "$window" _NET_FRAME_EXTENTS)
check "the title logo stands at (64, 206)" shows "$work/logo.png" 64 206
check "START shows the start picture" shows "$work/start.png" 468 274

click 523 286
check "START starts a game and offers PAUSE" shows "$work/pause.png" 468 274
check "the logo is gone" hidden "$work/logo.png" 64 206
click 523 286
check "PAUSE pauses and offers START" shows "$work/start.png" 468 274
import -window "$window" -crop 384x384+12+74 +repage "$work/board1.png"
sleep 0.3
import -window "$window" -crop 384x384+12+74 +repage "$work/board2.png"
check "a paused board stands still" [ "$(compare -metric AE "$work/board1.png" "$work/board2.png" null: 2>&1)" = 0 ]
click 523 286
check "START resumes" shows "$work/pause.png" 468 274

click 634 22
check "the exit icon ends a running game and writes the settings" ended_well
check "the settings hold the table and the sound" grep -q '^Sound=0$' "$settings"
check "an abandoned game does not enter the table" grep -q '^HighScoreName1=""$' "$settings"

start_game
click 506 413
check "ABOUT shows the about picture, centred" shows "$work/about.png" 155 174
click 326 235
check "a click on the about picture returns to START" shows "$work/start.png" 468 274
click 525 390
check "the sound switch turns sound on" shows "$work/sound-on.png" 470 378

xdotool mousemove --window "$window" 300 30 mousedown 3
for _ in 1 2 3 4 5; do xdotool mousemove_relative 10 6; sleep 0.05; done
xdotool mouseup 3
sleep 0.3
check "a right-button drag on the background moves the window" \
    [ "$(geometry)" = "WINDOW=$window X=235 Y=178 WIDTH=654 HEIGHT=472 SCREEN=0 " ]

click 612 22
check "the minimise icon minimises" grep -q 'Iconic' <(xprop -id "$window" WM_STATE)
xdotool windowactivate "$window"
sleep 0.5
check "restored, the window is back without a frame" grep -q '= 0, 0, 0, 0' <(xprop -id "$window" _NET_FRAME_EXTENTS)
check "restored, the title is Quibbix" grep -q '"Quibbix"' <(xprop -id "$window" WM_NAME)

click 492 445
check "EXIT ends the program and writes the settings" ended_well
check "the sound setting was saved on" grep -q '^Sound=1$' "$settings"

start_game
check "sound switched on stays on at the next start" shows "$work/sound-on.png" 470 378

# A whole game, played to its time-out with the pointer off the board.
click 523 286
xdotool mousemove --window "$window" 300 30
sleep 20.6
check "the time-out shows the game-over banner" shows "$work/game-over.png" 461 229
check "the new entry's name cell shows the cursor" shows "$work/cursor.png" 45 81
xdotool type --delay 50 "ab7"
sleep 0.3
check "typed letters appear as capitals" shows "$work/letter-a.png" 45 81
check "the second letter follows" shows "$work/letter-b.png" 67 81
check "a typed figure follows" shows "$work/figure-7.png" 89 81
check "the cursor moves on" shows "$work/cursor.png" 111 81
xdotool key Return
sleep 0.3
check "Enter takes the cursor away" hidden "$work/cursor.png" 111 81
click 481 314
check "OK returns to the main screen" shows "$work/start.png" 468 274
check "the logo stays away" hidden "$work/logo.png" 64 206
e2e_sprites "$scenario"
check "the counters read the time run out and no score" \
    [ "$(e2e_counter time):$(e2e_counter score):$(e2e_counter level)" = "000:000000:01" ]

xdotool windowactivate --sync "$window" key alt+F4
check "closing from the desktop ends the program and writes the settings" ended_well
check "the name typed is in the table" grep -q '^HighScoreName1=AB7$' "$settings"
echo "all end-to-end checks passed"

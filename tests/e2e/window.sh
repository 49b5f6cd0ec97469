#!/usr/bin/env bash
# The real game in a real X window under a window manager, driven the way a player would drive it:
# the window's size, place and title; START, PAUSE and the frozen board; the about screen; the
# sound switch; minimise and restore; drags; and every way out writing the settings.
#   window.sh QUIBBIX QUIBBIX_SCENARIO
set -euo pipefail
game=$1
scenario=$2
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
check() { local what=$1; shift; "$@" || fail "$what"; echo "ok - $what"; }

# A private X server and window manager.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
export XDG_CONFIG_HOME="$work/config"
settings="$XDG_CONFIG_HOME/Quibbix/settings.ini"

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
    "$game" 2>"$work/stderr" &
    game_pid=$!
    pids+=($game_pid)
    window=$(timeout 10 xdotool search --sync --name '^Quibbix$' | head -n1)
    sleep 0.3
}
geometry() { xdotool getwindowgeometry --shell "$window" | tr '\n' ' '; }
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
# Whether the window shows the picture with its top-left at (x, y).
shows() {
    local picture=$1 x=$2 y=$3 size
    size=$(identify -format '%wx%h' "$picture")
    import -window "$window" -crop "${size}+${x}+${y}" +repage "$work/crop.png"
    [ "$(compare -metric AE "$picture" "$work/crop.png" null: 2>&1)" = 0 ]
}
hidden() { ! shows "$@"; }
ended_well() {
    for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    ! kill -0 "$game_pid" 2>/dev/null && wait "$game_pid" && [ ! -s "$work/stderr" ] && [ -s "$settings" ]
}

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

xdotool windowactivate --sync "$window" key alt+F4
check "closing from the desktop ends the program and writes the settings" ended_well
check "the name typed is in the table" grep -q '^HighScoreName1=AB7$' "$settings"
echo "all end-to-end checks passed"

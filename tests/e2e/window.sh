#!/usr/bin/env bash
# The real game in real X windows under a window manager, on one 3840 x 2160 screen, driven the way
# a player would drive it: the window's size, place, frame, class and title; START, PAUSE and the
# frozen board; the about screen; the sound switch; drags; minimise and restore; every pixel of a
# zoomed window its frame pixel; then the desktop set to 200 %: zoom keys and their memory, full
# screen, the pause key, the pause when the player goes away; and last a server without RENDER,
# where the game enlarges the window itself. Every way out (exit icon, EXIT, closing from the
# desktop, Ctrl+Q) writes the settings. Names typed and games played to their end: faults.sh.
#   window.sh QUIBBIX QUIBBIX_SCENARIO
set -euo pipefail
game=$1
scenario=$2
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_xvfb 3840x2160
e2e_wm
e2e_bus
work=$E2E_WORK
sprites="$work/sprites"
settings="$XDG_CONFIG_HOME/Quibbix/settings.ini"
e2e_sprites "$scenario" start=frmGraphics.pctStart pause=frmGraphics.pctPause sound-on=frmGraphics.pctSoundOn \
    about=frmMain.pctAboutText logo=frmMain.pctQuibbix
# The pictures as the player sees them at zoom 2 and 4: every pixel a square.
for name in start pause logo; do
    for zoom in 2 4; do
        convert "$sprites/$name.png" -filter point -resize "$((zoom * 100))%" "$sprites/$name-x$zoom.png"
    done
done

start_game() { e2e_start_game "$game"; }
check() { e2e_check "$@"; }
click() { e2e_click "$@"; }
# A picture shows once the window has caught up; one that should be gone is looked for once.
shows() { e2e_wait_for e2e_shows "$sprites/$1.png" "$2" "$3"; }
hidden() { ! e2e_shows "$sprites/$1.png" "$2" "$3"; }
geometry() { xdotool getwindowgeometry --shell "$E2E_WINDOW" | grep -v '^WINDOW=' | tr '\n' ' '; }
# Whether the window comes to stand at X Y with a size of W x H within a few seconds.
at_geometry() { [ "$(geometry)" = "$1" ]; }
placed() { e2e_wait_for at_geometry "X=$1 Y=$2 WIDTH=$3 HEIGHT=$4 SCREEN=0 "; }
frameless() { grep -q '= 0, 0, 0, 0' <(xprop -id "$E2E_WINDOW" _NET_FRAME_EXTENTS); }
# Whether a look is another with every pixel made a square of the given size.
enlarged() {
    convert "$1" -filter point -resize "$(($2 * 100))%" "$work/expected.png"
    [ "$(compare -metric AE "$work/expected.png" "$3" null: 2>&1)" = 0 ]
}
# A screenshot is quick; reading its counters is not, so a look is taken first and read later.
snap() { e2e_shot "$work/$1.png"; }
time_in() { e2e_counter time "$work/$1.png" 2; }
# The [Display] section of the settings file on one line.
display_section() { awk '/^\[/ { on = ($0 == "[Display]") } on && NF' "$settings" | tr '\n' ' '; }

start_game
check "the window is 654 x 472, centred, titled Quibbix" placed 1593 844 654 472
check "the window has no frame" frameless
check "the window's class is the desktop file's ID" \
    grep -qx 'WM_CLASS(STRING) = "io.github.quibbix.Quibbix", "io.github.quibbix.Quibbix"' \
    <(xprop -id "$E2E_WINDOW" WM_CLASS)
check "the title logo stands at (64, 206)" shows logo 64 206
check "START shows the start picture" shows start 468 274
click 523 286
check "START starts a game and offers PAUSE" shows pause 468 274
check "the logo is gone" hidden logo 64 206
click 523 286
check "PAUSE pauses and offers START" shows start 468 274
e2e_board_shot "$work/board1.rgb"
sleep 0.3
e2e_board_shot "$work/board2.rgb"
check "a paused board stands still" cmp -s "$work/board1.rgb" "$work/board2.rgb"
click 523 286
check "START resumes" shows pause 468 274
click 634 22
check "the exit icon ends a running game and writes the settings" e2e_game_ended_well
check "the settings hold the table and the sound" grep -q '^Sound=0$' "$settings"
check "an abandoned game does not enter the table" grep -q '^HighScoreName1=""$' "$settings"

start_game
click 506 413
check "ABOUT shows the about picture, centred" shows about 155 174
click 326 235
check "a click on the about picture returns to START" shows start 468 274
click 525 390
check "the sound switch turns sound on" shows sound-on 470 378
xdotool mousemove --window "$E2E_WINDOW" 300 30 mousedown 3
for _ in 1 2 3 4 5; do xdotool mousemove_relative 10 6; sleep 0.05; done
xdotool mouseup 3
sleep 0.3
check "a right-button drag on the background moves the window" \
    placed 1643 874 654 472
click 612 22
check "the minimise icon minimises" grep -q 'Iconic' <(xprop -id "$E2E_WINDOW" WM_STATE)
xdotool windowactivate "$E2E_WINDOW"
sleep 0.5
check "restored, the window is back without a frame" frameless
check "restored, the title is Quibbix" grep -q '"Quibbix"' <(xprop -id "$E2E_WINDOW" WM_NAME)
click 492 445
check "EXIT ends the program and writes the settings" e2e_game_ended_well
check "the sound setting was saved on" grep -q '^Sound=1$' "$settings"

start_game
check "sound switched on stays on at the next start" shows sound-on 470 378
# The title screen, the same at zoom 3 with every pixel a square.
xdotool mousemove 0 0
sleep 0.3
snap one
xdotool windowactivate --sync "$E2E_WINDOW" key ctrl+plus sleep 0.5 key ctrl+plus
sleep 0.7
snap three
check "at zoom 3 the window is 1962 x 1416" [ "$(identify -format '%wx%h' "$work/three.png")" = 1962x1416 ]
check "every pixel at zoom 3 is its frame pixel" enlarged "$work/one.png" 3 "$work/three.png"
xdotool windowactivate --sync "$E2E_WINDOW" key alt+F4
check "closing from the desktop ends the program and writes the settings" e2e_game_ended_well
check "and the zoom chosen" [ "$(display_section)" = "[Display] Zoom=3 FullScreen=0 " ]

# The desktop at 200 %: the window at zoom 2 with every click on the same frame pixels as at zoom 1.
echo "Xft.dpi: 192" | xrdb -merge
sed -i '/^\[Display\]/,/^\[/{/^\[Display\]/d;/^[^[]/d}' "$settings"  # the desktop's zoom, not the one chosen
start_game
check "at 200 % the window is 1308 x 944, centred" placed 1266 608 1308 944
check "the title logo shows with doubled pixels" shows logo-x2 128 412
click 1046 572
check "a click at twice START's place starts a game" shows pause-x2 936 548
xdotool key p
sleep 0.3
check "P pauses the game" shows start-x2 936 548
# The green target found on the board and the pointer put on it: resumed, it scores.
check "the green target is found on the board, no other ball near it" e2e_aim target 2
e2e_touch 2
sleep 0.3
snap score
check "the pointer resting on the green ball scores 100" [ "$(e2e_counter score "$work/score.png" 2)" = 000100 ]
xdotool mousemove --window "$E2E_WINDOW" 600 60
snap paused1
sleep 3
snap paused2
xdotool key p
sleep 1.5
snap running
check "paused, the clock stands still" [ "$(time_in paused1)" = "$(time_in paused2)" ]
check "P lets it run again" [ "$(time_in running)" != "$(time_in paused2)" ]

# Away: minimised from outside, then another window takes the keyboard. Each pauses the game for
# good; the clock may turn once between the last look and the minimise.
snap before
xdotool windowminimize "$E2E_WINDOW"
sleep 3
xdotool windowactivate --sync "$E2E_WINDOW" 2>/dev/null
sleep 0.5
snap after
sleep 2
snap later
before=$(time_in before)
after=$(time_in after)
echo "# the clock showed $before before the minimise, $after after"
check "minimised during play, the game paused" shows start-x2 936 548
check "and the clock stopped" [ $((10#$before - 10#$after)) -le 1 ]
check "and it does not resume by itself" [ "$(time_in later)" = "$after" ]
xdotool key p
sleep 0.3
check "P resumes" shows pause-x2 936 548
e2e_spawn xmessage -geometry +0+0 "elsewhere" 2>/dev/null
other=$E2E_PID
sleep 0.7
snap before
sleep 3
snap after
check "another window taking the keyboard paused the game" shows start-x2 936 548
check "and the clock stands still" [ "$(time_in after)" = "$(time_in before)" ]
kill "$other"
xdotool windowactivate --sync "$E2E_WINDOW" 2>/dev/null
sleep 0.3

xdotool key ctrl+minus
sleep 0.5
check "Ctrl+Minus shows the window at 654 x 472, keeping its centre" \
    placed 1593 844 654 472
xdotool key ctrl+q
check "Ctrl+Q ends the program with status 0 and writes the settings" e2e_game_ended_well
check "the zoom chosen is remembered" [ "$(display_section)" = "[Display] Zoom=1 FullScreen=0 " ]

start_game
check "the next run starts at 654 x 472" placed 1593 844 654 472
xdotool key ctrl+plus
sleep 0.5
check "Ctrl+Plus doubles it again" placed 1266 608 1308 944
xdotool key F11
sleep 0.7
check "F11 covers the screen" placed 0 0 3840 2160
check "with the frame at zoom 4 in its centre" shows start-x4 $((612 + 468 * 4)) $((136 + 274 * 4))
snap full
check "on black" [ "$(convert "$work/full.png" -crop 612x2160+0+0 -format '%[fx:maxima]' info:)" = 0 ]
click $((612 + 523 * 4)) $((136 + 286 * 4))
check "a click on START there starts a game" shows pause-x4 $((612 + 468 * 4)) $((136 + 274 * 4))
xdotool key Escape
sleep 0.7
check "Escape gives back the window at its place" placed 1266 608 1308 944
check "and the game goes on" shows pause-x2 936 548

# A right-button drag whose release never reaches the window ends all the same.
xdotool mousemove --window "$E2E_WINDOW" 600 60 mousedown 3
for _ in 1 2 3; do xdotool mousemove_relative 10 6; sleep 0.05; done
sleep 0.2
xdotool windowminimize "$E2E_WINDOW"
sleep 0.3
xdotool mousemove 100 100 mouseup 3
xdotool windowactivate --sync "$E2E_WINDOW" 2>/dev/null
sleep 0.5
placed=$(geometry)
xdotool mousemove 3000 2000
sleep 0.3
check "after a drag lost while minimised the window no longer follows the pointer" [ "$(geometry)" = "$placed" ]
click 984 890
check "and a click on EXIT ends the game" e2e_game_ended_well
check "the settings hold the zoom and the window mode" [ "$(display_section)" = "[Display] Zoom=2 FullScreen=0 " ]
check "the game's own settings are still there" grep -q '^HighScoreName1=""$' "$settings"

# Without RENDER the game enlarges the window itself.
e2e_xvfb 3840x2160 96 -extension RENDER
e2e_wm
check "the second X server has no RENDER" bash -c '! xdpyinfo | grep -q RENDER'
sed -i 's/^Zoom=.*/Zoom=1/' "$settings"
start_game
xdotool mousemove 0 0
sleep 0.5
snap plain
xdotool key ctrl+plus
sleep 0.7
snap doubled
check "without RENDER every pixel at zoom 2 is its frame pixel" enlarged "$work/plain.png" 2 "$work/doubled.png"
xdotool windowactivate --sync "$E2E_WINDOW" key ctrl+q
check "and Ctrl+Q ends it well" e2e_game_ended_well
echo "all window checks passed"

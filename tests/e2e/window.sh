#!/usr/bin/env bash
# The real game on a 3840 x 2160 X screen under a window manager, driven as a player would: the
# window's size, place, frame, class and title; START, PAUSE, about, sound, drags, minimise; a zoomed
# window; then a 200 % desktop: zoom keys, full screen, the pause key and the pause when away; last
# a server without RENDER. Every way out (exit icon, EXIT, closing from the desktop, Ctrl+Q) saves.
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
for name in start pause logo; do  # as seen at zoom 2 and 4: every pixel a square
    for zoom in 2 4; do convert "$sprites/$name.png" -filter point -resize "$((zoom * 100))%" "$sprites/$name-x$zoom.png"; done
done

# A picture shows once the window has caught up; one that should be gone is looked for once.
shows() { e2e_wait_for e2e_shows "$sprites/$1.png" "$2" "$3"; }
hidden() { ! e2e_shows "$sprites/$1.png" "$2" "$3"; }
geometry() { xdotool getwindowgeometry --shell "$E2E_WINDOW" | grep -v '^WINDOW=' | tr '\n' ' '; }
at_geometry() { [ "$(geometry)" = "$1" ]; }
placed() { e2e_wait_for at_geometry "X=$1 Y=$2 WIDTH=$3 HEIGHT=$4 SCREEN=0 "; }
frameless() { grep -q '= 0, 0, 0, 0' <(xprop -id "$E2E_WINDOW" _NET_FRAME_EXTENTS); }
# Whether a look is another with every pixel made a square of the given size.
enlarged() {
    convert "$1" -filter point -resize "$(($2 * 100))%" "$work/expected.png"
    [ "$(compare -metric AE "$work/expected.png" "$3" null: 2>&1)" = 0 ]
}
# A screenshot is quick, reading its counters is not: a look is taken first and read later.
snap() { e2e_shot "$work/$1.png"; }
time_in() { e2e_counter time "$work/$1.png" 2; }
display_section() { awk '/^\[/ { on = ($0 == "[Display]") } on && NF' "$settings" | tr '\n' ' '; }

e2e_start_game "$game"
e2e_check "the window is 654 x 472, centred, titled Quibbix" placed 1593 844 654 472
e2e_check "the window has no frame" frameless
e2e_check "the window's class is the desktop file's ID" \
    grep -qx 'WM_CLASS(STRING) = "io.github.quibbix.Quibbix", "io.github.quibbix.Quibbix"' \
    <(xprop -id "$E2E_WINDOW" WM_CLASS)
e2e_check "the title logo stands at (64, 206)" shows logo 64 206
e2e_check "START shows the start picture" shows start 468 274
e2e_click 523 286
e2e_check "START starts a game and offers PAUSE" shows pause 468 274
e2e_check "the logo is gone" hidden logo 64 206
e2e_click 523 286
e2e_check "PAUSE pauses and offers START" shows start 468 274
e2e_check "a paused board stands still" e2e_board_shot "$work/board.rgb"
e2e_click 523 286
e2e_check "START resumes" shows pause 468 274
e2e_click 634 22
e2e_check "the exit icon ends a running game and writes the settings" e2e_game_ended_well
e2e_check "the settings hold the table and the sound" grep -q '^Sound=0$' "$settings"
e2e_check "an abandoned game does not enter the table" grep -q '^HighScoreName1=""$' "$settings"

e2e_start_game "$game"
e2e_click 506 413
e2e_check "ABOUT shows the about picture, centred" shows about 155 174
e2e_click 326 235
e2e_check "a click on the about picture returns to START" shows start 468 274
e2e_click 525 390
e2e_check "the sound switch turns sound on" shows sound-on 470 378
xdotool mousemove --window "$E2E_WINDOW" 300 30 mousedown 3
for _ in 1 2 3 4 5; do xdotool mousemove_relative 10 6; sleep 0.05; done
xdotool mouseup 3
sleep 0.3
e2e_check "a right-button drag on the background moves the window" placed 1643 874 654 472
e2e_click 612 22
e2e_check "the minimise icon minimises" grep -q 'Iconic' <(xprop -id "$E2E_WINDOW" WM_STATE)
xdotool windowactivate "$E2E_WINDOW"
sleep 0.5
e2e_check "restored, the window is back without a frame" frameless
e2e_check "restored, the title is Quibbix" grep -q '"Quibbix"' <(xprop -id "$E2E_WINDOW" WM_NAME)
e2e_click 492 445
e2e_check "EXIT ends the program and writes the settings" e2e_game_ended_well
e2e_check "the sound setting was saved on" grep -q '^Sound=1$' "$settings"

e2e_start_game "$game"
e2e_check "sound switched on stays on at the next start" shows sound-on 470 378
# The title screen, the same at zoom 3 with every pixel a square.
xdotool mousemove 0 0
sleep 0.3
snap one
xdotool windowactivate --sync "$E2E_WINDOW" key ctrl+plus sleep 0.5 key ctrl+plus
sleep 0.7
snap three
e2e_check "at zoom 3 the window is 1962 x 1416, every pixel its frame pixel" enlarged "$work/one.png" 3 "$work/three.png"
xdotool windowactivate --sync "$E2E_WINDOW" key alt+F4
e2e_check "closing from the desktop ends the program and writes the settings" e2e_game_ended_well
e2e_check "and the zoom chosen" [ "$(display_section)" = "[Display] Zoom=3 FullScreen=0 " ]

# The desktop at 200 %: the window at zoom 2 with every click on the same frame pixels as at zoom 1.
echo "Xft.dpi: 192" | xrdb -merge
sed -i '/^\[Display\]/,/^\[/{/^\[Display\]/d;/^[^[]/d}' "$settings"  # the desktop's zoom, not the one chosen
e2e_start_game "$game"
e2e_check "at 200 % the window is 1308 x 944, centred" placed 1266 608 1308 944
e2e_check "the title logo shows with doubled pixels" shows logo-x2 128 412
e2e_click 1046 572
e2e_check "a click at twice START's place starts a game" shows pause-x2 936 548
xdotool key p
sleep 0.3
e2e_check "P pauses the game" shows start-x2 936 548
# The green target found on the board and the pointer put on it: resumed, it scores.
e2e_check "the green target is found on the board, no other ball near it" e2e_aim target 2
e2e_touch 2
sleep 0.3
snap score
e2e_check "the pointer resting on the green ball scores 100" [ "$(e2e_counter score "$work/score.png" 2)" = 000100 ]
xdotool mousemove --window "$E2E_WINDOW" 600 60 key p
e2e_check "P lets it run again" shows pause-x2 936 548

# Away: minimised from outside, then another window takes the keyboard. Each pauses the game for
# good; the clock may turn once between the last look and the minimise.
snap before
xdotool windowminimize "$E2E_WINDOW"
sleep 3
xdotool windowactivate --sync "$E2E_WINDOW" 2>/dev/null
sleep 2
snap after
e2e_check "minimised during play, the game paused and does not resume by itself" shows start-x2 936 548
e2e_check "and the clock stopped at the minimise" [ $((10#$(time_in before) - 10#$(time_in after))) -le 1 ]
xdotool key p
sleep 0.3
e2e_check "P resumes" shows pause-x2 936 548
e2e_spawn xmessage -geometry +0+0 "elsewhere" 2>/dev/null
other=$E2E_PID
sleep 0.7
e2e_check "another window taking the keyboard paused the game" shows start-x2 936 548
kill "$other"
xdotool windowactivate --sync "$E2E_WINDOW" 2>/dev/null
sleep 0.3

xdotool key ctrl+minus

sleep 0.5
e2e_check "Ctrl+Minus shows the window at 654 x 472, keeping its centre" placed 1593 844 654 472
xdotool key ctrl+q
e2e_check "Ctrl+Q ends the program with status 0 and writes the settings" e2e_game_ended_well
e2e_check "the zoom chosen is remembered" [ "$(display_section)" = "[Display] Zoom=1 FullScreen=0 " ]

e2e_start_game "$game"
e2e_check "the next run starts at 654 x 472" placed 1593 844 654 472
xdotool key ctrl+plus
sleep 0.5
e2e_check "Ctrl+Plus doubles it again" placed 1266 608 1308 944
xdotool key F11
sleep 0.7
e2e_check "F11 covers the screen" placed 0 0 3840 2160
e2e_check "with the frame at zoom 4 in its centre" shows start-x4 $((612 + 468 * 4)) $((136 + 274 * 4))
snap full
e2e_check "on black" [ "$(convert "$work/full.png" -crop 612x2160+0+0 -format '%[fx:maxima]' info:)" = 0 ]
e2e_click $((612 + 523 * 4)) $((136 + 286 * 4))
e2e_check "a click on START there starts a game" shows pause-x4 $((612 + 468 * 4)) $((136 + 274 * 4))
xdotool key Escape
sleep 0.7
e2e_check "Escape gives back the window at its place" placed 1266 608 1308 944
e2e_check "and the game goes on" shows pause-x2 936 548

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
e2e_check "after a drag lost while minimised the window no longer follows the pointer" [ "$(geometry)" = "$placed" ]
e2e_click 984 890
e2e_check "and a click on EXIT ends the game" e2e_game_ended_well
e2e_check "the settings hold the zoom and the window mode" [ "$(display_section)" = "[Display] Zoom=2 FullScreen=0 " ]
e2e_check "the game's own settings are still there" grep -q '^HighScoreName1=""$' "$settings"

# Without RENDER the game enlarges the window itself.
e2e_xvfb 3840x2160 96 -extension RENDER
e2e_wm
e2e_check "the second X server has no RENDER" bash -c '! xdpyinfo | grep -q RENDER'
sed -i 's/^Zoom=.*/Zoom=1/' "$settings"
e2e_start_game "$game"
xdotool mousemove 0 0
sleep 0.5
snap plain
xdotool key ctrl+plus
sleep 0.7
snap doubled
e2e_check "without RENDER every pixel at zoom 2 is its frame pixel" enlarged "$work/plain.png" 2 "$work/doubled.png"
xdotool windowactivate --sync "$E2E_WINDOW" key ctrl+q
e2e_check "and Ctrl+Q ends it well" e2e_game_ended_well
echo "all window checks passed"

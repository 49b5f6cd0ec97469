#!/usr/bin/env bash
# The game on a desktop set to 200 % (a 3840 x 2160 screen with Xft.dpi 192): the window at
# zoom 2 with every click on the same frame pixels as at zoom 1, the zoom keys and their memory,
# full screen, the pause key, the pause when the player goes away, Ctrl+Q and the window's class.
#   desktop.sh QUIBBIX QUIBBIX_SCENARIO
set -euo pipefail
game=$1
scenario=$2
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_xvfb 3840x2160 192
e2e_wm
e2e_bus
settings="$XDG_CONFIG_HOME/Quibbix/settings.ini"
sprites="$E2E_WORK/sprites"
e2e_sprites "$scenario" start=frmGraphics.pctStart pause=frmGraphics.pctPause logo=frmMain.pctQuibbix
# The pictures as the player sees them at zoom 2 and 4: every pixel a square.
for name in start pause logo; do
    for zoom in 2 4; do
        convert "$sprites/$name.png" -filter point -resize "$((zoom * 100))%" "$sprites/$name-x$zoom.png"
    done
done

start_game() {
    e2e_spawn "$game" 2>"$E2E_WORK/stderr"
    game_pid=$E2E_PID
    e2e_find_window
}
geometry() { xdotool getwindowgeometry --shell "$E2E_WINDOW" | grep -v '^WINDOW=' | tr '\n' ' '; }
shows() { e2e_shows "$@"; }
# A screenshot is quick; reading its counters is not, so a look is taken first and read later.
snap() { e2e_shot "$E2E_WORK/$1.png"; }
time_in() { e2e_counter time "$E2E_WORK/$1.png" 2; }
# The [Display] section of the settings file on one line.
display_section() { awk '/^\[/ { on = ($0 == "[Display]") } on && NF' "$settings" | tr '\n' ' '; }
ended_well() { e2e_ended_well "$game_pid" && [ ! -s "$E2E_WORK/stderr" ] && [ -s "$settings" ]; }

start_game
e2e_check "at 200 % the window is 1308 x 944, centred" [ "$(geometry)" = "X=1266 Y=608 WIDTH=1308 HEIGHT=944 SCREEN=0 " ]
e2e_check "the window has no frame" grep -q '= 0, 0, 0, 0' <(xprop -id "$E2E_WINDOW" _NET_FRAME_EXTENTS)
e2e_check "the window's class is the desktop file's ID" \
    grep -qx 'WM_CLASS(STRING) = "io.github.quibbix.Quibbix", "io.github.quibbix.Quibbix"' \
    <(xprop -id "$E2E_WINDOW" WM_CLASS)
e2e_check "the title logo shows with doubled pixels" shows "$sprites/logo-x2.png" 128 412

e2e_click 1046 572
e2e_check "a click at twice START's place starts a game" shows "$sprites/pause-x2.png" 936 548

# Paused, the green target is found on the board and the pointer put on it; resumed, it scores.
# While a plain ball touches the target, the game runs on a little and is looked at again.
xdotool key p
sleep 0.3
e2e_check "P pauses the game" shows "$sprites/start-x2.png" 936 548
target_found() {
    local try
    for try in 1 2 3 4 5; do
        e2e_rest_on_target 2 && return 0
        xdotool key p
        sleep 0.4
        xdotool key p
        sleep 0.3
    done
    return 1
}
e2e_check "the green target is found on the board, no plain ball touching it" target_found
xdotool key p
sleep 0.5
snap score
score=$(e2e_counter score "$E2E_WORK/score.png" 2)
e2e_check "the pointer resting on the green ball scores 100" [ "$score" = 000100 ]
xdotool mousemove --window "$E2E_WINDOW" 600 60

xdotool key p
sleep 0.3
snap paused1
sleep 3
snap paused2
xdotool key p
sleep 1.5
snap running
e2e_check "P freezes the clock" [ "$(time_in paused1)" = "$(time_in paused2)" ]
e2e_check "P again lets it run" [ "$(time_in running)" != "$(time_in paused2)" ]

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
e2e_check "minimised during play, the game paused" shows "$sprites/start-x2.png" 936 548
e2e_check "and the clock stopped" [ $((10#$before - 10#$after)) -le 1 ]
e2e_check "and it does not resume by itself" [ "$(time_in later)" = "$after" ]

xdotool key p
sleep 0.3
e2e_check "P resumes" shows "$sprites/pause-x2.png" 936 548
e2e_spawn xmessage -geometry +0+0 "elsewhere" 2>/dev/null
other=$E2E_PID
sleep 0.7
snap before
sleep 3
snap after
e2e_check "another window taking the keyboard paused the game" shows "$sprites/start-x2.png" 936 548
e2e_check "and the clock stands still" [ "$(time_in after)" = "$(time_in before)" ]
kill "$other"
xdotool windowactivate --sync "$E2E_WINDOW" 2>/dev/null
sleep 0.3

xdotool key ctrl+minus
sleep 0.5
e2e_check "Ctrl+Minus shows the window at 654 x 472, keeping its centre" \
    [ "$(geometry)" = "X=1593 Y=844 WIDTH=654 HEIGHT=472 SCREEN=0 " ]
xdotool key ctrl+q
e2e_check "Ctrl+Q ends the program with status 0 and writes the settings" ended_well
e2e_check "the zoom chosen is remembered" [ "$(display_section)" = "[Display] Zoom=1 FullScreen=0 " ]

start_game
e2e_check "the next run starts at 654 x 472" [ "$(geometry)" = "X=1593 Y=844 WIDTH=654 HEIGHT=472 SCREEN=0 " ]
xdotool key ctrl+plus
sleep 0.5
e2e_check "Ctrl+Plus doubles it again" [ "$(geometry)" = "X=1266 Y=608 WIDTH=1308 HEIGHT=944 SCREEN=0 " ]

xdotool key F11
sleep 0.7
e2e_check "F11 covers the screen" [ "$(geometry)" = "X=0 Y=0 WIDTH=3840 HEIGHT=2160 SCREEN=0 " ]
e2e_check "with the frame at zoom 4 in its centre" shows "$sprites/start-x4.png" $((612 + 468 * 4)) $((136 + 274 * 4))
e2e_shot "$E2E_WORK/full.png"
e2e_check "on black" [ "$(convert "$E2E_WORK/full.png" -crop 612x2160+0+0 -format '%[fx:maxima]' info:)" = 0 ]
e2e_click $((612 + 523 * 4)) $((136 + 286 * 4))
e2e_check "a click on START there starts a game" shows "$sprites/pause-x4.png" $((612 + 468 * 4)) $((136 + 274 * 4))
xdotool key Escape
sleep 0.7
e2e_check "Escape gives back the window at its place" [ "$(geometry)" = "X=1266 Y=608 WIDTH=1308 HEIGHT=944 SCREEN=0 " ]
e2e_check "and the game goes on" shows "$sprites/pause-x2.png" 936 548

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
e2e_check "and a click on EXIT ends the game" ended_well
e2e_check "the settings hold the zoom and the window mode" \
    [ "$(display_section)" = "[Display] Zoom=2 FullScreen=0 " ]
e2e_check "the game's own settings are still there" grep -q '^HighScoreName1=""$' "$settings"
echo "all desktop checks passed"

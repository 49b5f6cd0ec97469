#!/usr/bin/env bash
# The game as a native Wayland client of Weston (nested in a private X server): it shows its
# window, plays, is dragged by its background, ends by its exit icon writing the settings, and
# names itself with the desktop file's ID.
#   wayland.sh QUIBBIX QUIBBIX_SCENARIO
set -euo pipefail
game=$1
scenario=$2
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_xvfb 1024x768
e2e_bus
e2e_weston
export SDL_VIDEODRIVER=wayland
settings="$XDG_CONFIG_HOME/Quibbix/settings.ini"
e2e_sprites "$scenario" logo=frmMain.pctQuibbix
shot() {
    rm -f "$E2E_WORK"/wayland-screenshot*.png
    (cd "$E2E_WORK" && weston-screenshooter) || e2e_fail "weston-screenshooter failed"
    mv "$E2E_WORK"/wayland-screenshot*.png "$E2E_WORK/$1.png"
}
# Where the game's window stands on Weston's screen: the frame's black inside, 3 pixels in from its
# edge, below Weston's panel. Sets left and top.
find_game() {
    local found
    found=$(convert "$E2E_WORK/$1.png" -crop 1024x700+0+40 +repage -fill white +opaque black -negate -trim \
        -format '%w %h %X %Y' info: | tr -d '+')
    read -r width height left top <<<"$found"
    [ "$width" = 648 ] && [ "$height" = 466 ] || e2e_fail "no game window on Weston's screen ($found)"
    left=$((left - 3))
    top=$((top + 40 - 3))
}
# Weston's window lies at the top-left of the X server; its pointer drifts unless sent to a
# corner before each move.
point() {
    xdotool mousemove 0 0
    sleep 0.05
    xdotool mousemove $((left + $1)) $((top + $2))
    sleep 0.1
}
click() {
    point "$1" "$2"
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
    sleep 0.3
}
shows() {
    local size
    size=$(identify -format '%wx%h' "$2")
    convert "$E2E_WORK/$1.png" -crop "${size}+$((left + $3))+$((top + $4))" +repage "$E2E_WORK/crop.png"
    [ "$(compare -metric AE "$2" "$E2E_WORK/crop.png" null: 2>&1)" = 0 ]
}
clock() {
    convert "$E2E_WORK/$1.png" -crop "654x472+$left+$top" +repage "$E2E_WORK/$1-frame.png"
    e2e_counter time "$E2E_WORK/$1-frame.png"
}

WAYLAND_DEBUG=1 e2e_spawn "$game" 2>"$E2E_WORK/protocol"
game_pid=$E2E_PID
sleep 1.5
xdotool mousemove 0 0
shot first
find_game first
e2e_check "the window shows the title logo" shows first "$E2E_WORK/sprites/logo.png" 64 206
e2e_check "the window names itself with the desktop file's ID" \
    grep -q 'xdg_toplevel@[0-9]*\.set_app_id("io.github.quibbix.Quibbix")' "$E2E_WORK/protocol"

click 523 286
sleep 1.2
shot playing
sleep 1.1
shot later
e2e_check "START starts the clock" [ "$(clock playing)" != "$(clock later)" ]

# The background drags the window through the compositor.
point 300 30
xdotool mousedown 1
for _ in 1 2 3 4 5; do xdotool mousemove_relative 10 6; sleep 0.05; done
xdotool mouseup 1
sleep 0.3
was_left=$left
was_top=$top
shot dragged
find_game dragged
e2e_check "a drag by the background moves the window" [ "$((left - was_left)),$((top - was_top))" = 50,30 ]

click 634 22
e2e_check "the exit icon ends the game" e2e_ended_well "$game_pid"
e2e_check "and the settings file is written" grep -q '^HighScoreName1=""$' "$settings"
e2e_check "nothing went wrong on the way" [ -z "$(grep -v '^\[' "$E2E_WORK/protocol" | grep -v '^ *$' || true)" ]

# Weston keeps no task bar to bring a minimised window back: the request is what is checked.
WAYLAND_DEBUG=1 e2e_spawn "$game" 2>"$E2E_WORK/protocol"
sleep 1.5
xdotool mousemove 0 0
shot second
find_game second
click 612 22
e2e_check "the minimise icon asks the compositor to minimise" \
    grep -q 'xdg_toplevel@[0-9]*\.set_minimized()' "$E2E_WORK/protocol"
echo "all Wayland checks passed"

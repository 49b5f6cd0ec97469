#!/usr/bin/env bash
# Every pixel of a zoomed window is its frame pixel, whoever enlarges it: at zoom 3 the X server
# does, and on a server without RENDER the game itself does at zoom 2. The title screen, which
# does not move, is compared whole with the window at zoom 1.
#   zoom.sh QUIBBIX QUIBBIX_SCENARIO
set -euo pipefail
game=$1
source "$(dirname "$0")/lib.sh"
e2e_init
settings="$XDG_CONFIG_HOME/Quibbix/settings.ini"
mkdir -p "$(dirname "$settings")"

# Starts the game at a zoom, takes a look at its title screen and ends it with Ctrl+Q.
title_at() {
    local zoom=$1 shot=$2
    printf '[Display]\nZoom=%s\n' "$zoom" >"$settings"
    e2e_spawn "$game" 2>"$E2E_WORK/stderr"
    local pid=$E2E_PID
    e2e_find_window
    xdotool mousemove 0 0
    sleep 0.5
    e2e_shot "$shot"
    xdotool windowactivate --sync "$E2E_WINDOW" key ctrl+q
    e2e_ended_well "$pid" || e2e_fail "the game at zoom $zoom did not end well"
    [ ! -s "$E2E_WORK/stderr" ] || e2e_fail "the game at zoom $zoom complained: $(cat "$E2E_WORK/stderr")"
}
# Whether a look is the zoom 1 look with every pixel made a square of the given size.
enlarged_from_one() {
    local zoom=$1 shot=$2
    convert "$E2E_WORK/one.png" -filter point -resize "$((zoom * 100))%" "$E2E_WORK/expected.png"
    [ "$(compare -metric AE "$E2E_WORK/expected.png" "$shot" null: 2>&1)" = 0 ]
}

e2e_xvfb 3840x2160
e2e_wm
e2e_bus
title_at 1 "$E2E_WORK/one.png"
title_at 3 "$E2E_WORK/three.png"
e2e_check "at zoom 3 the window is 1962 x 1416" [ "$(identify -format '%wx%h' "$E2E_WORK/three.png")" = 1962x1416 ]
e2e_check "every pixel at zoom 3 is its frame pixel" enlarged_from_one 3 "$E2E_WORK/three.png"

e2e_xvfb 3840x2160 96 -extension RENDER
e2e_wm
e2e_check "the second X server has no RENDER" bash -c '! xdpyinfo | grep -q RENDER'
title_at 2 "$E2E_WORK/two.png"
e2e_check "without RENDER every pixel at zoom 2 is its frame pixel" enlarged_from_one 2 "$E2E_WORK/two.png"

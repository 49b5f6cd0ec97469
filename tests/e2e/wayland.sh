#!/usr/bin/env bash
# The game as a native Wayland client of Weston nested in a private X server: shown, played, dragged,
# ended by its exit icon, named by the desktop file's ID; then under Weston at scale 2 and KWin at 1.5:
# the frame fills the window, START lands, the first buffer already has the zoom; a lost compositor.
#   wayland.sh QUIBBIX QUIBBIX_SCENARIO
set -euo pipefail
game=$1
scenario=$2
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_xvfb 2048x1536
e2e_bus
e2e_compositor
export SDL_VIDEODRIVER=wayland
settings="$XDG_CONFIG_HOME/Quibbix/settings.ini"
e2e_sprites "$scenario" logo=frmMain.pctQuibbix
shot() {
    if [ "$E2E_SCALED_KIND" = kwin ]; then
        import -window root "$E2E_WORK/$1.png"
        return
    fi
    rm -f "$E2E_WORK"/wayland-screenshot*.png
    (cd "$E2E_WORK" && weston-screenshooter) || e2e_fail "weston-screenshooter failed"
    mv "$E2E_WORK"/wayland-screenshot*.png "$E2E_WORK/$1.png"
}
# Where the game's window stands in screen pixels at a zoom, found on Weston's patterned desktop by
# the frame's black inside (3 frame pixels in), on KWin's black one by its light edge. Sets left, top.
find_game() {
    local zoom=$2 found inner panel=$((E2E_SCALE == 1 ? 40 : 70))
    if [ "$E2E_SCALED_KIND" = weston ]; then
        found=$(convert "$E2E_WORK/$1.png" -crop "$((1024 * E2E_SCALE))x$((E2E_SCALE == 1 ? 700 : 1466))+0+$panel" \
            +repage -fill white +opaque black -negate -trim -format '%w %h %X %Y' info: | tr -d '+')
        read -r width height left top <<<"$found"
        inner="$((648 * zoom)) $((466 * zoom))"
        left=$((left - 3 * zoom))
        top=$((top + panel - 3 * zoom))
    else
        found=$(convert "$E2E_WORK/$1.png" -crop 1920x1500+0+0 +repage -trim -format '%w %h %X %Y' info: | tr -d '+')
        read -r width height left top <<<"$found"
        # KWin shows a 944-pixel buffer in 629 units at 1.5: 943.5 screen pixels.
        [ "$height" = $((472 * zoom - 1)) ] && height=$((472 * zoom))
        inner="$((654 * zoom)) $((472 * zoom))"
    fi
    [ "$width $height" = "$inner" ] || { echo "found $found, not $inner" >&2; return 1; }
}
# The compositor's pointer drifts unless sent to a corner before each move.
point() {
    xdotool mousemove 0 0
    sleep 0.05
    xdotool mousemove $((left + $1)) $((top + $2))
    sleep 0.3
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
time_digits() {
    convert "$E2E_WORK/$1.png" -crop "$((80 * $2))x$((40 * $2))+$((left + 495 * $2))+$((top + 150 * $2))" \
        +repage "$E2E_WORK/$1-time.png"
}
# A run at a zoom: the frame fills the window and START starts the clock. Sets game_pid; the
# protocol is in protocol-NAME.
run() {
    local name=$1 zoom=$2
    WAYLAND_DEBUG=1 e2e_spawn "$game" 2>"$E2E_WORK/protocol-$name"
    game_pid=$E2E_PID
    sleep $((E2E_SCALE == 1 ? 2 : 3))
    xdotool mousemove 0 0
    shot "$name-first"
    e2e_check "$name: the frame fills the window at zoom $zoom" find_game "$name-first" "$zoom"
    click $((523 * zoom + zoom / 2)) $((286 * zoom + zoom / 2))
    sleep 1.2
    shot "$name-playing"
    time_digits "$name-playing" "$zoom"
    sleep 1.1
    shot "$name-later"
    time_digits "$name-later" "$zoom"
    e2e_check "$name: START at its place starts the clock" [ "$(compare -metric AE \
        "$E2E_WORK/$name-playing-time.png" "$E2E_WORK/$name-later-time.png" null: 2>&1)" != 0 ]
}
scaled_run() {
    local name=$1 zoom=$2 saved=$3
    rm -rf "$XDG_CONFIG_HOME/Quibbix"
    if [ -n "$saved" ]; then
        mkdir -p "$XDG_CONFIG_HOME/Quibbix"
        printf '[Display]\nZoom=%s\nFullScreen=0\n' "$saved" >"$settings"
    fi
    run "$name" "$zoom"
    e2e_check "$name: the first buffer already has the zoom" \
        [ "$(e2e_first_buffer "$E2E_WORK/protocol-$name")" = "$((654 * zoom))x$((472 * zoom))" ]
    xdotool key ctrl+q
    e2e_check "$name: Ctrl+Q ends the game" e2e_ended_well "$game_pid"
}

E2E_SCALE=1 E2E_SCALED_KIND=weston
run weston-1 1
e2e_check "the window shows the title logo" shows weston-1-first "$E2E_WORK/sprites/logo.png" 64 206
e2e_check "the window names itself with the desktop file's ID" \
    grep -q 'xdg_toplevel@[0-9]*\.set_app_id("io.github.quibbix.Quibbix")' "$E2E_WORK/protocol-weston-1"

point 300 30
xdotool mousedown 1
for _ in 1 2 3 4 5; do xdotool mousemove_relative 10 6; sleep 0.05; done
xdotool mouseup 1
sleep 0.3
was_left=$left was_top=$top
shot dragged
find_game dragged 1
e2e_check "a drag by the background moves the window" [ "$((left - was_left)),$((top - was_top))" = 50,30 ]

click 634 22
e2e_check "the exit icon ends the game" e2e_ended_well "$game_pid"
e2e_check "and the settings file is written" grep -q '^HighScoreName1=""$' "$settings"
e2e_check "nothing went wrong on the way" [ -z "$(grep -v '^\[' "$E2E_WORK/protocol-weston-1" | grep -v '^ *$' || true)" ]

# Weston keeps no task bar to bring a minimised window back: the request is what is checked.
WAYLAND_DEBUG=1 e2e_spawn "$game" 2>"$E2E_WORK/protocol"
game_pid=$E2E_PID
sleep 1.5
xdotool mousemove 0 0
shot second
find_game second 1
click 612 22
e2e_check "the minimise icon asks the compositor to minimise" \
    grep -q 'xdg_toplevel@[0-9]*\.set_minimized()' "$E2E_WORK/protocol"
kill "$game_pid"
e2e_check "the minimised game ends when asked" e2e_ended_well "$game_pid"

kill "$E2E_COMPOSITOR_PID"
e2e_compositor weston 2 1024 768
E2E_SCALE=2
scaled_run weston-2-saved-zoom-3 3 3
# Weston's sockets and the bus's folder are the test's own.
litter() { ls -A "$XDG_RUNTIME_DIR" | grep -v -e '^quibbix\.' -e '^wayland-' -e '^dbus-'; }
e2e_check "three native Wayland runs leave nothing in XDG_RUNTIME_DIR but the game's lock and socket" \
    [ -z "$(litter | tee /dev/stderr)" ]
# The compositor going away under a game: the game saves, and says so in one line.
rm "$settings"
e2e_spawn "$game" 2>"$E2E_WORK/lost.stderr"
game_pid=$E2E_PID
sleep 1.5
kill -0 "$game_pid" || e2e_fail "the game did not start"
kill "$E2E_COMPOSITOR_PID"
lost() {
    local status=0
    e2e_ended_within "$game_pid" 20 || return 1
    wait "$game_pid" || status=$?
    [ "$status" = 1 ] && [ "$(wc -l <"$E2E_WORK/lost.stderr")" = 1 ] && grep -q '^Sound=0$' "$settings"
}
e2e_check "a lost compositor ends the game with status 1, one line and the settings saved" lost
if command -v kwin_wayland >/dev/null; then
    e2e_compositor kwin 1.5 1280 1000
    scaled_run kwin-1.5 2 ""
fi
echo "all Wayland checks passed"

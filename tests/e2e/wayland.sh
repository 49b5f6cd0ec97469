#!/usr/bin/env bash
# The game as a native Wayland client of Weston (nested in a private X server): it shows its
# window, plays, is dragged by its background, ends by its exit icon writing the settings, and
# names itself with the desktop file's ID. Then at an output scale, under Weston at 2 and KWin at
# 1.5 when KWin is installed: the frame fills the window, START lands, and the first buffer
# already has the zoom, a saved one or the desktop's.
#   wayland.sh QUIBBIX QUIBBIX_SCENARIO
set -euo pipefail
game=$1
scenario=$2
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_xvfb 2048x1536
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
game_pid=$E2E_PID
sleep 1.5
xdotool mousemove 0 0
shot second
find_game second
click 612 22
e2e_check "the minimise icon asks the compositor to minimise" \
    grep -q 'xdg_toplevel@[0-9]*\.set_minimized()' "$E2E_WORK/protocol"

# --- at an output scale ------------------------------------------------------------------------
# The window's frame as seen on the output's screen pixels: Weston's desktop is patterned, so
# its frame is found by its black inside, 3 frame pixels in from its edge; KWin's desktop is
# black, so by the frame's light edge. Sets left and top.
find_scaled() {
    local zoom=$2 found inner
    if [ "$E2E_SCALED_KIND" = weston ]; then
        found=$(convert "$E2E_WORK/$1.png" -crop 2048x1466+0+70 +repage -fill white +opaque black -negate \
            -trim -format '%w %h %X %Y' info: | tr -d '+')
        read -r width height left top <<<"$found"
        inner="$((648 * zoom)) $((466 * zoom))"
        left=$((left - 3 * zoom))
        top=$((top + 70 - 3 * zoom))
    else
        found=$(convert "$E2E_WORK/$1.png" -crop 1920x1500+0+0 +repage -trim -format '%w %h %X %Y' info: | tr -d '+')
        read -r width height left top <<<"$found"
        # KWin shows a 944-pixel buffer in 629 units at 1.5: 943.5 screen pixels.
        [ "$height" = $((472 * zoom - 1)) ] && height=$((472 * zoom))
        inner="$((654 * zoom)) $((472 * zoom))"
    fi
    [ "$width $height" = "$inner" ] || { echo "found $found, not $inner" >&2; return 1; }
}
scaled_shot() {
    if [ "$E2E_SCALED_KIND" = weston ]; then
        shot "$1"
    else
        import -window root "$E2E_WORK/$1.png"
    fi
}
time_digits() {
    convert "$E2E_WORK/$1.png" -crop "$((80 * $2))x$((40 * $2))+$((left + 495 * $2))+$((top + 150 * $2))" \
        +repage "$E2E_WORK/$1-time.png"
}
scaled_run() {
    local what=$1 zoom=$2 saved=$3
    rm -rf "$XDG_CONFIG_HOME/Quibbix"
    if [ -n "$saved" ]; then
        mkdir -p "$XDG_CONFIG_HOME/Quibbix"
        printf '[Display]\nZoom=%s\nFullScreen=0\n' "$saved" >"$settings"
    fi
    WAYLAND_DEBUG=1 e2e_spawn "$game" 2>"$E2E_WORK/protocol-$E2E_SCALED_KIND"
    local pid=$E2E_PID
    sleep 2.5
    xdotool mousemove 0 0
    scaled_shot "$E2E_SCALED_KIND-first"
    e2e_check "$what: the frame fills the window at zoom $zoom" find_scaled "$E2E_SCALED_KIND-first" "$zoom"
    e2e_check "$what: the first buffer already has the zoom" \
        [ "$(e2e_first_buffer "$E2E_WORK/protocol-$E2E_SCALED_KIND")" = "$((654 * zoom))x$((472 * zoom))" ]
    xdotool mousemove 0 0
    sleep 0.05
    xdotool mousemove $((left + 523 * zoom + zoom / 2)) $((top + 286 * zoom + zoom / 2))
    sleep 0.3
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
    sleep 1.2
    scaled_shot "$E2E_SCALED_KIND-playing"
    time_digits "$E2E_SCALED_KIND-playing" "$zoom"
    sleep 1.1
    scaled_shot "$E2E_SCALED_KIND-later"
    time_digits "$E2E_SCALED_KIND-later" "$zoom"
    e2e_check "$what: START at its place starts the clock" [ "$(compare -metric AE \
        "$E2E_WORK/$E2E_SCALED_KIND-playing-time.png" "$E2E_WORK/$E2E_SCALED_KIND-later-time.png" null: 2>&1)" != 0 ]
    xdotool key ctrl+q
    e2e_check "$what: Ctrl+Q ends the game" e2e_ended_well "$pid"
}
kill "$game_pid"
e2e_check "the minimised game ends when asked" e2e_ended_well "$game_pid"
kill "$E2E_WESTON_PID"
e2e_weston_scaled 2 1024 768
scaled_run "Weston at scale 2 with Zoom=3 saved" 3 3
# Weston's sockets and the bus's folder are the test's own.
litter() { ls -A "$XDG_RUNTIME_DIR" | grep -v -e '^quibbix\.' -e '^wayland-' -e '^dbus-'; }
e2e_check "three native Wayland runs leave nothing in XDG_RUNTIME_DIR but the game's lock and socket" \
    [ -z "$(litter | tee /dev/stderr)" ]
if command -v kwin_wayland >/dev/null; then
    kill "$E2E_SCALED_PID"
    e2e_kwin_scaled 1.5 1280 1000
    scaled_run "KWin at scale 1.5" 2 ""
fi
echo "all Wayland checks passed"

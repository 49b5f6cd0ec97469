# The helpers of every end-to-end script: private X, Wayland, audio and bus servers, the game's
# window, clicks, screenshots and counters. Source it and call e2e_init first; everything started
# here is stopped when the script exits, whatever the outcome.

E2E_PIDS=()

e2e_fail() { echo "FAIL: $*" >&2; exit 1; }
e2e_check() {
    local what=$1
    shift
    "$@" || e2e_fail "$what"
    echo "ok - $what"
}

e2e_cleanup() {
    local pid
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do kill "${E2E_PIDS[i]}" 2>/dev/null || true; done
    for pid in "${E2E_PIDS[@]}"; do e2e_ended_within "$pid" 10 || kill -9 "$pid" 2>/dev/null || true; done
    [ -n "${E2E_WORK:-}" ] && rm -rf "$E2E_WORK"
}

# A private folder for the script, and a clean environment: nothing of the developer's desktop,
# audio server or session bus leaks into the test.
e2e_init() {
    E2E_WORK=$(mktemp -d)
    export E2E_WORK
    trap e2e_cleanup EXIT
    unset DISPLAY WAYLAND_DISPLAY PULSE_SERVER DBUS_SESSION_BUS_ADDRESS SDL_VIDEODRIVER SDL_AUDIODRIVER
    export XDG_RUNTIME_DIR="$E2E_WORK/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    export XDG_CONFIG_HOME="$E2E_WORK/config"
    mkdir -p "$XDG_CONFIG_HOME"
}

# Runs a command in the background, stopped at the clean-up; its PID is in E2E_PID.
e2e_spawn() {
    "$@" &
    E2E_PID=$!
    E2E_PIDS+=("$E2E_PID")
}

# Waits up to ~5 s for a condition.
e2e_wait_for() {
    for _ in $(seq 100); do "$@" && return 0; sleep 0.05; done
    return 1
}

# A private X server: e2e_xvfb [WIDTHxHEIGHT] [DPI] [XVFB ARGUMENT...]. A DPI other than 96 is also
# set as Xft.dpi, the way a desktop set to that scale announces it.
e2e_xvfb() {
    local size=${1:-1024x768} dpi=${2:-96} displayfile="$E2E_WORK/display.$RANDOM"
    shift $(($# < 2 ? $# : 2))
    exec {E2E_XVFB_FD}>"$displayfile"
    e2e_spawn Xvfb -displayfd "$E2E_XVFB_FD" -screen 0 "${size}x24" -dpi "$dpi" -nolisten tcp -noreset "$@" \
        >/dev/null 2>&1
    E2E_XVFB_PID=$E2E_PID
    e2e_wait_for test -s "$displayfile" || e2e_fail "Xvfb did not start"
    exec {E2E_XVFB_FD}>&-
    DISPLAY=":$(head -n1 "$displayfile")"
    export DISPLAY
    if [ "$dpi" != 96 ]; then
        echo "Xft.dpi: $dpi" | xrdb -merge
    fi
}

e2e_wm() {
    e2e_spawn openbox --sm-disable >/dev/null 2>&1
    e2e_wait_for xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 || sleep 0.5
    sleep 0.2
}

# A private session bus, so that nothing autolaunches one that outlives the test.
e2e_bus() {
    local address
    address=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$E2E_WORK/bus.pid" | head -n1)
    E2E_PIDS+=("$(cat "$E2E_WORK/bus.pid")")
    export DBUS_SESSION_BUS_ADDRESS=$address
}

# A private PulseAudio server whose only output is a null sink, recorded from e2e.monitor.
e2e_pulse() {
    local socket="$E2E_WORK/pulse.sock"
    mkdir -p "$E2E_WORK/pulse"
    e2e_spawn env HOME="$E2E_WORK/pulse" PULSE_RUNTIME_PATH="$E2E_WORK/pulse" PULSE_STATE_PATH="$E2E_WORK/pulse" \
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
        --disable-shm=yes -L "module-null-sink sink_name=e2e" \
        -L "module-native-protocol-unix socket=$socket auth-anonymous=1" \
        -L "module-always-sink" >"$E2E_WORK/pulse.log" 2>&1
    export PULSE_SERVER="unix:$socket"
    e2e_wait_for pactl info >/dev/null 2>&1 || e2e_fail "PulseAudio did not start"
    pactl set-default-sink e2e >/dev/null
}

# A Wayland compositor in a window of the X server: e2e_compositor [weston|kwin [SCALE WIDTH HEIGHT]],
# Weston at scale 1 and 1024 x 768 by default (--debug allows weston-screenshooter). KWin's file
# capability may be refused in a container, so a plain copy of it runs. Sets E2E_COMPOSITOR_PID,
# E2E_SCALED_KIND (weston or kwin) and WAYLAND_DISPLAY.
e2e_compositor() {
    local kind=${1:-weston} scale=${2:-1} socket=wayland-e2e-$$-${1:-weston}-${2:-1}
    if [ "$kind" = weston ]; then
        e2e_spawn weston --backend=x11-backend.so --use-pixman --debug --socket="$socket" --idle-time=0 \
            --width="${3:-1024}" --height="${4:-768}" --scale="$scale" >"$E2E_WORK/weston-$scale.log" 2>&1
    else
        cp "$(command -v kwin_wayland)" "$E2E_WORK/kwin_wayland"
        e2e_spawn "$E2E_WORK/kwin_wayland" --x11-display "$DISPLAY" --socket "$socket" --width "$3" \
            --height "$4" --scale "$scale" >"$E2E_WORK/kwin.log" 2>&1
    fi
    E2E_COMPOSITOR_PID=$E2E_PID
    e2e_wait_for test -S "$XDG_RUNTIME_DIR/$socket" || e2e_fail "$kind at scale $scale did not start"
    export WAYLAND_DISPLAY=$socket E2E_SCALED_KIND=$kind
    sleep "$([ "$kind" = weston ] && echo 0.5 || echo 2)"
}

e2e_find_window() {
    E2E_WINDOW=$(timeout 10 xdotool search --sync --onlyvisible --name '^Quibbix$' | head -n1) || true
    [ -n "$E2E_WINDOW" ] || e2e_fail "no window titled Quibbix"
    sleep 0.3
}

e2e_click() {
    xdotool mousemove --window "$E2E_WINDOW" "$1" "$2" click 1
    sleep 0.3
}

e2e_shot() { import -window "$E2E_WINDOW" "$1"; }

# Whether the window shows PICTURE with its top-left at (X, Y).
e2e_shows() {
    local picture=$1 x=$2 y=$3 size
    size=$(identify -format '%wx%h' "$picture")
    import -window "$E2E_WINDOW" -crop "${size}+${x}+${y}" +repage "$E2E_WORK/crop.png"
    [ "$(compare -metric AE "$picture" "$E2E_WORK/crop.png" null: 2>&1)" = 0 ]
}

# The pictures the game draws, into $E2E_WORK/sprites: figure-0.png … figure-9.png and NAME=SPRITE pairs.
e2e_sprites() {
    local scenario=$1 n pair
    shift
    mkdir -p "$E2E_WORK/sprites"
    {
        echo start
        for n in {0..9}; do echo "sprite frmGraphics.imgDigit($n) $E2E_WORK/sprites/figure-$n.png"; done
        for pair in "$@"; do echo "sprite ${pair#*=} $E2E_WORK/sprites/${pair%%=*}.png"; done
    } | "$scenario" - || e2e_fail "the scenario runner could not write the sprites"
}

# e2e_counter score|time SHOT [ZOOM]: the digits of a counter on a shot of the window, "?" for a
# cell it cannot read (after e2e_sprites).
e2e_counter() {
    local shot=$2 zoom=${3:-1} y=78 cells="500 520 540 560 578 600" digits="" cell n
    [ "$1" = time ] && y=156 cells="500 522 544"
    for cell in $cells; do
        convert "$shot" -crop "$((20 * zoom))x$((28 * zoom))+$((cell * zoom))+$((y * zoom))" +repage \
            -filter point -resize "20x28!" "$E2E_WORK/cell.png"
        for n in {0..9} "?"; do
            convert "$E2E_WORK/sprites/figure-${n/\?/0}.png" -crop 20x28+0+0 +repage "$E2E_WORK/figure.png"
            [ "$n" = "?" ] || [ "$(compare -metric AE "$E2E_WORK/figure.png" "$E2E_WORK/cell.png" null: 2>&1)" = 0 ] && break
        done
        digits+=$n
    done
    echo "$digits"
}

# e2e_ended_within PID [TENTHS]: whether a process ends within TENTHS tenths of a second.
e2e_ended_within() {
    for _ in $(seq "${2:-50}"); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    return 1
}
# Waits up to 5 s for a process to end; true when it ended with status 0.
e2e_ended_well() { e2e_ended_within "$1" && wait "$1"; }

# e2e_start_game GAME [ARG...], stderr kept in $E2E_WORK/stderr (or E2E_STDERR); sets E2E_GAME_PID, E2E_WINDOW.
e2e_start_game() {
    e2e_spawn "$@" 2>"${E2E_STDERR:-$E2E_WORK/stderr}"
    E2E_GAME_PID=$E2E_PID
    e2e_find_window
}

# Whether the game ended with status 0, silent on stderr, and left its settings file behind.
e2e_game_ended_well() {
    e2e_ended_well "$E2E_GAME_PID" && [ ! -s "$E2E_WORK/stderr" ] &&
        [ -s "$XDG_CONFIG_HOME/Quibbix/settings.ini" ]
}

# The board of a paused game at a zoom (default 1) as raw 384 x 384 RGB once two shots agree.
e2e_board_shot() {
    local zoom=${2:-1} tries
    for tries in 0 1 2 3 4 5; do
        [ "$tries" = 0 ] || mv "$1" "$1.before"
        import -window "$E2E_WINDOW" -crop "$((384 * zoom))x$((384 * zoom))+$((12 * zoom))+$((74 * zoom))" +repage \
            miff:- | convert - -sample 384x384 -depth 8 "rgb:$1"
        [ "$tries" != 0 ] && cmp -s "$1" "$1.before" && return 0
    done
    return 1
}
e2e_start_button() { xdotool mousemove --window "$E2E_WINDOW" $((523 * ${1:-1})) $((286 * ${1:-1})) click 1; }
# e2e_aim target|plain [ZOOM]: runs the paused game for a moment and finds from shots before and
# after where to rest the pointer (board pixels, into $E2E_WORK/aim). When balls close together
# leave it unclear, the game runs on a little, longer each time, until a wall parts them.
e2e_aim() {
    local zoom=${2:-1} tries run=0.2
    for tries in $(seq 14); do
        [ "$tries" -le 3 ] || run=0.6
        [ "$tries" -le 8 ] || run=1.0
        # A click the game missed leaves it running: one more pauses it.
        e2e_board_shot "$E2E_WORK/before.rgb" "$zoom" || { e2e_start_button "$zoom" && continue; }
        e2e_start_button "$zoom"
        sleep $run
        e2e_start_button "$zoom"
        e2e_board_shot "$E2E_WORK/after.rgb" "$zoom" || { e2e_start_button "$zoom" && continue; }
        python3 "$(dirname "${BASH_SOURCE[0]}")/aim.py" "$E2E_WORK/before.rgb" "$E2E_WORK/after.rgb" "$1" \
            >"$E2E_WORK/aim" && return 0
    done
    return 1
}
# e2e_touch [ZOOM]: rests the pointer where e2e_aim found and resumes through the button, which
# leaves the game's pointer on the ball; pauses again once the first tick is past.
e2e_touch() {
    local zoom=${1:-1} x y
    read -r x y <"$E2E_WORK/aim"
    xdotool mousemove --window "$E2E_WINDOW" $(((12 + x) * zoom)) $(((74 + y) * zoom)) \
        mousemove --window "$E2E_WINDOW" $((523 * zoom)) $((286 * zoom)) click 1 sleep 0.15 click 1
}

# The size of the first buffer attached to a Wayland client's toplevel, from its WAYLAND_DEBUG log.
e2e_first_buffer() {
    awk '/get_xdg_surface\(/ { match($0, /wl_surface@[0-9]+/); surface = substr($0, RSTART, RLENGTH) }
         /create_buffer\(/ { match($0, /wl_buffer@[0-9]+/); id = substr($0, RSTART, RLENGTH)
                             split($0, f, ", "); size[id] = f[3] "x" f[4] }
         surface != "" && index($0, surface ".attach(wl_buffer@") {
             match($0, /wl_buffer@[0-9]+/); print size[substr($0, RSTART, RLENGTH)]; exit }' "$1"
}

#!/usr/bin/env bash
# The game's sound effects through a real audio server: a private PulseAudio whose null sink is
# recorded while the real game is played with sound on. A plain ball touched for one tick pops
# (Window.wav), the target cleared zaps (Missile.wav), and an effect file replaced while the game
# runs is heard at its next play: the bonus chime (Bleep.wav), which a bonus ball rarely offers.
# Paused, the game holds no audio device and its threads sleep.
#   sound.sh QUIBBIX
set -euo pipefail
game=$1
effects=$(dirname "$game")
here=$(dirname "$0")
source "$here/lib.sh"
e2e_init
e2e_xvfb
e2e_bus
e2e_pulse
work=$E2E_WORK
rate=44100
# Board and START button, in window pixels.
board_x=12
board_y=74
start_x=523
start_y=286

# The game and its effects in a folder of their own, since one effect is replaced during the test.
mkdir "$work/program"
cp "$game" "$work/program/quibbix"
for effect in Window Missile Bleep; do cp "$effects/$effect.wav" "$work/program/"; done
mkdir -p "$XDG_CONFIG_HOME/Quibbix"
printf '[Settings]\nSound=1\n' >"$XDG_CONFIG_HOME/Quibbix/settings.ini"

# A recorder asking for short buffers also keeps the null sink playing in step with the game.
e2e_spawn parec -d e2e.monitor --raw --format=s16le --rate=$rate --channels=1 --latency-msec=20 \
    "$work/heard.raw"
recorder=$E2E_PID
recording() { pactl list short source-outputs | grep -q .; }
e2e_wait_for recording || e2e_fail "the recorder did not start"

start_game() {
    e2e_spawn "$work/program/quibbix"
    game_pid=$E2E_PID
    e2e_find_window
}
start_game

audio_thread() { grep -qs '^SDLAudio' /proc/"$game_pid"/task/*/comm; }
no_audio() { ! audio_thread && ! pactl list short sink-inputs | grep -q .; }
# Sleeping threads have the same count of context switches and processor time a second later.
wakeups() {
    awk '{ sum += $14 + $15 } END { print sum }' /proc/"$game_pid"/task/*/stat
    awk '/voluntary_ctxt_switches/ { sum += $2 } END { print sum }' /proc/"$game_pid"/task/*/status
}
sleeps() {
    local before
    before=$(wakeups)
    sleep 1
    [ "$(wakeups)" = "$before" ]
}
board_shot() { import -window "$E2E_WINDOW" -crop "384x384+$board_x+$board_y" +repage -depth 8 "rgb:$1"; }
pause() { xdotool mousemove --window "$E2E_WINDOW" $start_x $start_y click 1; }

e2e_check "the title screen holds no audio device" no_audio
e2e_check "on the title screen no thread of the game wakes" sleeps

# A shot of the board once it stands still, so that it shows where the balls are while paused.
still_shot() {
    local tries
    board_shot "$1"
    for tries in 1 2 3 4 5; do
        board_shot "$1.again"
        cmp -s "$1" "$1.again" && return 0
        mv "$1.again" "$1"
    done
    return 1
}
# Runs the paused game for a moment and finds from shots before and after where to put the pointer
# to touch a ball of the colour asked for. Balls that travel close together or bounce between the
# shots leave it unclear: the game then runs on a little.
aim() {
    local tries run=0.2
    # Two balls going the same way side by side stay too close to aim at until a wall parts them:
    # the game runs on longer between looks, within the level's 20 s.
    for tries in $(seq 14); do
        [ "$tries" -le 3 ] || run=0.6
        [ "$tries" -le 8 ] || run=1.0
        # A click the game missed leaves it running: one more pauses it.
        still_shot "$work/before.rgb" || { pause && continue; }
        pause
        sleep $run
        pause
        still_shot "$work/after.rgb" || { pause && continue; }
        python3 "$here/sound.py" aim "$work/before.rgb" "$work/after.rgb" "$1" >"$work/aim" && return 0
    done
    return 1
}
# Puts the pointer on the board there while paused and resumes through the button, which leaves
# the game's idea of the pointer where it was. Paused again once the first tick is past, the game
# lets the pointer go when it crosses the background.
touch() {
    local x y
    read -r x y <"$work/aim"
    xdotool mousemove --window "$E2E_WINDOW" $((board_x + x)) $((board_y + y)) \
        mousemove --window "$E2E_WINDOW" $start_x $start_y click 1 sleep 0.15 click 1
    e2e_wait_for no_audio
    xdotool mousemove --window "$E2E_WINDOW" 300 30
}

pause
sleep 0.2
pause
e2e_check "paused, the game holds no audio device" no_audio
# Two balls going the same way side by side can stay too close to aim at for most of a level: the
# game is then started afresh, which lays the balls out anew.
aim_first() {
    local games
    for games in 1 2; do
        aim plain && return 0
        kill "$game_pid"
        e2e_ended_well "$game_pid" || return 1
        start_game
        pause
        sleep 0.2
        pause
    done
    aim plain
}
aim_first || e2e_fail "the balls cannot be told apart"
touch
e2e_check "once its effect has ended, the paused game closes the device again" no_audio
aim target || e2e_fail "the balls cannot be told apart"
touch
# The bonus chime in place of the zap: the replaced file is heard at the next clear.
cp "$work/program/Bleep.wav" "$work/program/Missile.wav.new"
mv "$work/program/Missile.wav.new" "$work/program/Missile.wav"
aim target || e2e_fail "the balls cannot be told apart"
touch
sleep 0.2  # the game hears the pointer cross the background
e2e_check "paused, no thread of the game wakes" sleeps

kill "$recorder"  # it has heard everything by now
e2e_check "pop, zap and chime were heard in turn, each whole" \
    python3 "$here/sound.py" heard "$work/heard.raw" $rate "$effects/Window.wav" "$effects/Missile.wav" \
    "$effects/Bleep.wav"
echo "all sound checks passed"

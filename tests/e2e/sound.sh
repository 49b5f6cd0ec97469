#!/usr/bin/env bash
# The game's effects heard through a private PulseAudio whose null sink is recorded: a plain ball
# touched pops (Window.wav), the target cleared zaps (Missile.wav), and an effect file replaced while
# the game runs is heard at its next play (Bleep.wav). Paused, it holds no audio device and sleeps.
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

e2e_start_game "$work/program/quibbix"

audio_thread() { grep -qs '^SDLAudio' /proc/"$E2E_GAME_PID"/task/*/comm; }
no_audio() { ! audio_thread && ! pactl list short sink-inputs | grep -q .; }
# Sleeping threads have the same count of context switches and processor time a second later.
wakeups() {
    awk '{ sum += $14 + $15 } END { print sum }' /proc/"$E2E_GAME_PID"/task/*/stat
    awk '/voluntary_ctxt_switches/ { sum += $2 } END { print sum }' /proc/"$E2E_GAME_PID"/task/*/status
}
sleeps() {
    local before
    before=$(wakeups) && sleep 1 && [ "$(wakeups)" = "$before" ]
}
e2e_check "the title screen holds no audio device" no_audio
e2e_check "on the title screen no thread of the game wakes" sleeps

# The pointer touches the ball e2e_aim found, and leaves it crossing the background.
touch() { e2e_touch && e2e_wait_for no_audio && xdotool mousemove --window "$E2E_WINDOW" 300 30; }

e2e_start_button
sleep 0.2
e2e_start_button
e2e_check "paused, the game holds no audio device" no_audio
# Balls side by side can stay too close to aim at for most of a level: a new game lays them out anew
# (but not once the effect file is replaced, which a running game must notice by itself).
aim() {
    local games
    for games in 1 2 3; do
        e2e_aim "$1" && return 0
        kill "$E2E_GAME_PID"
        e2e_ended_well "$E2E_GAME_PID" || return 1
        e2e_start_game "$work/program/quibbix"
        e2e_start_button
        sleep 0.2
        e2e_start_button
    done
    return 1
}
aim plain || e2e_fail "the balls cannot be told apart"
touch
e2e_check "once its effect has ended, the paused game closes the device again" no_audio
aim target || e2e_fail "the balls cannot be told apart"
touch
# The bonus chime in place of the zap: the replaced file is heard at the next clear.
cp "$work/program/Bleep.wav" "$work/program/Missile.wav.new"
mv "$work/program/Missile.wav.new" "$work/program/Missile.wav"
e2e_aim target || e2e_fail "the balls cannot be told apart"
touch
sleep 0.2  # the game hears the pointer cross the background
e2e_check "paused, no thread of the game wakes" sleeps

kill "$recorder"  # it has heard everything by now
# The recording must hold exactly the effects named, in turn, each told by its length and energy.
e2e_check "pop, zap and chime were heard in turn, each whole" \
    python3 - "$work/heard.raw" $rate "$effects/Window.wav" "$effects/Missile.wav" "$effects/Bleep.wav" <<'EOF'
import math, struct, sys, wave

# Stretches of sound: a 5 ms envelope above -40 dBFS, ending after 40 ms (8 windows) below it. An
# effect cut short is heard shorter; one the audio server briefly starved on a busy machine is heard
# a little longer, which is no fault of the game.
WINDOW, QUIET, GAP = 0.005, 32768 * 10 ** (-40 / 20), 8
SHORTER, LONGER, ENERGY_DB = 0.015, 0.060, 3.0


def stretches(samples, rate):
    """The stretches of sound as (seconds, energy in dBFS)."""
    size = max(1, int(rate * WINDOW))
    parts = [samples[i : i + size] for i in range(0, len(samples), size)]
    levels = [math.sqrt(sum(s * s for s in part) / len(part)) for part in parts]
    found, start, last = [], None, None
    for i, level in enumerate(levels + [0.0] * (GAP + 1)):
        if level > QUIET:
            start, last = i if start is None else start, i
        elif start is not None and i - last > GAP:
            energy = sum(v * v for v in levels[start : last + 1]) / (last + 1 - start)
            found.append(((last + 1 - start) * WINDOW, 10 * math.log10(energy / 32768**2)))
            start = None
    return found


def samples(raw):
    return list(struct.unpack("<%dh" % (len(raw) // 2), raw[: len(raw) // 2 * 2]))


found = stretches(samples(open(sys.argv[1], "rb").read()), int(sys.argv[2]))
expected = []
for path in sys.argv[3:]:
    with wave.open(path) as w:
        assert w.getsampwidth() == 2 and w.getnchannels() == 1, f"{path}: expected 16-bit mono"
        whole = stretches(samples(w.readframes(w.getnframes())), w.getframerate())
    assert len(whole) == 1, f"{path}: not one stretch of sound"
    expected.append((path, *whole[0]))
print("heard: " + ", ".join("%.3f s at %.1f dBFS" % s for s in found))
print("expected: " + ", ".join("%s %.3f s at %.1f dBFS" % e for e in expected))


# Each tick the pointer rests on a plain ball adds a ball and starts the pop again: the pop may be
# heard longer and louder (a ball placed under the pointer, a late pause), never shorter or quieter.
def fits(heard, wanted, repeats):
    (s, e), (_, ws, we) = heard, wanted
    longer, louder = (1.0, 2 * ENERGY_DB) if repeats else (LONGER, ENERGY_DB)
    return -SHORTER <= s - ws <= longer and -ENERGY_DB <= e - we <= louder


sys.exit(len(found) != len(expected) or not all(fits(h, w, i == 0) for i, (h, w) in enumerate(zip(found, expected))))
EOF
echo "all sound checks passed"

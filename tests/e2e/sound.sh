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
    before=$(wakeups)
    sleep 1
    [ "$(wakeups)" = "$before" ]
}
e2e_check "the title screen holds no audio device" no_audio
e2e_check "on the title screen no thread of the game wakes" sleeps

# The pointer touches the ball e2e_aim found; paused again, the game lets it go when it crosses
# the background.
touch() {
    e2e_touch
    e2e_wait_for no_audio
    xdotool mousemove --window "$E2E_WINDOW" 300 30
}

e2e_start_button
sleep 0.2
e2e_start_button
e2e_check "paused, the game holds no audio device" no_audio
# Two balls going the same way side by side can stay too close to aim at for most of a level: the
# game is then started afresh, which lays the balls out anew (not once the effect file is replaced,
# which a running game must notice by itself).
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
# The recording (signed 16-bit mono) must hold exactly the effects named, in that order, each
# recognised by how long it sounds and by its energy, measured the same way on the file.
e2e_check "pop, zap and chime were heard in turn, each whole" \
    python3 - "$work/heard.raw" $rate "$effects/Window.wav" "$effects/Missile.wav" "$effects/Bleep.wav" <<'EOF'
import math, struct, sys, wave

# The envelope is measured over 5 ms; a stretch of sound ends after 40 ms below -40 dBFS.
WINDOW_SECONDS = 0.005
QUIET = 32768 * 10 ** (-40 / 20)
GAP_SECONDS = 0.040
# An effect cut short is heard shorter; one the audio server briefly starved on a busy machine is
# heard a little longer, which is no fault of the game.
SHORTER_TOLERANCE = 0.015
LONGER_TOLERANCE = 0.060
ENERGY_TOLERANCE_DB = 3.0


def envelope(samples, rate):
    size = max(1, int(rate * WINDOW_SECONDS))
    return [
        math.sqrt(sum(s * s for s in samples[i : i + size]) / len(samples[i : i + size]))
        for i in range(0, len(samples), size)
    ]


def stretches(samples, rate):
    """The stretches of sound as (seconds, energy in dBFS)."""
    levels = envelope(samples, rate)
    gap = int(GAP_SECONDS / WINDOW_SECONDS)
    found, start, last = [], None, None
    for i, level in enumerate(levels + [0.0] * (gap + 1)):
        if level > QUIET:
            if start is None:
                start = i
            last = i
        elif start is not None and i - last > gap:
            part = levels[start : last + 1]
            energy = sum(v * v for v in part) / len(part)
            found.append(((last + 1 - start) * WINDOW_SECONDS, 10 * math.log10(energy / 32768**2)))
            start = None
    return found


def read_wav(path):
    with wave.open(path) as w:
        if w.getsampwidth() != 2 or w.getnchannels() != 1:
            sys.exit(f"{path}: expected 16-bit mono")
        frames = w.readframes(w.getnframes())
        return list(struct.unpack("<%dh" % (len(frames) // 2), frames)), w.getframerate()


def heard(recording, rate, effects):
    """Whether the recording holds exactly the effects, in turn, each told by its length and energy."""
    raw = open(recording, "rb").read()
    samples = list(struct.unpack("<%dh" % (len(raw) // 2), raw[: len(raw) // 2 * 2]))
    found = stretches(samples, rate)
    print("heard: " + ", ".join("%.3f s at %.1f dBFS" % s for s in found))
    expected = []
    for path in effects:
        whole = stretches(*read_wav(path))
        if len(whole) != 1:
            sys.exit(f"{path}: not one stretch of sound")
        expected.append((path, *whole[0]))
    print("expected: " + ", ".join("%s %.3f s at %.1f dBFS" % e for e in expected))
    if len(found) != len(expected):
        print(f"heard {len(found)} sounds, expected {len(expected)}")
        return False
    ok = True
    for (seconds, energy), (path, want_seconds, want_energy) in zip(found, expected):
        if (
            not -SHORTER_TOLERANCE <= seconds - want_seconds <= LONGER_TOLERANCE
            or abs(energy - want_energy) > ENERGY_TOLERANCE_DB
        ):
            print(f"{path}: heard {seconds:.3f} s at {energy:.1f} dBFS")
            ok = False
    return ok


sys.exit(0 if heard(sys.argv[1], int(sys.argv[2]), sys.argv[3:]) else 1)
EOF
echo "all sound checks passed"

#!/usr/bin/env python3
"""What the end-to-end scripts need worked out: where to put the pointer (e2e_aim of lib.sh), and
which effects sound.sh heard.

  sound.py aim BEFORE.rgb AFTER.rgb target|plain
      Two shots of the 384 x 384 board (raw 8-bit RGB) with the game paused, taken a few ticks
      apart. Prints "X Y": the board pixel where, on the first tick after the game resumes, the
      pointer rests on the target ball, or on a plain ball for that one tick only (the ball has
      moved off the pixel by the next). Exits 1 when the balls overlap, bounced between the shots
      or lie too close together for the picture to be clear.

  sound.py heard RECORDING.raw RATE EFFECT.wav...
      The recording (signed 16-bit mono) must hold exactly the effects named, in that order, each
      recognised by how long it sounds and by its energy, measured the same way on the file.
"""

import math
import re
import struct
import sys
import wave

BOARD = 384
CELL = 32
# The ball's drawn pixels start one pixel into its 32 x 32 cell, and number 694.
SHAPE_OFFSET = 1
SHAPE_PIXELS = 694
# How long the pointer rests on the board, in ticks of 20 ms, before the game is paused again.
TICKS_RESTING = 20
# The envelope is measured over 5 ms; a stretch of sound ends after 40 ms below -40 dBFS.
WINDOW_SECONDS = 0.005
QUIET = 32768 * 10 ** (-40 / 20)
GAP_SECONDS = 0.040
# An effect cut short is heard shorter; one the audio server briefly starved on a busy machine is
# heard a little longer, which is no fault of the game.
SHORTER_TOLERANCE = 0.015
LONGER_TOLERANCE = 0.060
ENERGY_TOLERANCE_DB = 3.0


def balls(path):
    """The balls on a board shot, as (colour, set of pixels): touching balls make one."""
    data = open(path, "rb").read()
    lit = {}
    for byte in re.finditer(rb"[^\x00]", data):
        i = byte.start() // 3
        if (i % BOARD, i // BOARD) not in lit:
            r, g, b = data[3 * i : 3 * i + 3]
            lit[(i % BOARD, i // BOARD)] = g > 2 * b
    found = []
    while lit:
        start, green = lit.popitem()
        pixels, todo, greens = {start}, [start], int(green)
        while todo:
            x, y = todo.pop()
            for near in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                if near in lit:
                    greens += lit.pop(near)
                    pixels.add(near)
                    todo.append(near)
        found.append(("target" if 2 * greens > len(pixels) else "plain", pixels))
    return found


def cell(pixels):
    return (min(x for x, _ in pixels) - SHAPE_OFFSET, min(y for _, y in pixels) - SHAPE_OFFSET)


def box(pixels):
    return (min(x for x, _ in pixels), min(y for _, y in pixels), max(x for x, _ in pixels), max(y for _, y in pixels))


def next_step(position, step):
    """The step a ball at POSITION takes next: it turns round first where it would leave the board."""
    return tuple(-s if not 0 <= p + s <= BOARD - CELL else s for p, s in zip(position, step))


def steps(before, after):
    """The next step of each ball in AFTER, where the shots tell it: None for a ball that bounced
    between them, or that touches another."""
    found = []
    for colour, pixels in after:
        now = cell(pixels)
        earlier = [cell(p) for c, p in before if c == colour and len(p) == SHAPE_PIXELS]
        moved = [(now[0] - x, now[1] - y) for x, y in earlier if max(abs(now[0] - x), abs(now[1] - y)) < 2 * CELL]
        step = None
        if len(pixels) == SHAPE_PIXELS and len(moved) == 1 and abs(moved[0][0]) == abs(moved[0][1]) != 0:
            step = next_step(now, tuple(1 if m > 0 else -1 for m in moved[0]))
        found.append((colour, pixels, step))
    return found


def reached(x, y, pixels, step, ticks):
    """Whether a ball, moving on as it goes, covers or nears (x, y) within TICKS ticks. A ball whose
    way is not known is given a wide berth."""
    left, top, right, bottom = box(pixels)
    if step is None:
        return left - 12 <= x <= right + 12 and top - 12 <= y <= bottom + 12
    return any(
        left + k * step[0] - 2 <= x <= right + k * step[0] + 2 and top + k * step[1] - 2 <= y <= bottom + k * step[1] + 2
        for k in range(ticks + 1)
    )


def aim(before_path, after_path, wanted):
    """Where to rest the pointer to touch a ball of the WANTED colour on the next tick."""
    balls_now = steps(balls(before_path), balls(after_path))
    for colour, pixels, step in balls_now:
        if colour != wanted or step is None:
            continue
        now = cell(pixels)
        if colour == "target":
            x, y = now[0] + step[0] + CELL // 2, now[1] + step[1] + CELL // 2
        else:
            # The drawn pixel furthest behind the ball's way is under the pointer after one step
            # and behind the ball after two.
            behind = min(pixels, key=lambda p: (p[0] * step[0] + p[1] * step[1], p))
            x, y = behind[0] + step[0], behind[1] + step[1]
        # No other ball may come near while the pointer rests there.
        if not any(reached(x, y, p, s, TICKS_RESTING) for _, p, s in balls_now if p is not pixels):
            return x, y
    return None


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


def main():
    if len(sys.argv) == 5 and sys.argv[1] == "aim":
        found = aim(sys.argv[2], sys.argv[3], sys.argv[4])
        if found is None:
            sys.exit(1)
        print(*found)
    elif len(sys.argv) >= 5 and sys.argv[1] == "heard":
        sys.exit(0 if heard(sys.argv[2], int(sys.argv[3]), sys.argv[4:]) else 1)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()

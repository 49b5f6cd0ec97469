#!/usr/bin/env python3
"""Synthesise the game's sound effects and write them under assets/sounds/.

Run from anywhere: `python3 tools/make_sounds.py`.  Only the standard library
is used and the noise generator has a fixed seed, so re-running the script
rewrites byte-identical files.

All effects are 16-bit signed mono PCM at 22050 Hz, peaking near -3 dBFS.
"""

import math
import os
import random
import struct
import wave

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOUND_DIR = os.path.join(ROOT, "assets", "sounds")

RATE = 22050
PEAK_DBFS = -3.0
TWO_PI = 2.0 * math.pi


def envelope(i, attack, decay):
    """Linear attack over `attack` seconds, then exponential decay with time
    constant `decay` seconds."""
    t = i / RATE
    rise = min(1.0, t / attack) if attack > 0 else 1.0
    return rise * math.exp(-t / decay)


def finish(samples, fade_in=0.003, fade_out=0.015):
    """Remove DC, smooth both ends with raised-cosine fades and scale the
    result so its peak sits at PEAK_DBFS."""
    mean = sum(samples) / len(samples)
    out = [s - mean for s in samples]
    n = len(out)
    n_in, n_out = int(fade_in * RATE), int(fade_out * RATE)
    for i in range(n_in):
        out[i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_in)
    for i in range(n_out):
        out[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_out)
    peak = max(abs(s) for s in out)
    gain = 32767 * 10 ** (PEAK_DBFS / 20) / peak
    return [int(round(s * gain)) for s in out]


def write_wav(name, samples):
    path = os.path.join(SOUND_DIR, name)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(struct.pack("<%dh" % len(samples), *samples))
    print("wrote", os.path.relpath(path, ROOT), "(%.3f s)" % (len(samples) / RATE))


def missile():
    """Green ball cleared: a bright downward zap with a hiss of noise."""
    rng = random.Random(1234)
    n = int(0.30 * RATE)
    phase, hiss, out = 0.0, 0.0, []
    for i in range(n):
        x = i / n
        freq = 2400.0 * (220.0 / 2400.0) ** (x ** 0.7)  # fast exponential fall
        phase += TWO_PI * freq / RATE
        tone = math.sin(phase) + 0.35 * math.sin(2 * phase) + 0.15 * math.sin(3 * phase)
        hiss += 0.35 * (rng.uniform(-1.0, 1.0) - hiss)  # gently low-passed noise
        noise = hiss * math.exp(-i / (0.06 * RATE))
        out.append((tone + 0.9 * noise) * envelope(i, 0.004, 0.11))
    return finish(out, fade_out=0.03)


def bleep():
    """Red bonus ball: a rising C-E-G-C chime, each note left ringing."""
    notes = [1046.50, 1318.51, 1567.98, 2093.00]
    step, n = 0.075, int(0.42 * RATE)
    out = [0.0] * n
    for k, freq in enumerate(notes):
        start = int(k * step * RATE)
        ring = 0.16 if k == len(notes) - 1 else 0.07
        for i in range(n - start):
            p = TWO_PI * freq * i / RATE
            # A little detuned octave partial gives it a bell-like shimmer.
            tone = math.sin(p) + 0.3 * math.sin(2.003 * p) + 0.1 * math.sin(3 * p)
            out[start + i] += tone * envelope(i, 0.003, ring)
    return finish(out, fade_out=0.04)


def window():
    """Plain ball touched: a short soft pop that is at full level almost at
    once, so it still sounds right when the next one cuts it off."""
    n = int(0.10 * RATE)
    phase, out = 0.0, []
    for i in range(n):
        freq = 520.0 + 500.0 * math.exp(-i / (0.012 * RATE))  # quick downward chirp
        phase += TWO_PI * freq / RATE
        tone = math.sin(phase) + 0.2 * math.sin(2 * phase)
        out.append(tone * envelope(i, 0.0015, 0.028))
    return finish(out, fade_in=0.0015, fade_out=0.02)


def main():
    os.makedirs(SOUND_DIR, exist_ok=True)
    write_wav("Missile.wav", missile())
    write_wav("Bleep.wav", bleep())
    write_wav("Window.wav", window())


if __name__ == "__main__":
    main()

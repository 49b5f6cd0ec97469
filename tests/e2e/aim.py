#!/usr/bin/env python3
"""Where to rest the pointer, for e2e_aim of lib.sh:  aim.py BEFORE.rgb AFTER.rgb target|plain

BEFORE and AFTER: raw RGB shots of the paused board a few ticks apart. Prints "X Y", the board pixel
where the pointer rests on the target, or on a plain ball for one tick only, on the first tick after
the game resumes. Exits 1 when balls overlap, bounced between the shots or lie too close together.
"""

import re
import sys

BOARD, CELL = 384, 32
# The ball's 694 drawn pixels start one pixel into its cell; the pointer rests 20 ticks on the board.
SHAPE_OFFSET, SHAPE_PIXELS, TICKS_RESTING = 1, 694, 20


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
    """The next step of each ball in AFTER: None for one that bounced between the shots or touches another."""
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
    """Whether a ball covers or nears (x, y) within TICKS ticks; one whose way is unknown gets a wide berth."""
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


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    found = aim(*sys.argv[1:])
    sys.exit(1) if found is None else print(*found)

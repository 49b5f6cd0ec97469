#!/usr/bin/env python3
"""Measures Quibbix on the machine it runs on and prints the table the README shows.

The benchmarks time one game tick with 101 balls against one plain copy of the board image;
the real game then runs in a private X server (Xvfb with openbox) for start-up time, resident
memory and processor use, idle and in play with 101 balls. Needs Debian's python3-pil, xvfb,
openbox and xdotool, and the release and bench builds (make perf builds them).

    perf.py BUILD_DIR BENCH_EXECUTABLE SCENARIO_EXECUTABLE
"""
import json
import os
import platform
import statistics
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops

TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")
BOARD = (12, 74, 396, 458)  # the board's window pixels: left, top, right, bottom
START = (523, 286)
OK = (481, 314)
EXIT_ICON = (634, 22)
BACKGROUND = (200, 30)


def run(*args, **kwargs):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kwargs).stdout


def benchmarks(bench):
    out = json.loads(run(bench, "--benchmark_format=json", "--benchmark_repetitions=5",
                         "--benchmark_report_aggregates_only=true"))
    median = {b["run_name"]: b["cpu_time"] / 1000.0 for b in out["benchmarks"] if b["aggregate_name"] == "median"}
    return median["BM_BallHandler101Balls"], median["BM_BoardCopy"], median["BM_ComposeWholeFrame"]


class XSession:
    """A private X server with a window manager."""

    def __init__(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            self.display = ":" + pipe.readline().strip()
        os.environ["DISPLAY"] = self.display
        self.wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)

    def close(self):
        for process in (self.wm, self.xvfb):
            process.terminate()
            process.wait()


class Game:
    """The real game in its window, driven with xdotool."""

    def __init__(self, executable, config):
        env = dict(os.environ, XDG_CONFIG_HOME=config)
        self.started = time.monotonic()
        self.process = subprocess.Popen([executable], env=env, stderr=subprocess.DEVNULL)
        self.window = None
        while self.window is None:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Quibbix$"],
                                   capture_output=True, text=True).stdout.split()
            if found:
                self.window = found[0]
                self.shown = time.monotonic() - self.started
            else:
                time.sleep(0.002)

    def cpu_seconds(self):
        with open(f"/proc/{self.process.pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / TICKS_PER_SECOND

    def resident_mb(self):
        with open(f"/proc/{self.process.pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024.0
        return 0.0

    def cpu_share(self, seconds):
        before = self.cpu_seconds()
        time.sleep(seconds)
        return 100.0 * (self.cpu_seconds() - before) / seconds

    def move(self, x, y):
        run("xdotool", "mousemove", "--window", self.window, str(x), str(y))

    def click(self, x, y):
        run("xdotool", "mousemove", "--window", self.window, str(x), str(y), "click", "1")
        time.sleep(0.15)

    def shot(self):
        path = tempfile.mktemp(suffix=".png")
        run("import", "-window", self.window, path)
        image = Image.open(path).convert("RGB")
        os.unlink(path)
        return image

    def quit(self):
        self.click(*EXIT_ICON)
        self.process.wait(timeout=10)


def plain_ball(image):
    """The centre of a cyan ball on the board, if one shows."""
    left, top, right, bottom = BOARD
    for y in range(top + 8, bottom - 8, 3):
        for x in range(left + 8, right - 8, 3):
            r, g, b = image.getpixel((x, y))
            if r < 60 and g > 120 and b > 120 and image.getpixel((x + 6, y + 6))[2] > 60:
                return x + 4, y + 4
    return None


def balls_counter(image, digits):
    """What the balls counter shows, read by comparing its cells with the figure sprites."""
    value = 0
    for left in (500, 522, 544):
        cell = image.crop((left, 196, left + 20, 224))
        figure = min(range(10), key=lambda d: sum(ImageChops.difference(cell, digits[d]).convert("L").getdata()))
        value = value * 10 + figure
    return value


def shows(image, sprite, left, top):
    """Whether the window shows the sprite with its top-left corner at (left, top)."""
    box = (left, top, left + sprite.width, top + sprite.height)
    return ImageChops.difference(image.crop(box), sprite).getbbox() is None


def keep_playing(game, pictures, seconds):
    """Plays on: a game that ends is closed with Enter and OK, and a new one is started."""
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        time.sleep(1)
        image = game.shot()
        if shows(image, pictures["ok"], 458, 300):
            run("xdotool", "key", "Return")
            game.click(*OK)
        elif shows(image, pictures["start"], 468, 274):
            game.click(*START)
            game.move(*BACKGROUND)


def fill_the_board(game, digits):
    """Rests the pointer on plain balls, each tick of which adds a ball, until 101 are in play."""
    for _ in range(60):
        game.click(*START)  # pause
        image = game.shot()
        if balls_counter(image, digits) >= 101:
            game.move(*BACKGROUND)
            game.click(*START)
            return True
        spot = plain_ball(image)
        if spot:
            game.move(*spot)
        game.click(*START)  # resume: the board keeps the last pointer position
        time.sleep(0.4)
    return False


def main():
    build, bench, scenario = sys.argv[1:4]
    executable = os.path.join(build, "quibbix")
    tick, copy, frame = benchmarks(bench)

    work = tempfile.mkdtemp()
    sprites = "".join(f"sprite frmGraphics.imgDigit({d}) {work}/d{d}.png\n" for d in range(10))
    sprites += f"sprite frmMain.pctOk {work}/ok.png\nsprite frmGraphics.pctStart {work}/start.png\n"
    subprocess.run([scenario, "-"], check=True, text=True, input="start\n" + sprites)
    digits = [Image.open(f"{work}/d{d}.png").convert("RGB").crop((0, 0, 20, 28)) for d in range(10)]
    pictures = {name: Image.open(f"{work}/{name}.png").convert("RGB") for name in ("ok", "start")}

    session = XSession()
    try:
        startups = []
        for _ in range(5):
            game = Game(executable, work)
            startups.append(game.shown * 1000)
            time.sleep(0.3)
            game.quit()
        game = Game(executable, work)
        time.sleep(1.0)
        rss_start = game.resident_mb()
        idle = game.cpu_share(10)
        game.click(*START)
        began = time.monotonic()
        full = fill_the_board(game, digits)
        play = game.cpu_share(10) if full else float("nan")
        keep_playing(game, pictures, 60 - (time.monotonic() - began))
        rss_play = game.resident_mb()
        game.quit()
    finally:
        session.close()

    cpu = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as info:
            cpu = next(line.split(":", 1)[1].strip() for line in info if line.startswith("model name"))
    except (OSError, StopIteration):
        pass
    print(f"Measured {time.strftime('%Y-%m-%d')} on {cpu}, {os.cpu_count()} cores, {platform.system()} "
          f"{platform.release()}\n")
    print("| measure | value | target |")
    print("|---|---|---|")
    print(f"| `BallHandler`, 101 balls | {tick:.1f} µs | |")
    print(f"| one plain copy of the 384 × 384 board | {copy:.1f} µs | |")
    print(f"| one tick in board copies | {tick / copy:.2f} | ≤ 2 |")
    print(f"| compositing the whole 654 × 472 frame | {frame:.1f} µs | |")
    print(f"| start-up, exec to the first frame (median of 5) | {statistics.median(startups):.0f} ms | ≤ 150 ms |")
    print(f"| resident memory after start-up | {rss_start:.1f} MB | < 25 MB |")
    print(f"| resident memory after a minute's play | {rss_play:.1f} MB | < 25 MB |")
    print(f"| processor, 10 s idle | {idle:.2f} % of a core | < 0.2 % |")
    print(f"| processor, 10 s of play with 101 balls | {play:.2f} % of a core | < 2 % |")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Measures Quibbix side by side with a bare SDL2 window and prints the performance table.

Every figure of the game is set beside the same figure of a yardstick measured in the same run,
taken in turns with it (five pairs; medians, with the spread from the lowest to the highest):
    - bare_window: the game's borderless 654 x 472 window, filled once, sleeping in SDL_WaitEvent;
    - bare_window --board: the same, redrawing the board and one counter cell at 50 Hz through
      the game's present path;
    - BM_BoardCopy: one plain copy of the 384 x 384 board, for the benchmark of one game tick with
      its balls drawn into window memory.
Everything runs in a private X server (Xvfb with openbox), session bus and PulseAudio server (a
null sink) that tests/e2e/session.sh starts and stops around this script. The game is driven with
xdotool and watched in screenshots.

    tests/e2e/session.sh 1600x1200 perf.py RELEASE_BUILD_DIR BENCH_BUILD_DIR [PAGE]

With PAGE (make perf gives docs/performance.md), the table also replaces what stands between the
page's two marks.
"""
import json
import os
import platform
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops, ImageGrab

TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")
PAIRS = 5
START_PAIRS = 11  # start-up is the noisiest figure and the quickest to take
PLAY_SECONDS = 10.0
IDLE_SECONDS = 10.0
IDLE_SETTLE = 2.0
WIDTH, HEIGHT = 654, 472
BOARD = (12, 74, 396, 458)  # the board's window pixels: left, top, right, bottom
START = (523, 286)
BUTTON = (468, 274)  # the top-left corner of the start button
BACKGROUND = (200, 30)
BALLS_CELLS = (500, 522, 544), 196
TIME_CELLS = (500, 522, 544), 156


BEGAN = time.monotonic()


def log(text):
    print(f"[{time.monotonic() - BEGAN:5.0f} s] {text}", file=sys.stderr, flush=True)


def run(*args, **kwargs):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kwargs).stdout


# --- what the kernel says about a process -------------------------------------------------------

def read(path):
    with open(path) as file:
        return file.read()


def thread(base):
    """A thread's name, nanoseconds on a processor and context switches; None once it has gone."""
    try:
        name = read(f"{base}/comm").strip()
        fields = read(f"{base}/stat").rsplit(")", 1)[1].split()
        status = read(f"{base}/status")
    except OSError:
        return None
    nanoseconds = (int(fields[11]) + int(fields[12])) * 1e9 / TICKS_PER_SECOND
    try:
        # The scheduler counts in nanoseconds where utime and stime count whole clock ticks.
        nanoseconds = int(read(f"{base}/schedstat").split()[0])
    except (OSError, ValueError, IndexError):
        pass
    switches = sum(int(n) for n in re.findall(r"^(?:non)?voluntary_ctxt_switches:\s+(\d+)", status, re.M))
    return name, nanoseconds, switches


def threads(pid):
    """Every thread of the process, by thread id."""
    try:
        tids = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return {}
    found = {tid: thread(f"/proc/{pid}/task/{tid}") for tid in tids}
    return {tid: about for tid, about in found.items() if about is not None}


def resident_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return float("nan")


class Activity:
    """What the threads of a process did between two looks: processor share and wakeups."""

    def __init__(self, pid):
        self.pid = pid
        self.before = threads(pid)
        self.started = time.monotonic()

    def finish(self):
        after = threads(self.pid)
        seconds = time.monotonic() - self.started
        self.percent = 0.0
        self.wakeups = 0
        self.woken = {}
        self.busy = {}
        for tid in set(self.before) | set(after):
            name, ns0, sw0 = self.before.get(tid, (None, 0, 0))
            name1, ns1, sw1 = after.get(tid, (name, ns0, sw0 + 1))  # a thread that ended woke to end
            name = name or name1
            share = 100.0 * (ns1 - ns0) / 1e9 / seconds
            self.percent += share
            self.busy[name] = self.busy.get(name, 0.0) + share
            if sw1 > sw0:
                self.wakeups += sw1 - sw0
                self.woken[name] = self.woken.get(name, 0) + sw1 - sw0
        return self

    def quiet(self):
        return self.percent < 0.005 and self.wakeups == 0

    def __str__(self):
        return f"{self.percent:.2f} % CPU, {self.wakeups} wakeups"

    def threads(self):
        return ", ".join(f"{name} {share:.2f}" for name, share in sorted(self.busy.items()) if share >= 0.005)


# --- the private session -------------------------------------------------------------------------

class Session:
    """The private X server with a window manager, session bus and PulseAudio server that
    tests/e2e/session.sh started for this run, as the environment describes it."""

    def __init__(self, work):
        self.work = work
        self.display = os.environ["DISPLAY"]
        self.xvfb_pid = int(os.environ["E2E_XVFB_PID"])
        self.env = dict(os.environ, HOME=work)

    def xdotool(self, *args):
        return run("xdotool", *args, env=self.env)


class Program:
    """A program started through first_frame, which times its first frame and then waits for it."""

    def __init__(self, session, first_frame, args, config=None):
        self.session = session
        env = dict(session.env)
        if config:
            env["XDG_CONFIG_HOME"] = config
        self.watcher = subprocess.Popen([first_frame, *args], env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        line = self.watcher.stdout.readline().split()
        if len(line) != 3:
            self.watcher.wait()
            raise RuntimeError(f"{args[0]} showed no window")
        self.first_frame_ms, self.pid, self.window = float(line[0]), int(line[1]), line[2]
        self.geometry = None

    def stop(self):
        # The watcher waits for the program, so its id cannot have been given to another process.
        if self.watcher.poll() is None:
            os.kill(self.pid, signal.SIGTERM)
            self.watcher.wait(timeout=10)

    # What follows is for the game, which is played through its window.
    def place(self):
        if self.geometry is None:
            shell = dict(line.split("=", 1) for line in
                         self.session.xdotool("getwindowgeometry", "--shell", self.window).split())
            self.geometry = tuple(int(shell[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))
        return self.geometry

    def zoom(self):
        return max(1, round(self.place()[2] / WIDTH))

    def move(self, x, y):
        z = self.zoom()
        self.session.xdotool("mousemove", "--window", self.window, str(x * z + z // 2), str(y * z + z // 2))

    def click(self, x, y):
        z = self.zoom()
        self.session.xdotool("mousemove", "--window", self.window, str(x * z + z // 2), str(y * z + z // 2),
                             "click", "1")
        time.sleep(0.15)

    def shot(self):
        """The window as the player sees it, at one window pixel per game pixel."""
        left, top, width, height = self.place()
        image = ImageGrab.grab(bbox=(left, top, left + width, top + height), xdisplay=self.session.display)
        image = image.convert("RGB")
        if self.zoom() != 1:
            image = image.resize((WIDTH, HEIGHT), Image.NEAREST)
        return image


# --- reading the game's screen ---------------------------------------------------------------

def plain_ball(image):
    """The centre of a cyan ball on the board, if one shows."""
    left, top, right, bottom = BOARD
    for y in range(top + 8, bottom - 8, 3):
        for x in range(left + 8, right - 8, 3):
            r, g, b = image.getpixel((x, y))
            if r < 60 and g > 120 and b > 120 and image.getpixel((x + 6, y + 6))[2] > 60:
                return x + 4, y + 4
    return None


def sprites(scenario, work):
    """The figures and the pause button as the game draws them, from the scenario runner."""
    script = "".join(f"sprite frmGraphics.imgDigit({d}) {work}/d{d}.png\n" for d in range(10))
    script += f"sprite frmGraphics.pctPause {work}/pause.png\n"
    subprocess.run([scenario, "-"], check=True, text=True, input="start\n" + script, stdout=subprocess.DEVNULL)
    return {"digits": [Image.open(f"{work}/d{d}.png").convert("RGB").crop((0, 0, 20, 28)) for d in range(10)],
            "pause": Image.open(f"{work}/pause.png").convert("RGB")}


def counter(image, digits, cells):
    """What a three-cell counter shows, read by comparing its cells with the figure sprites."""
    lefts, top = cells
    value = 0
    for left in lefts:
        cell = image.crop((left, top, left + 20, top + 28))
        figure = min(range(10), key=lambda d: sum(ImageChops.difference(cell, digits[d]).convert("L").getdata()))
        value = value * 10 + figure
    return value


def running(image, pictures):
    """Whether the start button offers to pause, which it does while a game runs."""
    return shows(image, pictures["pause"], *BUTTON)


def shows(image, sprite, left, top):
    box = (left, top, left + sprite.width, top + sprite.height)
    return ImageChops.difference(image.crop(box), sprite).getbbox() is None


def fill_the_board(game, pictures):
    """Starts a game and keeps the pointer on plain balls, each tick on one of which adds a ball,
    until 101 are in play; then takes the pointer off the board. Returns the seconds left on the
    clock, or None when the game did not get there."""
    for _ in range(5):
        if running(game.shot(), pictures):
            break
        game.click(*START)
    until = time.monotonic() + 20
    while time.monotonic() < until:
        image = game.shot()
        if not running(image, pictures):
            return None
        if counter(image, pictures["digits"], BALLS_CELLS) >= 101:
            game.move(*BACKGROUND)
            return counter(image, pictures["digits"], TIME_CELLS)
        spot = plain_ball(image)
        if spot:
            game.move(*spot)
        time.sleep(0.05)
    return None


# --- the measurements --------------------------------------------------------------------------

class Series:
    """Pairs of one figure for the game and its yardstick."""

    def __init__(self):
        self.game, self.base = [], []

    def ratio(self):
        return statistics.median(self.game) / statistics.median(self.base)

    def ratios(self):
        return [g / b for g, b in zip(self.game, self.base) if b > 0]


def benchmarks(bench):
    """One tick with 101 and with 2 balls, alone and with the window's repaint that draws its
    balls, each beside one copy of the board."""
    names = ("BallHandler101Balls", "TickAndRepaint101Balls", "BallHandler2Balls", "TickAndRepaint2Balls")
    out = json.loads(run(bench, "--benchmark_format=json", f"--benchmark_repetitions={PAIRS}",
                         "--benchmark_enable_random_interleaving=true", "--benchmark_min_time=0.2",
                         f"--benchmark_filter=^BM_({'|'.join(names)}|BoardCopy)$"))
    times = {}
    for result in out["benchmarks"]:
        if result.get("run_type") == "iteration":
            times.setdefault(result["run_name"], []).append(result["cpu_time"] / 1000.0)
    series = {}
    for name in names:
        series[name] = Series()
        series[name].game, series[name].base = times[f"BM_{name}"], times["BM_BoardCopy"]
    return series


def start_up(session, tools, game):
    """Exec to the first frame, and resident memory a second after it, in turns."""
    frames, memory = Series(), Series()
    session.xdotool("mousemove", "0", "0")
    for pair in range(-1, START_PAIRS):  # pair -1 only fills the page cache
        warm = pair < 0
        for is_game in (True, False) if pair % 2 else (False, True):
            program = Program(session, tools["first_frame"], [game] if is_game else [tools["bare_window"]],
                              tools["config"])
            time.sleep(1.0)
            rss = resident_mb(program.pid)
            program.stop()
            time.sleep(0.2)  # the X server forgets the window
            if not warm:
                (frames.game if is_game else frames.base).append(program.first_frame_ms)
                (memory.game if is_game else memory.base).append(rss)
        if not warm:
            log(f"  start-up {len(frames.game)}/{START_PAIRS}: game {frames.game[-1]:.0f} ms {memory.game[-1]:.1f} MB, "
                f"bare {frames.base[-1]:.0f} ms {memory.base[-1]:.1f} MB")
    return frames, memory


def idle(session, tools, game, pictures):
    """The game on its title screen and paused, beside the bare window, all left alone."""
    bare = Program(session, tools["first_frame"], [tools["bare_window"]])
    player = Program(session, tools["first_frame"], [game], tools["config"])
    try:
        session.xdotool("mousemove", "0", "0")
        time.sleep(IDLE_SETTLE)
        title, base = Activity(player.pid), Activity(bare.pid)
        time.sleep(IDLE_SECONDS)
        title.finish()
        base.finish()
        bare.stop()
        for wanted in (True, False):  # start a game, then pause it
            for _ in range(5):
                if running(player.shot(), pictures) == wanted:
                    break
                player.click(*START)
            else:
                raise RuntimeError("the start button did not start and pause a game")
        session.xdotool("mousemove", "0", "0")
        time.sleep(IDLE_SETTLE)
        paused = Activity(player.pid)
        time.sleep(IDLE_SECONDS)
        paused.finish()
    finally:
        bare.stop()
        player.stop()
    log(f"  idle: title {title}, paused {paused}, bare window {base}")
    return title, paused, base


def play_once(session, tools, args, config, pictures=None, zoom=1):
    """CPU of a program, and of the X server, over PLAY_SECONDS. The game gets 101 balls first
    and has to keep them, running, to the end; None if it did not."""
    program = Program(session, tools["first_frame"], args, config)
    try:
        if pictures is not None:
            if program.zoom() != zoom:
                return "no zoom"
            left = fill_the_board(program, pictures)
            if left is None or left < PLAY_SECONDS + 2:
                return None
            time.sleep(0.3)  # the pointer's last move
        else:
            time.sleep(1.0)
        process, server = Activity(program.pid), Activity(session.xvfb_pid)
        time.sleep(PLAY_SECONDS)
        process.finish()
        server.finish()
        if pictures is not None:
            image = program.shot()
            counted = left - counter(image, pictures["digits"], TIME_CELLS)
            if (not running(image, pictures) or counter(image, pictures["digits"], BALLS_CELLS) < 101
                    or abs(counted - PLAY_SECONDS) > 2):
                return None
        log(f"    {os.path.basename(args[0])}{' zoom 2' if zoom == 2 else ''}: {process.percent:.2f} % "
            f"({process.threads()}), X server {server.percent:.2f} %")
        return process.percent, server.percent
    finally:
        program.stop()


def play(session, tools, game, pictures):
    """Play with 101 balls at zoom 1 and 2, in turns with the bare window drawing the board."""
    cpu, server, zoom, zoom_server = Series(), Series(), Series(), Series()
    zoom.missing = None
    for round_ in range(PAIRS):
        bare = play_once(session, tools, [tools["bare_window"], "--board"], None)
        cpu.base.append(bare[0])
        server.base.append(bare[1])
        for z in (1, 2) if zoom.missing is None else (1,):
            for _ in range(3):
                result = play_once(session, tools, [game], tools[f"zoom{z}"], pictures, z)
                if result is not None:
                    break
            if z == 1 and result is None:
                raise RuntimeError("could not keep 101 balls in play for a measurement")
            if z == 1:
                cpu.game.append(result[0])
                server.game.append(result[1])
                zoom.base.append(result[0])
                zoom_server.base.append(result[1])
            elif result == "no zoom":
                zoom.missing = "not available: `Zoom=2` leaves the window at 654 × 472"
            elif result is None:
                zoom.missing = "not measured: 101 balls could not be kept in play at zoom 2"
            else:
                zoom.game.append(result[0])
                zoom_server.game.append(result[1])
        log(f"  play {round_ + 1}/{PAIRS}: game {cpu.game[-1]:.2f} %, bare {cpu.base[-1]:.2f} %"
            + (f", zoom 2 {zoom.game[-1]:.2f} %" if zoom.missing is None else ""))
    return cpu, server, zoom, zoom_server


# --- the table -----------------------------------------------------------------------------------

def spread(values, unit, digits):
    low, mid, high = min(values), statistics.median(values), max(values)
    return f"{mid:.{digits}f}{unit} ({low:.{digits}f}–{high:.{digits}f})"


def row(name, series, unit, digits, target):
    """A figure beside its yardstick; without a target, shown for what it tells only."""
    ratios = series.ratios()
    ratio = series.ratio()
    wanted = "" if target is None else f"≤ {target} ×"
    holds = "" if target is None else "yes" if ratio <= target else "**no**"
    return (f"| {name} | {spread(series.game, unit, digits)} | {spread(series.base, unit, digits)} | "
            f"{ratio:.2f} ({min(ratios):.2f}–{max(ratios):.2f}) | {wanted} | {holds} |")


def machine():
    cpu = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as info:
            cpu = next(line.split(":", 1)[1].strip() for line in info if line.startswith("model name"))
    except (OSError, StopIteration):
        pass
    load = os.getloadavg()[0]
    return (f"Measured {time.strftime('%Y-%m-%d')} on {cpu}, {os.cpu_count()} cores, {platform.system()} "
            f"{platform.release()} (load average {load:.1f} at the start)")


BEGIN_MARK = "<!-- make perf writes what follows, up to the end mark -->"
END_MARK = "<!-- end of what make perf writes -->"


def rewrite(path, table):
    """Puts the table between the marks of a page, leaving the rest of the page as it is."""
    with open(path) as file:
        page = file.read()
    begin, end = page.index(BEGIN_MARK) + len(BEGIN_MARK), page.index(END_MARK)
    with open(path, "w") as file:
        file.write(page[:begin] + "\n\n" + table + "\n\n" + page[end:])
    log(f"wrote the table into {path}")


def main():
    release, bench_build = sys.argv[1:3]
    game = os.path.abspath(os.path.join(release, "quibbix"))
    bench_dir = os.path.join(bench_build, "bench")
    header = machine()

    work = tempfile.mkdtemp(prefix="quibbix-perf-")
    tools = {"first_frame": os.path.join(bench_dir, "first_frame"),
             "bare_window": os.path.join(bench_dir, "bare_window"),
             "config": os.path.join(work, "config"), "zoom1": os.path.join(work, "zoom1"),
             "zoom2": os.path.join(work, "zoom2")}
    os.makedirs(os.path.join(tools["zoom2"], "Quibbix"))
    with open(os.path.join(tools["zoom2"], "Quibbix", "settings.ini"), "w") as settings:
        settings.write("[Display]\nZoom=2\n")

    log("benchmarks: one tick with 101 and with 2 balls, alone and with its repaint, against one copy of the board")
    ticks = benchmarks(os.path.join(bench_dir, "quibbix_bench"))

    pictures = sprites(os.path.join(release, "quibbix-scenario"), work)

    session = Session(work)
    try:
        log("start-up and memory, game and bare window in turns")
        frames, memory = start_up(session, tools, game)
        log("idle, title screen and paused")
        title, paused, base = idle(session, tools, game, pictures)
        log("play with 101 balls, game and the bare window drawing the board in turns")
        cpu, server, zoom, zoom_server = play(session, tools, game, pictures)
    finally:
        shutil.rmtree(work, ignore_errors=True)

    lines = []
    emit = lines.append
    emit(header)
    emit("")
    emit("| figure | quibbix | yardstick | ratio (pairs) | target | holds |")
    emit("|---|---|---|---|---|---|")
    emit(row("exec to the first frame shown, against the bare window", frames, " ms", 0, 1.2))
    emit(row("resident memory (VmRSS) 1 s after the first frame, against the bare window", memory, " MB", 1,
              1.3))
    emit(row("play with 101 balls, 10 s, against the bare window drawing the board at 50 Hz", cpu,
              " % CPU", 2, 1.0))
    emit(row("one tick with 101 balls, against one copy of the board", ticks["BallHandler101Balls"], " µs", 1,
              1.0))
    emit(row("one tick with 101 balls and the repaint that draws them into window memory, against one copy of "
              "the board", ticks["TickAndRepaint101Balls"], " µs", 1, None))
    emit(row("one tick with a level's first 2 balls, against one copy of the board", ticks["BallHandler2Balls"],
              " µs", 2, 1.0))
    emit(row("one tick with a level's first 2 balls and its repaint, against one copy of the board",
              ticks["TickAndRepaint2Balls"], " µs", 2, 1.0))
    for name, activity in (("title screen", title), ("paused", paused)):
        holds = "yes" if activity.quiet() else "**no**"
        woken = ", ".join(f"{n} {c}" for n, c in sorted(activity.woken.items())) or "none"
        emit(f"| {name}, 10 s after 2 s, PulseAudio running, against the bare window | {activity} "
              f"(threads woken: {woken}) | {base} | | 0.00 % CPU, no wakeups | {holds} |")
    if zoom.missing is None:
        emit(row("play at zoom 2, against zoom 1", zoom, " % CPU", 2, 1.5))
    else:
        emit(f"| play at zoom 2, against zoom 1 | {zoom.missing} | | | ≤ 1.5 × | |")
    emit(f"| X server while playing, against the bare window drawing the board | "
          f"{spread(server.game, ' % CPU', 2)} | {spread(server.base, ' % CPU', 2)} | "
          f"{server.ratio():.2f} | | |")
    if zoom.missing is None:
        # At zoom 2 the X server enlarges the frame: its share of the work, shown beside the game's.
        emit(f"| X server while playing at zoom 2, against zoom 1 | "
              f"{spread(zoom_server.game, ' % CPU', 2)} | {spread(zoom_server.base, ' % CPU', 2)} | "
              f"{zoom_server.ratio():.2f} | | |")
    emit("")
    emit(f"Medians of {PAIRS} pairs taken in turns ({START_PAIRS} for start-up and memory), lowest–highest in "
          "brackets; the ratio's brackets are those of single pairs. The yardsticks are `bench/bare_window.c` "
          "(with `--board` it redraws the board and one counter cell at 50 Hz) and `BM_BoardCopy`. The first "
          "frame is the first X Damage on the program's window after the exec (`bench/first_frame.c`); "
          "processor time and wakeups (context switches) are summed over the threads in /proc. "
          f"The whole measurement took {time.monotonic() - BEGAN:.0f} s.")
    table = "\n".join(lines)
    print(table)
    if len(sys.argv) > 3:
        rewrite(sys.argv[3], table)


if __name__ == "__main__":
    main()

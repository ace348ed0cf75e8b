#!/usr/bin/env python3
"""CPU and memory of a desktop program on its own Xvfb: with the cursor still, and with the
cursor moving 50 times a second along a fixed path.

    bench/measure.py build/release/bin/tintara
    bench/measure.py [--still S] [--moving S] [--rate HZ] [--skip S] [--repeat N]
                     [--name REGEX] [--no-pid] [--no-wm] [--file NAME=PATH ...] [--arg ARG ...]
                     [--tab NAME] [--json] BINARY
    bench/measure.py --side-by-side [--tab NAME ...] [--repeat N] [--still S] BINARY

--tab starts Tintara with that mixer tab shown (--tab=NAME: Hex, Rainbow, Hue or Sliders).
--side-by-side runs bench/side_by_tabs.sh instead: every chosen tab (all four by default), with Tintara's
window active and with another window active, beside the minimal 100 Hz loop and gpick's floating
picker, interleaved on one Xvfb over a plasma-fractal screen (every move a new colour), and prints the
table and the ratios the speed goals are stated in.

The program is copied into a fresh directory (with the --file extras beside it) and started with
QT_QPA_PLATFORM=xcb on a 1280x1024x24 Xvfb with openbox. Once its window is up and --skip seconds
have passed since the start, the script reads the CPU time of all the program's threads (the
scheduler's runtimes in /proc/<pid>/task/*/schedstat, or utime + stime from /proc/<pid>/stat where
those are missing) at the start and end of each phase and reports it as a percentage of one core;
the peak resident set (VmHWM from /proc/<pid>/status) is read at the end. The cursor path crosses
a row of solid colour patches, so a colour picker has something to follow, and keeps to the right
half of the screen, away from a window placed at the left (Tintara's default place). The pointer moves by bare WarpPointer
requests from this script, which costs the measured program nothing.

Figures are medians over --repeat runs. The machine's other load shows up in them: compare runs
taken on a quiet machine.
"""

import argparse
import json
import math
import os
import pathlib
import statistics
import subprocess
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "e2e"))
from harness import App, HarnessError, Session  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")
# The path stays in the right half of the 1280x1024 screen: a program placed at the left (Tintara's
# default window is at x 200..500) never has the pointer over its own window, which would add hover
# repaints and make it magnify itself.
CENTRE = (900, 560)
RADIUS = 180
PATCH_COLOURS = ["#e6194b", "#3cb44b", "#ffe119", "#4363d8", "#f58231", "#911eb4", "#46f0f0", "#f032e6"]


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        stat = f.read()
    # The command name may hold spaces or parentheses: the fields after its last ')' are fixed.
    fields = stat[stat.rindex(")") + 2:].split()
    return int(fields[11]) + int(fields[12])  # utime, stime (fields 14 and 15 of the line)


def thread_runtimes(pid):
    """Nanoseconds each thread of the process has run (schedstat), by thread id; None where the
    kernel does not provide it."""
    out = {}
    try:
        tids = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return None
    for tid in tids:
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                out[tid] = int(f.read().split()[0])
        except (OSError, ValueError, IndexError):
            continue  # the thread ended meanwhile
    return out if out else None


class CpuClock:
    """CPU time of a process from a start point. utime + stime come in clock ticks (10 ms), which
    over a 20 s phase of a program using about 1 % is an error of several percent of the figure; the
    scheduler's per-thread runtimes are exact to the nanosecond, so they are used where the kernel
    has them."""

    def __init__(self, pid):
        self.pid = pid
        self.start_threads = thread_runtimes(pid)
        self.start_ticks = cpu_ticks(pid)

    def seconds(self):
        if self.start_threads is not None:
            now = thread_runtimes(self.pid)
            if now is not None and sum(now.values()) > 0:
                # Threads born during the phase count from zero; one that ended is lost (its share
                # after the start), which for a GUI program's long-lived threads does not happen.
                return sum(ns - self.start_threads.get(tid, 0) for tid, ns in now.items()) / 1e9
        return (cpu_ticks(self.pid) - self.start_ticks) / TICKS


def status_kib(pid, key):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def path_point(step, rate):
    """The fixed path: one circle every two seconds around CENTRE."""
    angle = 2 * math.pi * step / (2 * rate)
    return round(CENTRE[0] + RADIUS * math.cos(angle)), round(CENTRE[1] + RADIUS * math.sin(angle))


def measure_phase(app, seconds, mover=None, rate=50):
    clock, start = CpuClock(app.pid), time.monotonic()
    step = 0
    if mover is None:
        time.sleep(seconds)
    else:
        # Absolute schedule: a late move does not push the later ones back.
        while True:
            due = start + step / rate
            now = time.monotonic()
            if due - start >= seconds:
                break
            if due > now:
                time.sleep(due - now)
            mover(*path_point(step, rate))
            step += 1
        remaining = start + seconds - time.monotonic()
        if remaining > 0:
            time.sleep(remaining)
    if not app.running():
        raise HarnessError(f"the program exited during the measurement ({app.proc.returncode})")
    cpu, wall = clock.seconds(), time.monotonic() - start
    return {"seconds": round(wall, 2), "cpu_percent": 100.0 * cpu / wall, "moves": step}


def one_run(args, files):
    with Session(wm=not args.no_wm) as x:
        x.set_root_color("#808080")
        # Stripes of colour under the whole circle, so the colour under a moving cursor changes.
        n = len(PATCH_COLOURS)
        for i, colour in enumerate(PATCH_COLOURS):
            x.solid_window(CENTRE[0] - RADIUS - 20 + i * (2 * RADIUS + 40) // n, CENTRE[1] - RADIUS - 20,
                           (2 * RADIUS + 40) // n, 2 * RADIUS + 40, colour)
        x.warp(*path_point(0, args.rate))
        started = time.monotonic()
        with App(x, args.binary, files=files, args=args.arg, match_pid=not args.no_pid) as app:
            app.wait_window(args.name, timeout=30)
            wait = args.skip - (time.monotonic() - started)
            if wait > 0:
                time.sleep(wait)
            x.warp(*path_point(0, args.rate))
            still = measure_phase(app, args.still)
            moving = measure_phase(app, args.moving, mover=x.warp, rate=args.rate)
            peak = status_kib(app.pid, "VmHWM")
            rss = status_kib(app.pid, "VmRSS")
            return {"still": still, "moving": moving, "peak_rss_kib": peak, "rss_end_kib": rss}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("binary")
    parser.add_argument("--still", type=float, default=20.0, help="seconds with the cursor still")
    parser.add_argument("--moving", type=float, default=20.0, help="seconds with the cursor moving")
    parser.add_argument("--rate", type=int, default=50, help="cursor moves per second")
    parser.add_argument("--skip", type=float, default=2.0, help="seconds after start left out")
    parser.add_argument("--repeat", type=int, default=1)
    parser.add_argument("--name", default="^Tintara", help="title of the window to wait for (regex)")
    parser.add_argument("--no-pid", action="store_true", help="the program does not set _NET_WM_PID")
    parser.add_argument("--no-wm", action="store_true", help="run without openbox")
    parser.add_argument("--file", action="append", default=[], metavar="NAME=PATH",
                        help="a file to place beside the program")
    parser.add_argument("--arg", action="append", default=[], metavar="ARG",
                        help="a command-line argument for the program (--arg=-x for one with a dash)")
    parser.add_argument("--tab", action="append", default=[], metavar="NAME",
                        help="the mixer tab shown (Hex, Rainbow, Hue, Sliders); several with --side-by-side")
    parser.add_argument("--side-by-side", action="store_true",
                        help="run bench/side_by_tabs.sh: each tab, active and in the background, beside the anchors")
    parser.add_argument("--json", action="store_true", help="print the results as JSON")
    args = parser.parse_args()

    if args.side_by_side:
        env = dict(os.environ, REPS=str(args.repeat if args.repeat > 1 else 3), SECS=str(int(args.still)),
                   HZ=str(args.rate))
        if args.tab:
            env["TABS"] = " ".join(t.lower() for t in args.tab)
        script = pathlib.Path(__file__).resolve().parent / "side_by_tabs.sh"
        return subprocess.call([str(script), args.binary, *args.arg], env=env)
    if len(args.tab) > 1:
        parser.error("one --tab without --side-by-side")
    args.arg += [f"--tab={t}" for t in args.tab]

    files = {}
    for item in args.file:
        name, _, path = item.partition("=")
        files[name] = pathlib.Path(path)

    runs = []
    for i in range(args.repeat):
        runs.append(one_run(args, files))
        if not args.json:
            r = runs[-1]
            print(f"run {i + 1}: still {r['still']['cpu_percent']:.2f} %, moving {r['moving']['cpu_percent']:.2f} % "
                  f"({r['moving']['moves']} moves), peak RSS {r['peak_rss_kib'] / 1024:.1f} MiB", file=sys.stderr)

    summary = {
        "binary": os.path.abspath(args.binary),
        "still_cpu_percent": statistics.median(r["still"]["cpu_percent"] for r in runs),
        "moving_cpu_percent": statistics.median(r["moving"]["cpu_percent"] for r in runs),
        "peak_rss_mib": statistics.median(r["peak_rss_kib"] for r in runs) / 1024,
        "moves_per_second": args.rate,
        "runs": runs,
    }
    if args.json:
        print(json.dumps(summary, indent=2))
    else:
        print(f"{os.path.basename(args.binary)}: median of {len(runs)} run(s), CPU as % of one core")
        print(f"  cursor still  ({args.still:.0f} s): {summary['still_cpu_percent']:6.2f} %")
        print(f"  cursor moving ({args.moving:.0f} s, {args.rate}/s): {summary['moving_cpu_percent']:6.2f} %")
        print(f"  peak RSS (VmHWM):        {summary['peak_rss_mib']:6.1f} MiB")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except HarnessError as e:
        print(f"measure.py: {e}", file=sys.stderr)
        sys.exit(1)

#!/usr/bin/env python3
"""Times `gridforge --level-text` on a 50 x 50 map beside `gridforge --version` of the same program.

The version is the floor of a run of the program: starting the process, loading its libraries and reading the
command line. The level text adds loading the map file and building the text, with no window and no display.
The two are run in turn, so that a change of load touches both alike, each with standard output to a file;
the figure is the median over the runs (and the range), and the target is the level text within 5 ms of the
floor's median. With valgrind installed, the instructions of one run of each under callgrind follow: they
repeat however busy the machine is.

Usage: level_text.py BUILD_DIR [RUNS]   (RUNS: 20)
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

TARGET_MS = 5.0


def timed(command, output):
    start = time.perf_counter()
    subprocess.run(command, stdout=output, stderr=subprocess.DEVNULL, check=True)
    return (time.perf_counter() - start) * 1000.0


def instructions(command):
    """Instructions of one run under callgrind, the program's own and its libraries'."""
    run = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"] + command,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
    return int(re.search(r"Collected : (\d+)", run.stderr).group(1))


def main():
    if len(sys.argv) < 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    program = os.path.join(os.path.abspath(sys.argv[1]), "gridforge")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    os.environ.clear()
    os.environ.update(environment)
    with tempfile.TemporaryDirectory() as work:
        map_file = os.path.join(work, "map.kxgf")
        with open(map_file, "wb") as f:
            f.write(b"KX-GRIDFORGE@VER1.00\r\n50,50\r\n0\r\n" + b"".join(b"%d\r\n" % (s % 7) for s in range(2500)))
        times = {"version": [], "level text": []}
        commands = {"version": [program, "--version"], "level text": [program, "--level-text", map_file]}
        with open(os.path.join(work, "out"), "wb") as output:
            timed(commands["version"], output)  # the first run fills the file cache
            for _ in range(runs):
                for name, command in commands.items():
                    times[name].append(timed(command, output))
        counts = {name: instructions(command) for name, command in commands.items()} if shutil.which("valgrind") else {}
    for name, values in times.items():
        print("%-11s median %6.1f ms  (%.1f to %.1f ms, %d runs)" % (name, statistics.median(values), min(values),
                                                                    max(values), len(values)))
    for name, count in counts.items():
        print("%-11s %.2f million instructions (callgrind)" % (name, count / 1e6))
    above = statistics.median(times["level text"]) - statistics.median(times["version"])
    met = above <= TARGET_MS
    print("level text above the floor: %.1f ms (target %.0f ms: %s)" % (above, TARGET_MS, "met" if met else "NOT met"))
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main())

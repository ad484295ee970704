#!/usr/bin/env python3
"""Runs bench/instruction_counts under callgrind and prints the instruction count of every action.

Each action's counts are dumped in a file of their own; the count is the sum of the self costs in that file
(the call lines' inclusive costs left out), which also holds where callgrind's own summary line overflows.
The map window's paint is printed beside the floor (the same picture by one fillRect per cell) as a ratio.

Usage: instruction_counts.py BUILD_DIR
"""
import glob
import os
import re
import subprocess
import sys
import tempfile

# Targets in millions of instructions for the actions that have one.
TARGETS = {r"click/": 0.3}
FLOOR_RATIO = 1.2


def self_cost(path):
    total = 0
    name = None
    after_call = False
    with open(path) as f:
        for line in f:
            if line.startswith("desc: Trigger: Client Request: "):
                name = line[len("desc: Trigger: Client Request: "):].strip()
            elif line.startswith("calls="):
                after_call = True
                continue
            elif line[:1].isdigit() or line[:1] in "+-*":
                if not after_call:
                    total += int(line.split()[-1])
            after_call = False
    return name, total


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    program = os.path.join(build, "bench", "instruction_counts")
    counts = {}
    status = 0
    # One valgrind run per group, so that a failure in one loses only its own counts.
    for group in ("map", "colouring", "files"):
        with tempfile.TemporaryDirectory(prefix="gridforge-callgrind-") as work:
            env = dict(os.environ, QT_QPA_PLATFORM="offscreen", QT_HASH_SEED="0", XDG_RUNTIME_DIR=work)
            result = subprocess.run(["valgrind", "--tool=callgrind", "--instr-atstart=no",
                                     "--callgrind-out-file=" + os.path.join(work, "cg.out"), program, group],
                                    env=env, capture_output=True, text=True)
            if result.returncode != 0:
                print("%s: FAILED (exit %d): %s" % (group, result.returncode, result.stderr.strip()[-1500:]))
                status |= 1
            for path in sorted(glob.glob(os.path.join(work, "cg.out.*")), key=lambda p: int(p.rsplit(".", 1)[1])):
                name, total = self_cost(path)
                if name:
                    counts[name] = total
    print("%-22s %14s  %s" % ("action", "instructions", "target"))
    for name, total in counts.items():
        note = ""
        for pattern, limit in TARGETS.items():
            if re.match(pattern, name):
                met = total < limit * 1e6
                note = "< %.1f M: %s" % (limit, "met" if met else "NOT met")
                status |= 0 if met else 2
        if name.startswith("paint/"):
            floor = counts.get(name.replace("paint/", "paintFloor/"))
            if floor:
                ratio = total / floor
                met = ratio <= FLOOR_RATIO
                note = "%.2f x the floor (<= %.1f x): %s" % (ratio, FLOOR_RATIO, "met" if met else "NOT met")
                status |= 0 if met else 2
        print("%-22s %14s  %s" % (name, "{:,}".format(total), note))
    return status


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Prints median and range over the repetitions of Google Benchmark JSON results, with the targets.

A target counts as met only when every repetition meets it. Usage: summarize.py RESULT.json...
"""
import json
import re
import statistics
import sys

# Upper limits in milliseconds, by benchmark name; a 60 Hz frame is 16.7 ms.
FRAME_MS = 1000.0 / 60.0
TARGETS = [
    (r"^BuildWindow/size:\d+$", 5.0),
    (r"^Repaint/", FRAME_MS),
    (r"^Click/", FRAME_MS),
    (r"^PaintAtPoint/", 1.0),
    (r"^LoadMapFile/", 2.0),
    (r"^SaveMapFile/", 2.0),
    (r"^BuildLevelText/", 1.0),
    (r"ViewerFirstVisit", FRAME_MS),
    (r"^Startup/", 300.0),
]
# Benchmarks that must take less time than another one, by median.
FASTER_THAN = [("ImportLevelText/50x50", "LoadMapFile/50x50")]
SCALE = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def target_of(name):
    for pattern, limit in TARGETS:
        if re.search(pattern, name):
            return limit
    return None


def main():
    status = 0
    print("%-50s %10s  %-21s %s" % ("benchmark", "median ms", "range ms", "target"))
    medians = {}
    for path in sys.argv[1:]:
        with open(path) as f:
            results = json.load(f)
        runs = {}
        for b in results["benchmarks"]:
            if b.get("run_type") != "iteration" or b.get("error_occurred"):
                if b.get("error_occurred"):
                    print("%-50s ERROR: %s" % (b["name"], b.get("error_message", "")))
                    status = 1
                continue
            name = b.get("run_name", b["name"])
            runs.setdefault(name, []).append(b["real_time"] * SCALE[b.get("time_unit", "ns")])
        for name, times in runs.items():
            limit = target_of(name)
            note = ""
            if limit is not None:
                met = max(times) < limit
                note = "< %.4g ms: %s" % (round(limit, 1), "met" if met else "NOT met")
            print("%-50s %10.3f  %9.3f to %9.3f %s" % (name, statistics.median(times), min(times), max(times), note))
            medians[name] = statistics.median(times)
    for faster, slower in FASTER_THAN:
        if faster in medians and slower in medians:
            met = medians[faster] < medians[slower]
            print("%-50s %10.3f  beside %s %.3f ms: %s" % (faster, medians[faster], slower, medians[slower],
                                                          "less, met" if met else "NOT less"))
            status = status if met else 1
    return status


if __name__ == "__main__":
    sys.exit(main())

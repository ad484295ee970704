#!/usr/bin/env python3
"""Kills the Windows program's save at random moments under wine and checks the map file after each kill.

save_loop.exe (tests/windows/save_loop.cpp) saves a 50 x 50 map through the program's own save in a loop,
alternating two maps; each round starts it, waits until it saves, lets it run for a random time of up to a
few saves and ends its wine process with SIGKILL. After every kill the map file must hold exactly the one map
or the other, byte for byte, and no file may be seen beside it but what an unfinished save leaves: a hidden
file named after the map.

Usage: killed_save.py path/to/save_loop.exe [rounds]   (WINEPREFIX and WINEPATH as for the tests)
"""
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SIZE = 50
TEMP_NAME = re.compile(r"^\.map\.kxgf\.gridforge-save-[A-Za-z0-9]{6}$")


def map_bytes(first_owner):
    owners = [first_owner] + [s % 7 for s in range(1, SIZE * SIZE)]
    lines = ["KX-GRIDFORGE@VER1.00", "%d,%d" % (SIZE, SIZE), "0"] + [str(o) for o in owners]
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def still_saving(folder):
    """Processes whose command line names the test's folder: the killed one must not live on in another."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                if os.path.basename(folder).encode() in f.read():
                    found.append(int(pid))
        except OSError:
            pass
    return found


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__)
        return 2
    exe = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) == 3 else 100
    env = dict(os.environ, WINEDEBUG="-all")
    folder = tempfile.mkdtemp(prefix="gridforge-killed-save-")
    path = os.path.join(folder, "map.kxgf")
    old, new = map_bytes(1), map_bytes(6)
    random.seed(20261209)
    start = time.monotonic()
    # One wine server for all the rounds: after a kill, a server with no client
    # left shuts down, and the next round's start could reach it as it went
    # ("recvmsg: Connection reset by peer", seen once).
    # The system's own processes, which the first program would start with its
    # output pipes and keep them open, are started here without them.
    quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    subprocess.run(["wineserver", "-p"], env=env, **quiet)
    subprocess.run(["wineboot"], env=env, **quiet)
    restarts = 0
    try:
        # The time of one save, to spread the kills over a few of them.
        timing = subprocess.run(["wine", exe, windows_path(path), "200"], env=env, capture_output=True,
                                timeout=120)
        if timing.returncode != 0:
            print("FAILED: save_loop.exe could not save (%d): %r" % (timing.returncode, timing.stdout))
            return 1
        each = int(timing.stdout.split()[-1]) / 1e6
        counts = {"old": 0, "new": 0, "missing": 0, "other": 0}
        leftovers = visible = 0
        for _ in range(rounds):
            with open(path, "wb") as f:
                f.write(old)
            for attempt in (1, 2):
                loop = subprocess.Popen(["wine", exe, windows_path(path)], env=env, stdout=subprocess.PIPE,
                                        stdin=subprocess.DEVNULL, start_new_session=True)
                line = loop.stdout.readline()
                if line.strip() == b"saving":
                    break
                loop.kill()
                loop.wait()
                loop.stdout.close()
                if attempt == 2:
                    print("FAILED: save_loop.exe did not start saving, twice: %r" % line)
                    return 1
                # Nothing was saved or killed yet: the round starts again, and the summary counts it.
                restarts += 1
                print("killed-save: save_loop.exe did not start (%r); started again" % line, flush=True)
            time.sleep(random.uniform(0, 4 * each))
            os.kill(loop.pid, signal.SIGKILL)
            loop.wait()
            loop.stdout.close()
            alive = still_saving(folder)
            if alive:
                print("FAILED: the save goes on after the kill, in processes %r" % alive)
                return 1
            # The wine server closes the dead process's handles a moment later (files opened to be deleted
            # on close go then): look at the folder once that is done.
            time.sleep(0.1)
            try:
                with open(path, "rb") as f:
                    data = f.read()
            except FileNotFoundError:
                data = None
            kind = "missing" if data is None else "old" if data == old else "new" if data == new else "other"
            counts[kind] += 1
            if kind in ("missing", "other"):
                print("killed-save: after kill %d the map file is %s; beside it: %r"
                      % (sum(counts.values()), "missing" if data is None else "%d bytes of neither map" % len(data),
                         sorted(e for e in os.listdir(folder) if e != "map.kxgf")), flush=True)
            for entry in os.listdir(folder):
                if entry == "map.kxgf":
                    continue
                if TEMP_NAME.match(entry):
                    leftovers += 1
                else:
                    visible += 1
                try:
                    os.remove(os.path.join(folder, entry))
                except FileNotFoundError:
                    pass
        print("killed-save: %d kills of save_loop.exe under wine (one save %.2f ms) in %.0f s: the file held the "
              "old map %d times, the new map %d times, was missing %d times and held anything else %d times; "
              "%d hidden unfinished saves and %d other files left beside it; %d starts made again"
              % (rounds, each * 1000, time.monotonic() - start, counts["old"], counts["new"], counts["missing"],
                 counts["other"], leftovers, visible, restarts), flush=True)
        ok = counts["missing"] == 0 and counts["other"] == 0 and visible == 0
    finally:
        subprocess.run(["wineserver", "-k"], env=env, **quiet)
        shutil.rmtree(folder, ignore_errors=True)
    print("killed-save: %s" % ("passed" if ok else "FAILED"), flush=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())

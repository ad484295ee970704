#!/usr/bin/env python3
"""Sends real signals to the built editor under a private X server and checks that they ask like a close.

With an unchanged map, SIGTERM and SIGHUP end the program at once with status 0. With a changed map, SIGINT brings
the map window's question "終了"; No keeps the program running with the map as it was; a later SIGTERM asks again
(the map is still changed) and Yes ends the program with status 0.

Usage: exit_signal_e2e.py /path/to/gridforge
"""
import os
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from open_file_e2e import CELL_COLOURS, FRAME_TITLE, WIDTH, map_on_screen, window, write_map  # noqa: E402
from xsession import Failure, XSession, run_script, wait_for  # noqa: E402

QUESTION = "終了"
PROMPT_EXIT = 5  # seconds an unchanged map may take to end after the signal


def start_with_map(session):
    path = os.path.join(session.root, "signal.kxgf")
    write_map(path)
    app = session.spawn([session.binary, path])
    frame = window(session, FRAME_TITLE)
    cells = wait_for("the map from the file", lambda: map_on_screen(session, frame), 15)
    return app, frame, cells


def expect_exit(app, what):
    started = time.monotonic()
    wait_for("the program to end after %s" % what, lambda: app.poll() is not None, PROMPT_EXIT)
    if app.returncode != 0:
        raise Failure("%s: the program ended with status %d" % (what, app.returncode))
    return time.monotonic() - started


def unchanged_map_ends(session, signum):
    app, _frame, _cells = start_with_map(session)
    app.send_signal(signum)
    seconds = expect_exit(app, signal.Signals(signum).name)
    if session.windows("^%s$" % QUESTION):
        raise Failure("a question came for an unchanged map")
    print("unchanged map, %s: ended with status 0 after %.2f s" % (signal.Signals(signum).name, seconds), flush=True)


def answer(session, key):
    box = window(session, QUESTION, 10)
    session.activate(box)
    session.key(key)
    wait_for("the question to close", lambda: box not in session.windows("."))


def changed_map_asks(session):
    app, frame, cells = start_with_map(session)
    # Any press on the map marks it changed, even with the pointer tool.
    fx, fy, fw, fh = session.geometry(frame)
    shot = session.screenshot()
    x0, y0 = shot.find_run(CELL_COLOURS[0], 5 * WIDTH, (fy * shot.width + fx) * 3)
    session.click(x0 + 2, y0 + 2)

    app.send_signal(signal.SIGINT)
    answer(session, "Escape")  # No
    time.sleep(1)
    if app.poll() is not None:
        raise Failure("the program ended although the question was answered No")
    if map_on_screen(session, frame) != cells:
        raise Failure("the map changed after the question was answered No")
    print("changed map, SIGINT: the question came; No kept the program and the map", flush=True)

    app.send_signal(signal.SIGTERM)
    answer(session, "Return")  # Yes
    seconds = expect_exit(app, "Yes")
    print("changed map, SIGTERM again: the question came again; Yes ended with status 0 after %.2f s" % seconds,
          flush=True)


def main():
    def make(binary):
        session = XSession()
        session.binary = binary

        def drive():
            session.start()
            unchanged_map_ends(session, signal.SIGTERM)
            unchanged_map_ends(session, signal.SIGHUP)
            changed_map_asks(session)
        return session, drive
    return run_script(__doc__, make)


if __name__ == "__main__":
    sys.exit(main())

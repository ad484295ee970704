#!/usr/bin/env python3
"""Starts the built editor with a map file on its command line, under a private X server, and checks what it shows.

`gridforge map.kxgf` must show the frame with that map (every cell in its owner's colour, the grid exactly as wide
as the file says) and no size dialog; a file that is not a map shows the header message and then the size dialog;
two arguments are refused with the usage text and exit status 2, before any window. A level text (a level file
in Shift_JIS with LF line ends) shows its own_map section as a new map, and closing asks as for a changed map;
an option that Qt's X11 platform takes (-visual) goes to Qt.

Usage: open_file_e2e.py /path/to/gridforge
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import Failure, XSession, run_script, wait_for  # noqa: E402

FRAME_TITLE = "Gridforge First Release Edition"
SIZE_DIALOG = "マップサイズの選択"
ABORT_TITLE = "中止"
WIDTH, HEIGHT = 12, 15  # not the size dialog's 20 x 20
CELL_COLOURS = [(255, 128, 64), (0, 0, 255), (0, 255, 0), (255, 255, 255), (255, 255, 0), (150, 150, 150),
                (255, 0, 0)]


def owner_at(column, row):
    return 0 if row == 0 else (row * 3 + column) % 7  # the top row is one run of owner 0, to find the grid


def write_map(path):
    lines = ["KX-GRIDFORGE@VER1.00", "%d,%d" % (WIDTH, HEIGHT), "0"]
    lines += [str(owner_at(s % WIDTH, s // WIDTH)) for s in range(WIDTH * HEIGHT)]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))


def window(session, title, timeout=20):
    return wait_for('window "%s"' % title, lambda: session.windows("^%s$" % title), timeout)[0]


def map_on_screen(session, frame):
    """The cells' colours when a grid of WIDTH cells in the owner-0 colour tops the map, else None."""
    fx, fy, fw, fh = session.geometry(frame)
    shot = session.screenshot()
    start = (fy * shot.width + fx) * 3
    hit = shot.find_run(CELL_COLOURS[0], 5 * WIDTH, start)
    if hit is None or not (fx <= hit[0] < fx + fw and fy <= hit[1] < fy + fh):
        return None
    x0, y0 = hit
    run = 0
    while shot.pixel(x0 + run, y0) == CELL_COLOURS[0]:
        run += 1
    if run % WIDTH:
        raise Failure("top row of the map is %d px wide, not %d cells" % (run, WIDTH))
    pitch = run // WIDTH
    return [[shot.pixel(x0 + c * pitch + pitch // 2, y0 + r * pitch + pitch // 2) for c in range(WIDTH)]
            for r in range(HEIGHT)]


def close_frame(session, app, frame):
    session.close_window(frame, lambda: app.poll() is not None, "the program to exit")
    if app.returncode != 0:
        raise Failure("the program exited with status %d" % app.returncode)


def opens_the_map(session, binary):
    path = os.path.join(session.root, "地図.kxgf")
    write_map(path)
    app = session.spawn([binary, path])
    frame = window(session, FRAME_TITLE)
    cells = wait_for("the map from the file", lambda: map_on_screen(session, frame), 15)
    wrong = ["(%d,%d)" % (c, r) for r in range(HEIGHT) for c in range(WIDTH)
             if cells[r][c] != CELL_COLOURS[owner_at(c, r)]]
    if wrong:
        raise Failure("%d cells differ from the file, e.g. %s" % (len(wrong), ", ".join(wrong[:5])))
    if session.windows("^%s$" % SIZE_DIALOG):
        raise Failure("the size dialog came although a map file was given")
    print("map file opened: %d x %d cells as in the file, no size dialog" % (WIDTH, HEIGHT), flush=True)
    close_frame(session, app, frame)


def default_visual(session):
    """The id of the X server's default visual, as xdpyinfo reports it."""
    out = subprocess.run(["xdpyinfo"], env=session.env, capture_output=True, text=True, timeout=20).stdout
    for line in out.splitlines():
        if "default visual id:" in line:
            return line.split(":")[1].strip()
    raise Failure("xdpyinfo gave no default visual")


def level_text_opens_as_new_map(session, binary):
    path = os.path.join(session.root, "castle.level")
    rows = ["".join("%02d " % owner_at(c, r) for c in range(WIDTH)) for r in range(HEIGHT)]
    title = "; \u57ce\u306e\u30ec\u30d9\u30eb".encode("shift_jis")  # "; 城のレベル"
    with open(path, "wb") as f:
        f.write(title + b"\nown_map= \n%d %d\n" % (WIDTH, HEIGHT) + "\n".join(rows).encode("ascii") + b"\n\n" + title)
    app = session.spawn([binary, "-visual", default_visual(session), path])
    frame = window(session, FRAME_TITLE)
    cells = wait_for("the map from the level text", lambda: map_on_screen(session, frame), 15)
    if any(cells[r][c] != CELL_COLOURS[owner_at(c, r)] for r in range(HEIGHT) for c in range(WIDTH)):
        raise Failure("the cells differ from the level text")
    if session.windows("^%s$" % SIZE_DIALOG):
        raise Failure("the size dialog came although a level text was given")
    session.close_window(frame, lambda: session.windows("^終了$"), 'the question "終了"')
    session.activate(session.windows("^終了$")[0])
    session.key("alt+y")
    wait_for("the program to exit", lambda: app.poll() is not None, 15)
    print("level text opened as a changed new map, with -visual left to Qt; closing asked", flush=True)


def refused_file_then_size_dialog(session, binary):
    path = os.path.join(session.root, "not-a-map.kxgf")
    with open(path, "wb") as f:
        f.write(b"not a map\r\n")
    app = session.spawn([binary, path])
    message = window(session, ABORT_TITLE)
    session.activate(message)
    session.key("Return")
    dialog = window(session, SIZE_DIALOG)
    session.activate(dialog)
    session.key("alt+c")
    frame = window(session, FRAME_TITLE)
    print("refused file: its message, then the size dialog", flush=True)
    close_frame(session, app, frame)


def two_arguments_refused(session, binary):
    result = subprocess.run([binary, "a.kxgf", "b.kxgf"], env=session.env, capture_output=True, timeout=20)
    if result.returncode != 2 or b"gridforge --help" not in result.stderr:
        raise Failure("two arguments gave status %d and %r" % (result.returncode, result.stderr[:200]))
    if session.windows("^%s$" % FRAME_TITLE):
        raise Failure("a window came up for a refused command line")
    print("two arguments refused with the reason and the hint to --help", flush=True)


def main():
    def make(binary):
        session = XSession()

        def drive():
            session.start()
            for case in (opens_the_map, level_text_opens_as_new_map, refused_file_then_size_dialog,
                         two_arguments_refused):
                case(session, binary)
        return session, drive
    return run_script(__doc__, make)


if __name__ == "__main__":
    sys.exit(main())

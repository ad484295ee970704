#!/usr/bin/env python3
"""Drives the built editor under a private X server the way a user would, and checks what it shows and writes.

The run confirms the size dialog, picks owners on the owner toolbar, clicks and drags on the map (the pointer
tool must paint nothing), saves through the file dialog (".kxgf" added), starts a new map, reopens the file,
copies the level text from the data viewer, replaces one owner by another, saves over the file through the
overwrite question, and closes with unsaved changes, first refusing and then agreeing. It compares every cell
of the map on screen with the expected owners, the saved file byte for byte, and the text copied from both tabs
of the data viewer, whole and in part, byte for byte with its CR LF line breaks.
Windows are found by title, the grid by the owner-0 colour and the toolbar buttons by their colours.

Usage: gridforge_e2e.py /path/to/gridforge
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import Failure, XSession, run_script, wait_for  # noqa: E402

FRAME_TITLE = "Gridforge First Release Edition"
SIZE_DIALOG = "マップサイズの選択"
VIEWER_TITLE = "マップデータ"
REPLACE_TITLE = "オーナー置換"
SIZE = 20  # both lists of the size dialog start at 20

CELL_COLOURS = {
    0: (255, 128, 64), 1: (0, 0, 255), 2: (0, 255, 0), 3: (255, 255, 255),
    4: (255, 255, 0), 5: (150, 150, 150), 6: (255, 0, 0),
}
BUTTON_COLOURS = {
    1: (0, 0, 255), 2: (0, 255, 0), 3: (255, 255, 255), 4: (255, 255, 0), 5: (128, 128, 128), 6: (255, 0, 0), 0: (255, 128, 64),
}


def log(message):
    print("[%6.2fs] %s" % (time.monotonic() - START, message), flush=True)


START = time.monotonic()


class Grid:
    """Where the map's cells are on the screen."""

    def __init__(self, x0, y0, pitch):
        self.x0, self.y0, self.pitch = x0, y0, pitch

    def centre(self, column, row):
        return self.x0 + column * self.pitch + self.pitch // 2, self.y0 + row * self.pitch + self.pitch // 2

    def colours(self, shot):
        return [[shot.pixel(*self.centre(c, r)) for c in range(SIZE)] for r in range(SIZE)]


def locate_grid(shot, frame_box):
    """Finds the cell grid as the top-most run of owner-0 cells at least ten cells long inside the frame.

    The top row of the map is never painted here, so it is a solid run of the owner-0 colour; its length gives
    the cell pitch, which is then checked against the left column and the bottom-right corner."""
    fx, fy, fw, fh = frame_box
    start = (fy * shot.width + fx) * 3
    while True:
        hit = shot.find_run(CELL_COLOURS[0], 60, start)
        if hit is None:
            raise Failure("no map grid found on the screen")
        x, y = hit
        if fx <= x < fx + fw and fy <= y < fy + fh:
            break
        start = ((y + 1) * shot.width) * 3
    run = 0
    while shot.pixel(x + run, y) == CELL_COLOURS[0]:
        run += 1
    if run % SIZE:
        raise Failure("top row of the grid is %d px wide, not a multiple of %d cells" % (run, SIZE))
    grid = Grid(x, y, run // SIZE)
    painted = set(CELL_COLOURS.values()) - {CELL_COLOURS[3]}  # white also shows in the background
    inside = [shot.pixel(x, y + run - 1), shot.pixel(x + run - 1, y + run - 1)]
    outside = [shot.pixel(x - 1, y + run // 2), shot.pixel(x + run // 2, y + run), shot.pixel(x + run, y + run - 1)]
    if any(p not in CELL_COLOURS.values() for p in inside) or any(p in painted for p in outside):
        raise Failure("grid at %d,%d with pitch %d does not end where expected" % (x, y, grid.pitch))
    return grid


def connected_patches(points):
    remaining = set(points)
    patches = []
    while remaining:
        stack = [remaining.pop()]
        patch = []
        while stack:
            x, y = stack.pop()
            patch.append((x, y))
            for n in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                if n in remaining:
                    remaining.remove(n)
                    stack.append(n)
        patches.append(patch)
    return patches


def locate_owner_buttons(shot, frame_box, grid):
    """Centre of each owner button: the largest solid patch of the owner's colour left of the map."""
    fx, fy, fw, fh = frame_box
    centres = {}
    for owner, colour in BUTTON_COLOURS.items():
        patches = connected_patches(shot.points_of(colour, (fx, fy, grid.x0 - 30, fy + fh)))
        if not patches:
            raise Failure("owner button %d not found" % owner)
        square = max(patches, key=len)
        xs = [p[0] for p in square]
        ys = [p[1] for p in square]
        centres[owner] = ((min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2)
    pitch = centres[2][1] - centres[1][1]
    order = [1, 2, 3, 4, 5, 6, 0]
    for a, b in zip(order, order[1:]):
        if abs(centres[b][1] - centres[a][1] - pitch) > 2 or abs(centres[b][0] - centres[a][0]) > 2:
            raise Failure("owner buttons are not one column of evenly spaced buttons: %r" % centres)
    centres["pointer"] = (centres[1][0], centres[1][1] - pitch)
    return centres


def expected_file(owners):
    lines = ["KX-GRIDFORGE@VER1.00", "%d,%d" % (SIZE, SIZE), "0"] + [str(o) for row in owners for o in row]
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def level_sections(owners):
    """The four sections of the level text, each with CR LF between its lines and none after the last."""
    def section(keyword, token):
        rows = ["".join("%02d " % token(o) for o in row) for row in owners]
        return "\r\n".join([keyword + " ", "%d %d" % (SIZE, SIZE)] + rows).encode("ascii")
    zero = lambda o: 0  # noqa: E731
    return [section("typ_map=", zero), section("own_map=", lambda o: o),
            section("hgt_map=", zero), section("blg_map=", zero)]


def expected_level_text(owners):
    return b"\r\n\r\n".join(level_sections(owners))


def part_of(text, start, end):
    """The bytes of `text` from (column, line) `start` to (column, line) `end`, line breaks CR LF."""
    (c0, l0), (c1, l1) = start, end
    lines = text.split(b"\r\n")
    part = b"\r\n".join(lines[l0:l1 + 1])
    return part[c0:len(part) - (len(lines[l1]) - c1)]


def describe_mismatch(seen, owners):
    wrong = []
    for r in range(SIZE):
        for c in range(SIZE):
            if seen[r][c] != CELL_COLOURS[owners[r][c]]:
                wrong.append("(%d,%d) shows %r, owner %d expected" % (c, r, seen[r][c], owners[r][c]))
    return wrong


class Driver:
    def __init__(self, binary):
        self.binary = binary
        self.session = XSession()
        self.app = None
        self.frame = None
        self.grid = None
        self.buttons = None
        self.owners = [[0] * SIZE for _ in range(SIZE)]

    # ----- finding things
    def window(self, title, timeout=15):
        return wait_for('window "%s"' % title, lambda: self.session.windows("^%s$" % title), timeout)[0]

    def gone(self, title, timeout=15):
        wait_for('window "%s" to close' % title, lambda: not self.session.windows("^%s$" % title), timeout)

    def frame_box(self):
        return self.session.geometry(self.frame)

    def wait_cells(self, description, owners, timeout=10):
        """Waits until every cell shows the colour of its owner in `owners`."""
        last = {}

        def probe():
            shot = self.session.screenshot()
            last["wrong"] = describe_mismatch(self.grid.colours(shot), owners)
            return not last["wrong"]
        try:
            wait_for(description, probe, timeout, interval=0.2)
        except Failure:
            raise Failure("%s: %d cells wrong, e.g. %s" % (description, len(last["wrong"]),
                                                           "; ".join(last["wrong"][:5])))

    def new_window_except(self, known, timeout=15):
        def probe():
            fresh = [w for w in self.session.windows(".") if w not in known]
            return fresh[0] if fresh else None
        return wait_for("a new window", probe, timeout)

    def confirm_size_dialog(self):
        dialog = self.window(SIZE_DIALOG)
        self.session.activate(dialog)
        self.session.key("Return")
        self.gone(SIZE_DIALOG)

    def relocate_grid(self):
        """Finds the grid once its window has painted, with the top row in the owner-0 colour."""
        def probe():
            try:
                return locate_grid(self.session.screenshot(), self.frame_box())
            except Failure:
                return None
        self.grid = wait_for("the map grid", probe, 15, interval=0.2)
        log("grid at %d,%d, %d px per cell" % (self.grid.x0, self.grid.y0, self.grid.pitch))

    # ----- user actions
    def choose_owner(self, owner):
        self.session.click(*self.buttons[owner])
        self.session.xdo("mousemove", self.grid.x0 - 10, self.grid.y0 - 10)

    def paint(self, owner, column, row):
        self.choose_owner(owner)
        self.session.click(*self.grid.centre(column, row))
        if owner != "pointer":
            self.owners[row][column] = owner

    def drag(self, owner, start, end):
        """Presses on cell `start`, moves the pointer in small steps to cell `end`, releases."""
        self.choose_owner(owner)
        (c0, r0), (c1, r1) = start, end
        x0, y0 = self.grid.centre(c0, r0)
        x1, y1 = self.grid.centre(c1, r1)
        self.session.xdo("mousemove", "--sync", x0, y0)
        self.session.xdo("mousedown", 1)
        steps = max(abs(x1 - x0), abs(y1 - y0)) // 3
        # Paced like a hand: moves that arrive faster than the program takes
        # them are merged into the last one, and a merged move skips cells.
        for i in range(1, steps + 1):
            self.session.xdo("mousemove", x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps)
            time.sleep(0.02)
        self.session.xdo("mouseup", 1)
        for i in range(steps + 1):
            c = c0 + (c1 - c0) * i // steps
            r = r0 + (r1 - r0) * i // steps
            self.owners[r][c] = owner
        self.session.xdo("mousemove", self.grid.x0 - 10, self.grid.y0 - 10)

    def activate_frame(self):
        self.session.activate(self.frame)

    def file_dialog(self, keys, path, description):
        self.activate_frame()
        known = set(self.session.windows("."))
        self.session.key(keys)
        dialog = self.new_window_except(known)
        log('%s dialog "%s"' % (description, self.session.window_name(dialog)))
        self.session.activate(dialog)
        self.session.type_text(path)
        self.session.key("Return")
        wait_for("the %s dialog to close" % description, lambda: dialog not in self.session.windows("."))

    def save_over(self, path):
        self.activate_frame()
        known = set(self.session.windows("."))
        self.session.key("ctrl+s")
        dialog = self.new_window_except(known)
        self.session.activate(dialog)
        self.session.type_text(path)
        known.add(dialog)
        self.session.key("Return")
        question = self.new_window_except(known, 10)
        log('overwrite question "%s"' % self.session.window_name(question))
        self.session.activate(question)
        self.session.key("alt+y")
        wait_for("the save dialog to close", lambda: dialog not in self.session.windows("."))

    def wait_file(self, path, description):
        """Waits until the file holds exactly the bytes of the current map; the program writes it after the
        dialog has closed."""
        want = expected_file(self.owners)
        seen = {}

        def probe():
            try:
                with open(path, "rb") as f:
                    seen["data"] = f.read()
            except FileNotFoundError:
                seen["data"] = None
            return seen["data"] == want
        try:
            wait_for(description, probe, 5)
        except Failure:
            data = seen["data"]
            if data is None:
                raise Failure("%s was not written" % description)
            got, lines = data.split(b"\r\n"), want.split(b"\r\n")
            diff = [i + 1 for i in range(max(len(got), len(lines)))
                    if i >= len(got) or i >= len(lines) or got[i] != lines[i]]
            raise Failure("%s differs from the map: %d bytes, %d expected; lines %s differ"
                          % (description, len(data), len(want), diff[:10]))
        return len(want)

    def answer(self, title, key):
        box = self.window(title)
        self.session.activate(box)
        self.session.key(key)
        wait_for('"%s" to close' % title, lambda: box not in self.session.windows("."))

    # ----- the scenario
    def run(self):
        self.session.start()
        log("X server :%d with openbox" % self.session.display)
        work = os.path.join(self.session.root, "maps")
        os.makedirs(work)
        self.app = self.session.spawn([self.binary])

        self.confirm_size_dialog()
        self.frame = self.window(FRAME_TITLE)
        self.relocate_grid()
        shot = self.session.screenshot()
        self.buttons = locate_owner_buttons(shot, self.frame_box(), self.grid)
        log("owner buttons %r" % self.buttons)
        self.wait_cells("a fresh map in the owner-0 colour", self.owners)

        self.paint(1, 2, 3)
        self.paint(4, 0, SIZE - 1)
        self.paint(5, SIZE - 1, SIZE - 1)
        self.drag(2, (3, 6), (15, 6))
        self.drag(6, (8, 8), (8, 14))
        self.paint("pointer", 10, 10)
        self.paint(1, 17, 12)
        self.paint(0, 8, 10)  # owner 0 over a red cell
        self.wait_cells("painted cells", self.owners)
        log("painting shows the expected colours")

        saved_path = os.path.join(work, "first")
        self.file_dialog("ctrl+s", saved_path, "save")
        saved_path += ".kxgf"
        size = self.wait_file(saved_path, "the saved file")
        log("saved file matches byte for byte (%d bytes)" % size)

        # Saved, so a new map opens the size dialog without a question.
        self.activate_frame()
        self.session.key("ctrl+n")
        self.confirm_size_dialog()
        saved_owners = [row[:] for row in self.owners]
        self.owners = [[0] * SIZE for _ in range(SIZE)]
        self.relocate_grid()
        self.wait_cells("the new map in the owner-0 colour", self.owners)
        log("new map is blank")

        self.file_dialog("ctrl+o", saved_path, "open")
        self.owners = saved_owners
        self.relocate_grid()
        self.wait_cells("the reopened map", self.owners)
        log("reopened map shows the saved owners")

        self.check_viewer_text()
        self.replace(1, 6)

        # Save over the first file: the dialog asks before replacing it.
        self.save_over(saved_path)
        self.wait_file(saved_path, "the file saved over the first one")
        log("file saved over the first one matches the replaced map")

        self.paint(3, 11, 11)
        self.wait_cells("a white cell painted after the replacement", self.owners)
        self.close_with_question()

    def clipboard_bytes(self):
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "text/plain"], env=self.session.env,
                                capture_output=True, timeout=30)
        return result.returncode, result.stdout

    def expect_clipboard(self, description, want):
        """Waits until the clipboard's text/plain holds exactly the bytes `want`."""
        last = {"data": b""}

        def probe():
            code, data = self.clipboard_bytes()
            last["data"] = data
            return code == 0 and data == want
        try:
            wait_for(description + " on the clipboard", probe, 5, interval=0.2)
        except Failure:
            got = last["data"]
            at = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b), min(len(got), len(want)))
            raise Failure("%s: clipboard holds %d bytes, %d expected, first difference at %d: %r instead of %r"
                          % (description, len(got), len(want), at, got[max(at - 20, 0):at + 20],
                             want[max(at - 20, 0):at + 20]))
        log("%s copied byte for byte (%d bytes)" % (description, len(want)))

    def check_viewer_text(self):
        """Copies from both tabs of the data viewer, all and part of the text, and compares the bytes."""
        self.activate_frame()
        self.session.key("alt+t", "s")
        viewer = self.window(VIEWER_TITLE)
        self.session.activate(viewer)

        def click(x, y):  # relative to the viewer's client area
            self.session.xdo("mousemove", "--window", viewer, x, y)
            self.session.xdo("click", 1)
        level = expected_level_text(self.owners)
        own_map = level_sections(self.owners)[1]
        click(250, 200)
        self.session.key("ctrl+a", "ctrl+c")
        self.expect_clipboard("the whole level text", level)
        # From the third column of line 3 to the start of line 6, across three line breaks.
        self.session.key("ctrl+Home", "Down", "Down", "Down", "Right", "Right", "shift+Down", "shift+Down",
                         "shift+End", "shift+Right", "ctrl+c")
        self.expect_clipboard("part of the level text", part_of(level, (2, 3), (0, 6)))

        click(200, 20)  # the second tab, right of the first
        click(250, 200)
        self.session.key("ctrl+a", "ctrl+c")
        self.expect_clipboard("the whole coloured own_map text", own_map)
        self.session.key("ctrl+Home", "Down", "Down", "Right", "Right", "Right", "shift+Down", "shift+Down",
                         "shift+Down", "shift+Left", "ctrl+c")
        self.expect_clipboard("part of the coloured own_map text", part_of(own_map, (3, 2), (2, 5)))
        self.session.close_window(viewer, lambda: viewer not in self.session.windows("."),
                                  "the data viewer to close")

    def replace(self, source, target):
        self.activate_frame()
        self.session.key("alt+r")
        dialog = self.window(REPLACE_TITLE)
        self.session.activate(dialog)
        self.session.key(*(["Down"] * source + ["Tab"] + ["Down"] * target + ["Return"]))
        self.answer("Gridforge", "Return")
        self.session.activate(dialog)
        self.session.key("alt+c")
        self.gone(REPLACE_TITLE)
        self.owners = [[target if o == source else o for o in row] for row in self.owners]
        self.wait_cells("owner %d replaced by owner %d" % (source, target), self.owners)
        log("replacement recoloured the cells")

    def close_with_question(self):
        # Refuse the question first: everything stays open.
        self.session.close_window(self.frame, lambda: self.session.windows("^終了$"), 'the question "終了"')
        self.answer("終了", "Escape")
        time.sleep(0.3)
        if self.app.poll() is not None or self.frame not in self.session.windows("."):
            raise Failure("answering No to the closing question still closed the program")
        self.wait_cells("the map after refusing to close", self.owners)
        # Then exit through the menu and agree.
        self.activate_frame()
        self.session.key("alt+f", "e")
        self.answer("終了", "Return")
        wait_for("the program to exit", lambda: self.app.poll() is not None, 10)
        code = self.app.poll()
        if code != 0:
            raise Failure("the program exited with status %d" % code)
        log("program closed after the question, status 0")


def main():
    def make(binary):
        driver = Driver(binary)
        return driver.session, driver.run
    return run_script(__doc__, make)


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Reads the built editor through the desktop's accessibility bus, as a screen reader does, using the keyboard only.

On a private X server with its own session bus and accessibility bus, the run opens every window with keys
(the size dialog at start, the frame with a 20 x 20 map after Enter, the replace dialog with Alt+R, the data
viewer with Alt+T S, the about box with Alt+H A) and walks each window's tree of accessible objects:
- every object a user can act on (buttons, check boxes, lists, tabs, text boxes, menu items, tables) or read
  (pictures, progress and status bars) must have a usable name: a word, not empty, not a bare number or
  sign such as "×"; a drop-down list is named by the label tied to it ("labelled by"), since on Linux the
  toolkit names a list by its value; a status bar must also carry its text;
- each window must have the role of a window or dialog, not "filler".
The map must read as a table of 20 rows and 20 columns whose cells are named by their owners; the lock
(Alt+L) marks the ring's cells as locked, a replacement of owner 0 by owner 1 in the replace dialog renames
the inner cells, and both changes reach the bus as name changes of the cells read before. Choosing an owner
through its button's action changes the map's description, and that change reaches the bus too.

A table of every window (objects, without a usable name, reachable by keyboard) is printed either way.

Usage: accessibility_e2e.py /path/to/gridforge [LOCALE]    (exit 77 when LOCALE does not exist here)
"""
import os
import signal
import sys
import time
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import Failure, RUN_LIMIT, wait_for  # noqa: E402
from atspi_session import AccessibilitySession, locale_exists  # noqa: E402

SKIPPED = 77
SIZE = 20
FRAME_TITLE = "Gridforge First Release Edition"
ACTIONABLE = {"push button", "toggle button", "check box", "radio button", "combo box", "menu item",
              "check menu item", "radio menu item", "page tab", "text", "entry", "password text", "spin button",
              "slider", "table"}
READABLE = {"image", "icon", "progress bar", "status bar"}
WINDOWS = {"frame", "dialog", "window", "alert", "file chooser"}
OWNER0 = "ターゲット&非占領"
LOCKED = "（ロック）"


def usable(name):
    """A name says something: it holds a letter of some script, not only digits, signs and spaces."""
    return any(unicodedata.category(ch).startswith("L") for ch in (name or ""))


def log(message):
    print("[%6.2fs] %s" % (time.monotonic() - START, message), flush=True)


START = time.monotonic()


class Reader:
    def __init__(self, binary, locale):
        self.binary = binary
        self.session = AccessibilitySession(locale=locale)
        self.faults = []
        self.rows = []
        self.events = []
        self.app = None

    # ----- the bus
    def pump(self):
        from gi.repository import GLib
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)

    def listen(self):
        pyatspi = self.session.atspi

        def heard(event):
            try:
                self.events.append((event.type, event.source.getRoleName(), event.source.name))
            except Exception:
                pass
        self.listener = heard
        pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name",
                                               "object:property-change:accessible-description")

    def wait(self, description, probe, timeout=15):
        def pumped():
            self.pump()
            return probe()
        return wait_for(description, pumped, timeout, interval=0.2)

    def top(self, name, timeout=15):
        """The program's top-level window of that name, as the bus shows it."""
        def probe():
            for i in range(self.app.childCount):
                child = self.app.getChildAtIndex(i)
                if child is not None and child.name == name:
                    return child
            return None
        return self.wait('window "%s" on the bus' % name, probe, timeout)

    def gone(self, name, timeout=15):
        self.wait('window "%s" to leave the bus' % name,
                  lambda: all(self.app.getChildAtIndex(i) is None or self.app.getChildAtIndex(i).name != name
                              for i in range(self.app.childCount)), timeout)

    def find(self, root, predicate):
        stack = [root]
        while stack:
            obj = stack.pop()
            if obj is None:
                continue
            if predicate(obj):
                return obj
            if obj.getRoleName() in ("table", "combo box"):
                continue
            stack.extend(obj.getChildAtIndex(i) for i in range(obj.childCount))
        return None

    def fault(self, message):
        log("FAULT: " + message)
        self.faults.append(message)

    # ----- what a reader meets in a window
    def labels(self, obj):
        pyatspi = self.session.atspi
        names = []
        for relation in obj.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
        return names

    def text_of(self, obj):
        try:
            text = obj.queryText()
            return text.getText(0, text.characterCount)
        except NotImplementedError:
            return ""

    def problem(self, obj, role):
        """Why a reader cannot tell what the object is, or None."""
        if role == "combo box":
            labels = [n for n in self.labels(obj) if usable(n)]
            return None if labels else "list named only by its value %r" % obj.name
        if not usable(obj.name):
            return "no usable name (%r)" % obj.name
        if role == "status bar" and not (obj.description or self.text_of(obj)):
            return "status bar without its text"
        return None

    def audit(self, title, window):
        pyatspi = self.session.atspi
        role = window.getRoleName()
        if role not in WINDOWS or not usable(window.name):
            self.fault('%s: the window reads as %s %r' % (title, role, window.name))
        counted, unnamed, reachable = 0, [], 0
        stack = [(window.getChildAtIndex(i), False) for i in range(window.childCount)]
        while stack:
            obj, in_subwindow = stack.pop()
            if obj is None:
                continue
            role = obj.getRoleName()
            # What a window inside the frame shows (the map) is there to be read, whatever its role.
            if role in ACTIONABLE or role in READABLE or in_subwindow:
                counted += 1
                why = self.problem(obj, role)
                if why:
                    described = " (described as %r)" % obj.description if obj.description else ""
                    unnamed.append("%s: %s%s" % (role, why, described))
                state = obj.getState()
                if role.endswith("menu item") or state.contains(pyatspi.STATE_FOCUSABLE):
                    reachable += 1
            if role not in ("combo box", "table"):
                stack.extend((obj.getChildAtIndex(i), role == "frame") for i in range(obj.childCount))
        self.rows.append((title, counted, len(unnamed), reachable))
        log("%s: %d objects, %d without a usable name, %d reachable by keyboard" %
            (title, counted, len(unnamed), reachable))
        for item in unnamed:
            self.fault("%s: %s" % (title, item))

    # ----- the map
    def map_table(self, frame):
        return self.find(frame, lambda o: o.getRoleName() == "table")

    def cell_name(self, table, row, column):
        return table.queryTable().getAccessibleAt(row, column).name

    def expect_cells(self, table, expected, what):
        def probe():
            return all(self.cell_name(table, r, c) == name for (r, c), name in expected.items())
        try:
            self.wait(what, probe, 10)
        except Failure:
            seen = {rc: self.cell_name(table, *rc) for rc in expected}
            self.fault("%s: cells read %r, expected %r" % (what, seen, expected))

    def heard(self, kind, name, what):
        try:
            self.wait(what, lambda: any(e[0].endswith(kind) and e[2] == name for e in self.events), 10)
        except Failure:
            self.fault("%s: no %s change to %r reached the bus (heard %r)" % (what, kind, name, self.events[-5:]))

    def read_map(self, frame):
        """The map as a table of SIZE x SIZE cells named by their owners; None when it is no table."""
        table = self.map_table(frame)
        if table is None:
            self.fault("frame with a map: the map is no table")
            return None
        shape = table.queryTable()
        if (shape.nRows, shape.nColumns) != (SIZE, SIZE):
            self.fault("the map reads as %d rows x %d columns" % (shape.nRows, shape.nColumns))
        if not usable(table.name) or "幅 %d × 高さ %d" % (SIZE, SIZE) not in table.description:
            self.fault("the map's name and description: %r, %r" % (table.name, table.description))
        self.expect_cells(table, {(0, 0): OWNER0, (7, 5): OWNER0, (18, 18): OWNER0}, "the new map's cells")
        log("map: %r, %r, %d x %d cells" % (table.name, table.description, shape.nColumns, shape.nRows))
        return table

    def lock(self, table):
        self.activate_frame()
        self.session.key("alt+l")
        if table is not None:
            self.expect_cells(table, {(0, 0): OWNER0 + LOCKED, (19, 19): OWNER0 + LOCKED, (7, 5): OWNER0},
                              "the cells after the lock")
            self.heard("accessible-name", OWNER0 + LOCKED, "the lock")

    def replace(self, table):
        """Owner 0 by owner 1 in the replace dialog, all at once, by keys alone."""
        self.activate_frame()
        self.session.key("alt+r")
        dialog = self.top("オーナー置換")
        self.audit("replace dialog", dialog)
        self.session.key("Tab", "Down", "Return")  # target owner 1, then the default button
        self.wait("the replacement's message",
                  lambda: self.find(self.app, lambda o: o.getRoleName() == "label" and o.name == "置換が終了しました!"))
        self.session.key("Return")
        self.session.key("alt+c")
        self.gone("オーナー置換")
        if table is not None:
            self.expect_cells(table, {(0, 0): OWNER0 + LOCKED, (7, 5): "レジスタンス", (18, 18): "レジスタンス"},
                              "the cells after replacing owner 0 by owner 1")
            self.heard("accessible-name", "レジスタンス", "the replacement")

    def choose_owner(self, frame, table):
        """A reader presses an owner's button through its action, as it does for its user."""
        button = self.find(frame, lambda o: o.getRoleName() in ("check box", "toggle button", "push button")
                           and o.name == "ゴアカフ")
        if button is None:
            self.fault("no owner button named ゴアカフ")
            return
        button.queryAction().doAction(0)
        if table is not None:
            try:
                self.wait("the description to name the owner", lambda: "ゴアカフ" in table.description)
            except Failure:
                self.fault("choosing an owner: the map's description stays %r" % table.description)
            self.heard("accessible-description", table.name, "choosing an owner")

    def paint_by_keys(self, table):
        """A 3 x 3 square of owner 5 at rows and columns 1 to 3, with the map's own keys: the digit, the
        cursor, Space and Shift+arrows; the reader must read every painted cell by its new owner."""
        self.activate_frame()
        if table is None:
            return
        for _ in range(6):  # F6 goes round the panes to the map
            if table.getState().contains(self.session.atspi.STATE_FOCUSED):
                break
            self.session.key("F6")
            time.sleep(0.2)
        else:
            self.fault("F6 never brought the focus to the map")
            return
        self.session.key("5", "ctrl+Home", "Right", "Down", "space", "shift+Right", "shift+Right", "Down",
                         "shift+Left", "shift+Left", "Down", "shift+Right", "shift+Right")
        square = {(row, column): "ブラックセクト" for row in range(1, 4) for column in range(1, 4)}
        square.update({(0, 0): OWNER0 + LOCKED, (4, 4): "レジスタンス", (1, 4): "レジスタンス"})
        self.expect_cells(table, square, "the square painted by keys")
        self.heard("accessible-name", "ブラックセクト", "painting by keys")

    # ----- driving
    def activate_frame(self):
        frame = wait_for("the frame", lambda: self.session.windows("^%s$" % FRAME_TITLE))[0]
        self.session.activate(frame)

    def run(self):
        self.session.start()
        log("X server :%d with a session bus and an accessibility bus, %s" %
            (self.session.display, self.session.locale))
        work = os.path.join(self.session.root, "maps")
        os.makedirs(work)
        program = self.session.spawn([self.binary], cwd=work)
        self.app = self.session.application(program.pid)
        self.listen()

        self.audit("size dialog", self.top("マップサイズの選択"))
        dialog = wait_for("the size dialog", lambda: self.session.windows("^マップサイズの選択$"))[0]
        self.session.activate(dialog)
        self.session.key("Return")
        self.gone("マップサイズの選択")
        frame = self.top(FRAME_TITLE)
        self.wait("the map window", lambda: self.find(frame, lambda o: o.getRoleName() == "frame" and o.childCount))
        self.audit("frame with a map", frame)
        table = self.read_map(frame)
        self.lock(table)
        self.replace(table)
        self.choose_owner(frame, table)
        self.paint_by_keys(table)

        self.activate_frame()
        self.session.key("alt+t", "s")
        viewer = self.top("マップデータ")
        self.audit("data viewer", viewer)
        wid = wait_for("the viewer", lambda: self.session.windows("^マップデータ$"))[0]
        self.session.close_window(wid, lambda: wid not in self.session.windows("."), "the viewer to close")

        self.activate_frame()
        self.session.key("alt+h", "a")
        self.audit("about box", self.top("このプログラムについて"))
        self.session.key("Return")
        self.gone("このプログラムについて")

    def report(self):
        print("| Window | actionable or readable objects | without a usable name | reachable by keyboard |")
        print("|---|---|---|---|")
        for title, counted, unnamed, reachable in self.rows:
            print("| %s | %d | %d | %d |" % (title, counted, unnamed, reachable))


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__)
        return 2
    locale = sys.argv[2] if len(sys.argv) == 3 else "C.UTF-8"
    if not locale_exists(locale):
        print("SKIP: no locale %s here" % locale)
        return SKIPPED

    def stop(signum, _frame):
        raise Failure("stopped by signal %d" % signum)
    for signum in (signal.SIGALRM, signal.SIGTERM, signal.SIGINT):
        signal.signal(signum, stop)
    signal.alarm(RUN_LIMIT)
    reader = Reader(os.path.abspath(sys.argv[1]), locale)
    ok = False
    try:
        reader.run()
        ok = not reader.faults
    except Exception as failure:
        print("FAIL: %s: %s" % (type(failure).__name__, failure), flush=True)
        reader.session.run(["import", "-window", "root", os.path.join(reader.session.root, "failure.png")],
                           check=False)
        print("screen kept in %s" % reader.session.root, flush=True)
    finally:
        reader.report()
        reader.session.close(keep_dir=not ok)
    if reader.faults:
        print("%d faults:\n  %s" % (len(reader.faults), "\n  ".join(reader.faults)))
    print("PASS" if ok else "FAILED", flush=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())

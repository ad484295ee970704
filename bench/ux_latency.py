#!/usr/bin/env python3
"""Times what a user sees on a real X server (a private Xvfb with openbox).

- Start-up: from starting the process to the size dialog painted on the screen, for the editor and for a bare
  Qt dialog of the same layout (bench/bare_dialog), alternating, as a ratio of the medians; and the
  instructions each executes until then (callgrind, up to the end of the first paint, the one that shows the
  dialog).
- Enter-to-map: from the Enter key in the size dialog to the last cell of the new map on the screen: at
  start-up (which also shows the frame window for the first time) for the preselected 20 x 20 and for 50 x 50,
  one new editor process per run; and through New in a running editor, 50 x 50 replacing a 20 x 20 map.
- Click-to-repaint: from a button press on a cell (owner 1 chosen) to the cell shown in the owner's colour.
- The data viewer's coloured tab, first visit: a 50 x 50 map opened from a file at start, the viewer opened, then
  from the button press on the second tab to the coloured text on the screen as it looks once painted (rows 3
  to 7 of the box, clear of the text cursor); a fresh viewer window for every run, one editor process.

Input goes through the XTest extension (the requests xdotool sends), sent from this script so that the clock
starts when the request leaves; the screen is polled with XGetImage on the affected rectangle only. Each
figure is printed as median and range over its runs against one 60 Hz frame (16.7 ms), or as a ratio.

With GRIDFORGE_UX_BUS=1 the X server comes with a session bus and an accessibility bus that is switched on,
and before the clicks this script reads every cell of the map through the bus and listens to name changes, as
a screen reader does: each click then also announces the changed cell on the bus. GRIDFORGE_UX_ONLY=click
times the clicks alone.

Usage: ux_latency.py BUILD_DIR [RUNS]
"""
import ctypes
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from xsession import Failure, XSession, wait_for  # noqa: E402
from atspi_session import AccessibilitySession  # noqa: E402
from instruction_counts import self_cost  # noqa: E402
from gridforge_e2e import CELL_COLOURS, FRAME_TITLE, SIZE_DIALOG, connected_patches, locate_grid, \
    locate_owner_buttons  # noqa: E402

FRAME_MS = 1000.0 / 60.0
STARTUP_RATIO = 1.1
VIEWER_TITLE = "マップデータ"
KEYSYMS = {"Return": 0xFF0D, "End": 0xFF57, "Tab": 0xFF09, "Control_L": 0xFFE3, "n": 0x006E}


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


class Screen:
    """The X server as this script reads and drives it."""

    def __init__(self, display):
        self.x = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.dpy = self.x.XOpenDisplay((":%d" % display).encode())
        if not self.dpy:
            raise Failure("cannot open display :%d" % display)
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.root = self.x.XDefaultRootWindow(self.dpy)
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                     ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]

    def grab(self, box):
        """The pixels of box (x, y, width, height) as bytes, four per pixel."""
        x, y, w, h = box
        image = self.x.XGetImage(self.dpy, self.root, x, y, w, h, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            raise Failure("XGetImage failed")
        data = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * h)
        self.x.XFree(image.contents.data)
        self.x.XFree(ctypes.cast(image, ctypes.c_void_p))
        return data

    def shows(self, box, rgb):
        """True when every pixel of box has the colour rgb."""
        pixel = bytes((rgb[2], rgb[1], rgb[0]))
        data = self.grab(box)
        return all(data[i:i + 3] == pixel for i in range(0, len(data), 4))

    def key(self, name, down):
        self.xtst.XTestFakeKeyEvent(self.dpy, self.x.XKeysymToKeycode(self.dpy, KEYSYMS[name]), down, 0)
        self.x.XFlush(self.dpy)

    def tap(self, name):
        self.key(name, True)
        self.key(name, False)

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        self.x.XFlush(self.dpy)

    def button(self, down):
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, down, 0)
        self.x.XFlush(self.dpy)


def poll(probe, timeout=10.0):
    """Seconds until probe() is true, polling every 0.2 ms."""
    start = time.perf_counter()
    while not probe():
        if time.perf_counter() - start > timeout:
            raise Failure("the screen did not change within %.0f s" % timeout)
        time.sleep(0.0002)
    return time.perf_counter()


def summary(values):
    return "median %7.1f ms, range %6.1f to %6.1f ms (%d runs)" % (
        statistics.median(values), min(values), max(values), len(values))


def verdict(values, limit):
    return "met" if max(values) < limit else "NOT met"


class Latency:
    def __init__(self, build, runs):
        self.editor = os.path.join(build, "gridforge")
        self.bare = os.path.join(build, "bench", "bare_dialog")
        self.runs = runs
        self.bus = os.environ.get("GRIDFORGE_UX_BUS") == "1"
        self.session = AccessibilitySession() if self.bus else XSession()
        self.screen = None

    def window(self, title):
        return wait_for('window "%s"' % title, lambda: self.session.windows("^%s$" % title), 15, 0.02)[0]

    def dialog_box(self, wid):
        """The size dialog's first text line: painted once, the same whatever has the focus."""
        x, y, _, _ = self.session.geometry(wid)
        return x + 8, y + 8, 217, 17

    def reference(self, program):
        """Where the dialog shows and what that place looks like once painted."""
        proc = self.session.spawn([program])
        try:
            box = self.dialog_box(self.window(SIZE_DIALOG))
            time.sleep(1.0)
            seen = self.screen.grab(box)
            if len(set(seen[i:i + 3] for i in range(0, len(seen), 4))) < 3:
                raise Failure("%s: no text where the dialog's first line should be" % program)
            return box, seen
        finally:
            self.session.stop_process(proc)

    def startup(self, program, box, seen):
        """Milliseconds from starting program to its dialog painted; the process is left running."""
        start = time.perf_counter()
        proc = self.session.spawn([program])
        end = poll(lambda: self.screen.grab(box) == seen)
        return (end - start) * 1000.0, proc

    def startup_instructions(self, program, box, seen):
        """Instructions executed from the start to the end of the first paint, which shows the dialog."""
        out = os.path.join(self.session.root, "callgrind.%s" % os.path.basename(program))
        # %p: a child the toolkit forks on the way writes a file of its own. Every paint that ends writes the
        # counts since the last dump to <file>.<n>; the first holds everything up to the first paint.
        proc = self.session.spawn(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out + ".%p",
                                   "--dump-after=QWidgetRepaintManager::paintAndFlush*", program])
        poll(lambda: self.screen.grab(box) == seen, timeout=120)
        first_paint = "%s.%d.1" % (out, proc.pid)
        wait_for("the first paint's counts", lambda: os.path.exists(first_paint), 30, 0.1)
        self.session.stop_process(proc)
        return self_cost(first_paint)[1]

    def measure_startup(self):
        editor = self.reference(self.editor)
        bare = self.reference(self.bare)
        times = {"editor": [], "bare": []}
        for _ in range(self.runs):
            for name, program, (box, seen) in (("editor", self.editor, editor), ("bare", self.bare, bare)):
                ms, proc = self.startup(program, box, seen)
                self.session.stop_process(proc)
                times[name].append(ms)
        ratio = statistics.median(times["editor"]) / statistics.median(times["bare"])
        pairs = [e / b for e, b in zip(times["editor"], times["bare"])]
        print("start-up to the painted size dialog, editor:     %s" % summary(times["editor"]))
        print("start-up to the painted size dialog, bare dialog: %s" % summary(times["bare"]))
        print("start-up ratio editor / bare dialog: %.2f of the medians, %.2f to %.2f run by run; "
              "<= %.1f in every run: %s" % (ratio, min(pairs), max(pairs), STARTUP_RATIO,
                                           "met" if max(pairs) <= STARTUP_RATIO else "NOT met"))
        counts = {name: self.startup_instructions(program, *where)
                  for name, program, where in (("editor", self.editor, editor), ("bare", self.bare, bare))}
        ratio = counts["editor"] / counts["bare"]
        print("start-up instructions to the end of the first paint: editor {:,}, bare dialog {:,}, "
              "ratio {:.2f}; <= {:.1f}: {}".format(counts["editor"], counts["bare"], ratio, STARTUP_RATIO,
                                                  "met" if ratio <= STARTUP_RATIO else "NOT met"))
        return editor

    def open_map(self, dialog, keys):
        """Starts the editor, picks the size with keys and returns (ms from Enter to the last cell, process)."""
        box, seen = dialog
        _, proc = self.startup(self.editor, box, seen)
        self.session.activate(self.window(SIZE_DIALOG))
        for key in keys:
            self.screen.tap(key)
            time.sleep(0.05)
        return proc

    def last_cell_shown(self):
        """Screen box inside the last cell of the map on the screen."""
        shot = self.session.screenshot()
        fx, fy, fw, fh = self.session.geometry(self.window(FRAME_TITLE))
        grid = max(connected_patches(shot.points_of(CELL_COLOURS[0], (fx, fy, fx + fw, fy + fh))), key=len)
        return max(p[0] for p in grid) - 3, max(p[1] for p in grid) - 3, 3, 3

    def last_cell(self, size, dialog):
        """Screen box inside the last cell of a size x size map built at start-up."""
        proc = self.open_map(dialog, ["End", "Tab", "End"] if size == 50 else [])
        try:
            self.screen.tap("Return")
            time.sleep(2.0)
            return self.last_cell_shown()
        finally:
            self.session.stop_process(proc)

    def new_map(self, keys):
        """Ctrl+N in the frame, then keys in the size dialog; returns the dialog's window."""
        self.session.activate(self.window(FRAME_TITLE))
        self.screen.key("Control_L", True)
        self.screen.tap("n")
        self.screen.key("Control_L", False)
        dialog = self.window(SIZE_DIALOG)
        self.session.activate(dialog)
        for key in keys:
            self.screen.tap(key)
            time.sleep(0.05)
        return dialog

    def measure_new(self, dialog):
        proc = self.open_map(dialog, [])
        self.screen.tap("Return")
        time.sleep(1.0)
        self.new_map(["End", "Tab", "End"])
        self.screen.tap("Return")
        time.sleep(2.0)
        box = self.last_cell_shown()
        times = []
        for _ in range(self.runs):
            self.new_map([])  # back to 20 x 20: the 50 x 50 map's last cell goes
            self.screen.tap("Return")
            wait_for("the 20x20 map", lambda: not self.screen.shows(box, CELL_COLOURS[0]), 10, 0.01)
            time.sleep(0.3)
            self.new_map(["End", "Tab", "End"])
            start = time.perf_counter()
            self.screen.key("Return", True)
            end = poll(lambda: self.screen.shows(box, CELL_COLOURS[0]))
            self.screen.key("Return", False)
            times.append((end - start) * 1000.0)
            time.sleep(0.3)
        self.session.stop_process(proc)
        print("Enter to the 50x50 map on screen through New:  %s; one frame: %s" % (
            summary(times), verdict(times, FRAME_MS)))

    def measure_enter(self, dialog):
        for size in (20, 50):
            box = self.last_cell(size, dialog)
            times = []
            for _ in range(self.runs):
                proc = self.open_map(dialog, ["End", "Tab", "End"] if size == 50 else [])
                start = time.perf_counter()
                self.screen.key("Return", True)
                end = poll(lambda: self.screen.shows(box, CELL_COLOURS[0]))
                self.screen.key("Return", False)
                times.append((end - start) * 1000.0)
                self.session.stop_process(proc)
            print("Enter to the %dx%d map on screen at start-up:  %s; one frame: %s" % (
                size, size, summary(times), verdict(times, FRAME_MS)))

    def measure_click(self, dialog):
        proc = self.open_map(dialog, [])
        self.screen.tap("Return")
        frame = self.window(FRAME_TITLE)
        time.sleep(1.0)
        shot = self.session.screenshot()
        frame_box = self.session.geometry(frame)
        grid = locate_grid(shot, frame_box)
        buttons = locate_owner_buttons(shot, frame_box, grid)
        self.session.click(*buttons[1])
        if self.bus:
            self.read_as_screen_reader(proc)
        times = []
        cells = [(c, r) for r in range(2, 18, 3) for c in range(2, 18, 3)][:self.runs + 1]
        for n, (c, r) in enumerate(cells):
            x, y = grid.centre(c, r)
            self.screen.move(x, y)
            time.sleep(0.05)
            start = time.perf_counter()
            self.screen.button(True)
            end = poll(lambda: self.screen.shows((x - 1, y - 1, 3, 3), CELL_COLOURS[1]))
            self.screen.button(False)
            time.sleep(0.05)
            if n > 0:  # the first press also activates the map window
                times.append((end - start) * 1000.0)
        if self.bus:
            from gi.repository import GLib

            def all_heard():
                while GLib.MainContext.default().iteration(False):
                    pass
                return self.heard.count("レジスタンス") >= len(cells)
            wait_for("the announcements of the clicked cells", all_heard, 10, 0.05)
            print("heard %d cells change their names on the bus" % self.heard.count("レジスタンス"))
        self.session.stop_process(proc)
        reader = ", a screen reader listening on the bus" if self.bus else ""
        print("click to the repainted cell, 20x20%s:  %s; one frame: %s" % (reader, summary(times),
                                                                          verdict(times, FRAME_MS)))

    def read_as_screen_reader(self, proc):
        """Listens to name changes and reads every cell of the map, so that each change is announced."""
        pyatspi = self.session.atspi
        app = self.session.application(proc.pid)
        self.heard = []
        pyatspi.Registry.registerEventListener(lambda event: self.heard.append(event.source.name),
                                               "object:property-change:accessible-name",
                                               "object:property-change:accessible-description")
        stack, table = [app], None
        while stack and table is None:
            obj = stack.pop()
            if obj is not None and obj.getRoleName() == "table":
                table = obj.queryTable()
            elif obj is not None:
                stack.extend(obj.getChildAtIndex(i) for i in range(obj.childCount))
        if table is None:
            raise Failure("the map is no table on the accessibility bus")
        names = {table.getAccessibleAt(r, c).name for r in range(table.nRows) for c in range(table.nColumns)}
        print("read %d x %d cells through the bus (%s)" % (table.nColumns, table.nRows, ", ".join(sorted(names))))

    def write_viewer_map(self):
        """A 50 x 50 map file painted in runs of 1 to 8 sectors of one owner along the rows, every owner used."""
        import random
        pick = random.Random(2024)
        owners = []
        while len(owners) < 2500:
            owners += [pick.randrange(7)] * pick.randint(1, 8)
        path = os.path.join(self.session.root, "viewer-50x50.kxgf")
        lines = ["KX-GRIDFORGE@VER1.00", "50,50", "0"] + [str(o) for o in owners[:2500]]
        with open(path, "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))
        return path

    def open_viewer(self, frame):
        """Opens the data viewer from the frame's menu; returns its window and the second tab's screen point."""
        self.session.activate(frame)
        self.session.key("alt+t", "s")
        viewer = self.window(VIEWER_TITLE)
        self.session.activate(viewer)
        return viewer

    def point_at_second_tab(self, viewer):
        self.session.xdo("mousemove", "--sync", "--window", viewer, 200, 20)
        time.sleep(0.3)

    def close_viewer(self, viewer):
        self.session.close_window(viewer, lambda: viewer not in self.session.windows("^%s$" % VIEWER_TITLE),
                                  "the data viewer to close")

    def measure_viewer(self):
        proc = self.session.spawn([self.editor, self.write_viewer_map()])
        frame = self.window(FRAME_TITLE)
        time.sleep(1.0)
        # Once untimed: where the coloured rows show and how they look when painted.
        viewer = self.open_viewer(frame)
        x, y, _, _ = self.session.geometry(viewer)
        box = (x + 31, y + 72, 300, 75)  # rows 3 to 7 of the coloured box
        before = self.screen.grab(box)
        self.point_at_second_tab(viewer)
        self.screen.button(True)
        self.screen.button(False)
        time.sleep(1.5)
        seen = self.screen.grab(box)
        if seen == before or len(set(seen[i:i + 3] for i in range(0, len(seen), 4))) < 5:
            raise Failure("the coloured tab shows no coloured text where expected")
        self.close_viewer(viewer)
        times = []
        for _ in range(self.runs):
            viewer = self.open_viewer(frame)
            if self.session.geometry(viewer)[:2] != (x, y):
                raise Failure("the viewer opened at another place")
            self.point_at_second_tab(viewer)
            start = time.perf_counter()
            self.screen.button(True)
            end = poll(lambda: self.screen.grab(box) == seen)
            self.screen.button(False)
            times.append((end - start) * 1000.0)
            time.sleep(0.3)
            self.close_viewer(viewer)
        self.session.stop_process(proc)
        print("click on the coloured tab to its coloured text on screen, 50x50, first visit:  %s; one frame: %s"
              % (summary(times), verdict(times, FRAME_MS)))

    def run(self):
        self.session.start()
        self.screen = Screen(self.session.display)
        only = os.environ.get("GRIDFORGE_UX_ONLY")  # "startup" or "viewer": that part alone
        if only == "viewer":
            self.measure_viewer()
            return
        if only == "startup":
            self.measure_startup()
            return
        if only == "click":
            self.measure_click(self.reference(self.editor))
            return
        dialog = self.measure_startup()
        self.measure_enter(dialog)
        self.measure_new(dialog)
        self.measure_click(dialog)
        self.measure_viewer()


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    latency = Latency(build, runs)
    try:
        latency.run()
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    finally:
        latency.session.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Runs gridforge.exe under wine in a real window on a private X server and checks what it does.

Confirms the size dialog with Enter, checks that the 20 x 20 map is drawn in the owner-0 colour, paints one cell,
saves through the file dialog and compares the file byte for byte with the map as the file format writes it (the
bytes the Linux build writes for the same map); then keeps a screenshot of the editor and closes it.

Usage: wine_window.py path/to/gridforge.exe screenshot.png   (WINEPREFIX as for the program)
"""
import os
import subprocess
import sys
import time

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(root, "tests", "e2e"))
import gridforge_e2e as e2e  # noqa: E402
from xsession import Failure, wait_for  # noqa: E402

# A first start of wine in a fresh prefix takes a while.
STARTUP_SECONDS = 120
# Qt's "Save As" in qtbase_ja.qm.
SAVE_TITLE = "名前を付けて保存"


class WineDriver(e2e.Driver):
    def __init__(self, exe, picture):
        super().__init__(exe)
        self.picture = picture

    def start_wine(self):
        self.session.start()
        env = self.session.env
        env.pop("QT_QPA_PLATFORM", None)  # the windows platform plugin, not X
        for name in ("WINEPREFIX", "WINEPATH", "WINEARCH"):
            if os.environ.get(name) is not None:
                env[name] = os.environ[name]
        env.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        e2e.log("X server :%d with openbox" % self.session.display)
        self.app = self.session.spawn(["wine", self.binary])

    def owner_buttons(self):
        """The owner buttons' centres: one column, spaced as the first two, each in its owner's colour (the
        selected pointer button is white under the Windows style, so white alone does not find owner 3)."""
        shot = self.session.screenshot()
        fx, fy, fw, fh = self.frame_box()
        centres = {}
        for owner in (1, 2):
            patch = max(e2e.connected_patches(shot.points_of(e2e.BUTTON_COLOURS[owner],
                                                             (fx, fy, self.grid.x0 - 30, fy + fh))), key=len)
            xs, ys = [p[0] for p in patch], [p[1] for p in patch]
            centres[owner] = ((min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2)
        x, y = centres[1]
        pitch = centres[2][1] - y
        for i, owner in enumerate([1, 2, 3, 4, 5, 6, 0]):
            centres[owner] = (x, y + i * pitch)
            if shot.pixel(*centres[owner]) != e2e.BUTTON_COLOURS[owner]:
                raise Failure("owner button %d at %r shows %r" % (owner, centres[owner], shot.pixel(*centres[owner])))
        centres["pointer"] = (x, y - pitch)
        return centres

    def run(self):
        self.start_wine()
        dialog = wait_for('window "%s"' % e2e.SIZE_DIALOG,
                          lambda: self.session.windows("^%s$" % e2e.SIZE_DIALOG), STARTUP_SECONDS)[0]
        self.session.activate(dialog)
        self.session.key("Return")
        self.gone(e2e.SIZE_DIALOG)
        self.frame = self.window(e2e.FRAME_TITLE, 30)
        self.relocate_grid()
        self.buttons = self.owner_buttons()
        self.wait_cells("a fresh 20 x 20 map in the owner-0 colour", self.owners)
        e2e.log("20 x 20 map drawn, %d px per cell" % self.grid.pitch)

        self.paint(1, 2, 3)
        self.wait_cells("the painted cell", self.owners)
        e2e.log("cell (2,3) painted in owner 1's colour")

        work = os.path.join(self.session.root, "maps")
        os.makedirs(work)
        # The dialog's title is Qt's own text in Japanese, from the folder's translations; it takes the
        # Windows name of the folder: drive Z: is the host's root.
        self.activate_frame()
        known = set(self.session.windows("."))
        self.session.key("ctrl+s")
        dialog = self.new_window_except(known)
        title = self.session.window_name(dialog)
        if title != SAVE_TITLE:
            raise Failure('save dialog "%s", not "%s": Qt\'s Japanese texts were not found' % (title, SAVE_TITLE))
        self.session.activate(dialog)
        self.session.type_text("Z:" + work + "/windows")
        self.session.key("Return")
        wait_for("the save dialog to close", lambda: dialog not in self.session.windows("."))
        size = self.wait_file(os.path.join(work, "windows.kxgf"), "the saved file")
        e2e.log("saved file: %d bytes, identical to the map in the file format" % size)

        time.sleep(0.5)
        # The screen without the empty black around the window.
        subprocess.run(["import", "-window", "root", "-trim", "+repage", self.picture], env=self.session.env,
                       check=True, timeout=30)
        e2e.log("screenshot %s" % self.picture)

        self.activate_frame()
        self.session.key("alt+F4")
        wait_for("the program to exit", lambda: self.app.poll() is not None, 20)
        if self.app.returncode != 0:
            raise Failure("the program exited with status %d" % self.app.returncode)


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    driver = WineDriver(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
    ok = False
    try:
        driver.run()
        ok = True
    except Exception as failure:  # leave a screenshot to look at, and no processes behind
        print("FAILED: %s" % failure, flush=True)
        try:
            failed = os.path.join(driver.session.root, "failed.png")
            subprocess.run(["import", "-window", "root", failed], env=driver.session.env, timeout=30)
            print("screen at the failure: %s" % failed)
        except Exception:
            pass
    finally:
        driver.session.close(keep_dir=not ok)
    print("wine window: %s" % ("passed" if ok else "FAILED"), flush=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Runs the built editor under a private X server through its dialogs, and checks what a user meets there.

- Presses at once on a map window built by New (Ctrl+N, and the toolbar button while another window has the
  focus) paint from the first one, and the new window comes up active.
- The program writes nothing but the map files the user saves: with HOME and the XDG folders in an empty
  temporary folder, a save, a new map, an open and the exit through the real dialogs leave that folder as it was.

Usage: dialogs_e2e.py /path/to/gridforge
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import Failure, run_script, wait_for  # noqa: E402
import gridforge_e2e as e2e  # noqa: E402

CLICKS = 8


def tree(folder):
    found = set()
    for root, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(root, name)
            found.add((os.path.relpath(path, folder), os.path.getsize(path) if name in files else -1))
    return found


class DialogsDriver(e2e.Driver):
    def new_map_by_toolbar(self):
        """Presses the toolbar's first button (New) with the mouse."""
        fx, fy, _, _ = self.frame_box()
        self.session.xdo("mousemove", "--sync", fx + 25, fy + 30)
        time.sleep(0.3)
        self.session.xdo("click", 1)

    def quick_clicks_after_new(self, how, row, changed=False):
        """New map, then CLICKS presses at once on row `row`; all of them must paint. On a changed map both
        questions come first (New's, then the old window's before it closes) and are answered Yes."""
        if how.startswith("keys"):
            self.activate_frame()
            self.session.key("ctrl+n")
        else:
            # Another window has the focus: the data viewer, moved off the toolbar.
            self.activate_frame()
            self.session.key("alt+t", "s")
            viewer = self.window(e2e.VIEWER_TITLE)
            self.session.xdo("windowmove", viewer, 0, 600)
            self.session.activate(viewer)
            self.new_map_by_toolbar()
        if changed:
            self.answer("新規作成", "Return")
        dialog = self.window(e2e.SIZE_DIALOG)
        self.session.activate(dialog)
        self.session.key("Return")
        if changed:
            box = self.window("終了")
            self.session.activate(box)
            self.session.key("Return")
        self.owners = [[0] * e2e.SIZE for _ in range(e2e.SIZE)]
        for column in range(CLICKS):
            self.session.xdo("mousemove", "--sync", *self.grid.centre(column, row))
            self.session.xdo("click", 1)
        for column in range(CLICKS):
            self.owners[row][column] = 1
        self.wait_cells("%d presses at once after New (%s)" % (CLICKS, how), self.owners, 5)
        active = self.session.run(["xdotool", "getactivewindow"], check=False)[1].strip()
        if active != str(self.frame):
            raise Failure("after New the frame is not the active window")
        e2e.log("all %d presses right after New (%s) painted" % (CLICKS, how))
        if not how.startswith("keys"):
            self.session.close_window(viewer, lambda: viewer not in self.session.windows("."),
                                      "the data viewer to close")

    def answer_if_asked(self, title):
        boxes = self.session.windows("^%s$" % title)
        if boxes:
            self.answer(title, "Return")

    def run(self):
        self.session.start()
        # The program's own home, apart from the window manager's.
        home = os.path.join(self.session.root, "program-home")
        env = dict(self.session.env, HOME=home)
        for variable, folder in (("XDG_CONFIG_HOME", ".config"), ("XDG_CACHE_HOME", ".cache"),
                                 ("XDG_DATA_HOME", ".local/share")):
            env[variable] = os.path.join(home, folder)
            os.makedirs(env[variable])
        before = tree(home)
        e2e.log("X server :%d with openbox; program home %s" % (self.session.display, home))
        work = os.path.join(self.session.root, "maps")
        os.makedirs(work)
        self.app = self.session.spawn([self.binary], env, cwd=work)

        self.confirm_size_dialog()
        self.frame = self.window(e2e.FRAME_TITLE)
        self.relocate_grid()
        self.buttons = e2e.locate_owner_buttons(self.session.screenshot(), self.frame_box(), self.grid)
        self.paint(1, 0, 0)
        self.file_dialog("ctrl+s", os.path.join(work, "saved"), "save")
        self.wait_file(os.path.join(work, "saved.kxgf"), "the saved file")

        self.quick_clicks_after_new("keys", 2)
        self.quick_clicks_after_new("keys, changed map", 3, changed=True)
        # Open the saved file through the open dialog; the changed map is asked about first.
        self.activate_frame()
        known = set(self.session.windows("."))
        self.session.key("ctrl+o")
        self.answer("ドキュメントを閉じますか.", "Return")  # "?" ends the title
        dialog = self.new_window_except(known)
        self.session.activate(dialog)
        self.session.type_text(os.path.join(work, "saved.kxgf"))
        self.session.key("Return")
        wait_for("the open dialog to close", lambda: dialog not in self.session.windows("."))
        self.answer_if_asked("終了")
        self.owners = [[0] * e2e.SIZE for _ in range(e2e.SIZE)]
        self.owners[0][0] = 1
        self.wait_cells("the reopened map", self.owners)
        self.quick_clicks_after_new("toolbar, data viewer active", 4)

        self.session.close_window(self.frame, lambda: self.session.windows("^終了$"), 'the question "終了"')
        self.answer("終了", "Return")
        wait_for("the program to exit", lambda: self.app.poll() is not None, 10)
        written = sorted(tree(home) - before)
        if written:
            raise Failure("the program wrote outside the saved map: %s" % ", ".join(p for p, _ in written))
        e2e.log("nothing written under HOME and the XDG folders")


def main():
    def make(binary):
        driver = DialogsDriver(binary)
        return driver.session, driver.run
    return run_script(__doc__, make)


if __name__ == "__main__":
    sys.exit(main())

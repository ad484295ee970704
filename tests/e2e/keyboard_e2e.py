#!/usr/bin/env python3
"""Drives the built editor under a private X server with the keyboard alone, and checks what it paints and saves.

The run confirms the size dialog with Enter, chooses owner 4 with its digit on the map, moves the sector cursor
with the arrow keys and paints a 3 x 3 square with Space and Shift+arrows, Ctrl+Home and a Space with owner 2 in
the corner, then saves with Ctrl+S through the save dialog. It compares every cell on the screen with the
expected owners and the saved file byte for byte. No pointer button is pressed at any time.

Usage: keyboard_e2e.py /path/to/gridforge
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import run_script  # noqa: E402
import gridforge_e2e as e2e  # noqa: E402


class KeyboardDriver(e2e.Driver):
    def run(self):
        self.session.start()
        e2e.log("X server :%d with openbox" % self.session.display)
        work = os.path.join(self.session.root, "maps")
        os.makedirs(work)
        self.app = self.session.spawn([self.binary])
        self.confirm_size_dialog()
        self.frame = self.window(e2e.FRAME_TITLE)
        self.relocate_grid()
        self.activate_frame()

        # The map has the focus: owner 4 by its digit, the cursor to (5, 5), then the square row by row.
        self.session.key("4", *(["Right"] * 5 + ["Down"] * 5))
        self.session.key("shift+Right", "shift+Right", "Down", "shift+Left", "shift+Left", "Down",
                         "space", "shift+Right", "shift+Right")
        for row in (5, 6, 7):
            for column in (5, 6, 7):
                self.owners[row][column] = 4
        # Then owner 2 in the bottom-right corner.
        self.session.key("2", "ctrl+End", "space")
        self.owners[e2e.SIZE - 1][e2e.SIZE - 1] = 2
        self.wait_cells("the square painted from the keyboard", self.owners)
        e2e.log("keyboard painting shows the expected colours")

        saved = os.path.join(work, "keys")
        self.file_dialog("ctrl+s", saved, "save")
        size = self.wait_file(saved + ".kxgf", "the saved file")
        e2e.log("saved file matches byte for byte (%d bytes)" % size)

        self.session.close_window(self.frame, lambda: self.app.poll() is not None, "the program to exit")
        if self.app.poll() != 0:
            raise e2e.Failure("the program exited with status %r" % self.app.poll())


def main():
    def make(binary):
        driver = KeyboardDriver(binary)
        return driver.session, driver.run
    return run_script(__doc__, make)


if __name__ == "__main__":
    sys.exit(main())

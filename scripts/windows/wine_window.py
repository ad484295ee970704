#!/usr/bin/env python3
"""Runs gridforge.exe under wine in a real window on a private X server and checks what it does.

At 100 % (96 dpi), started from a folder of its own: confirms the size dialog with Enter, checks that the
20 x 20 map is drawn in the owner-0 colour, paints, and saves through the system's file dialog (wine's common
dialog), comparing each file byte for byte with the map as the file format writes it (the bytes the Linux build
writes for the same map):
- the first Save as starts in the user's documents folder: a bare name lands there;
- a full Windows path typed into it is taken;
- the next Save as starts in the folder of the map just saved: a bare name lands there, ".kxgf" added;
- saving over that file brings the system's overwrite question, and Yes replaces the file;
- Open starts there too and loads a bare name;
- nothing lands in the folder the program was started from, and the registry of the user (HKCU) is the same
  after the session as before it.
Then at 150 % (LogPixels 144): the size dialog and the frame are 1.5 times their size at 100 %.
Screenshots: the editor, the save dialog and the overwrite question at 100 %, the editor at 150 %.

Each file dialog is checked while it is up to be the system's (window class "#32770", as window_classes.exe lists
the windows), not Qt's.

Usage: wine_window.py path/to/gridforge.exe picture-folder path/to/window_classes.exe   (WINEPREFIX as for the program)
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
DESKTOP_KEY = "HKCU\\Control Panel\\Desktop"
# Keys the system's own file dialog makes, empty, the first time it shows (wine's explorer view asks for its
# settings there; Windows has the key from the start). Nothing of the program's or Qt's.
SYSTEM_DIALOG_KEYS = {"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced]"}


def wine_env():
    env = {name: os.environ[name] for name in ("PATH", "WINEPREFIX", "WINEARCH", "WINEPATH") if name in os.environ}
    env.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=", HOME=os.environ.get("HOME", "/root"))
    return env


def wine(*args):
    return subprocess.run(["wine"] + list(args), env=wine_env(), capture_output=True, timeout=120)


def user_registry(folder):
    """HKEY_CURRENT_USER as `reg export` writes it, as lines."""
    out = os.path.join(folder, "hkcu.reg")
    result = wine("reg", "export", "HKEY_CURRENT_USER", "Z:" + out.replace("/", "\\"), "/y")
    if result.returncode != 0 or not os.path.exists(out):
        raise Failure("reg export failed (%d)" % result.returncode)
    with open(out, "rb") as f:
        data = f.read()
    os.remove(out)
    return data.decode("utf-16" if data[:2] in (b"\xff\xfe", b"\xfe\xff") else "utf-8").splitlines()


def drop_empty_qt_keys():
    """The test programs' own check of Qt's shared settings opens HKCU\\Software\\QtProject, and QSettings makes
    the keys it opens: without them, a key the program made, even an empty one, shows after the session."""
    result = wine("reg", "query", "HKCU\\Software\\QtProject", "/s")
    lines = [line for line in result.stdout.decode("utf-8", "replace").splitlines() if line.strip()]
    if result.returncode == 0 and all(line.startswith("HKEY_") for line in lines):
        wine("reg", "delete", "HKCU\\Software\\QtProject", "/f")


def documents_folders():
    prefix = os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine"))
    users = os.path.join(prefix, "drive_c", "users")
    return [os.path.join(users, user, "Documents") for user in os.listdir(users)
            if os.path.isdir(os.path.join(users, user, "Documents"))]


class WineDriver(e2e.Driver):
    def __init__(self, exe, pictures, classes, screen="1280x1024x24"):
        super().__init__(exe)
        self.session = e2e.XSession(screen)
        self.pictures = pictures
        self.classes = classes
        self.sizes = {}

    def start_wine(self, folder):
        self.session.start()
        env = self.session.env
        env.pop("QT_QPA_PLATFORM", None)  # the windows platform plugin, not X
        for name in ("WINEPREFIX", "WINEPATH", "WINEARCH"):
            if os.environ.get(name) is not None:
                env[name] = os.environ[name]
        env.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        e2e.log("X server :%d with openbox" % self.session.display)
        self.app = self.session.spawn(["wine", self.binary], cwd=folder)

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

    def picture(self, name):
        path = os.path.join(self.pictures, name)
        subprocess.run(["import", "-window", "root", "-trim", "+repage", path], env=self.session.env,
                       check=True, timeout=30)
        e2e.log("screenshot %s" % path)

    def start_to_frame(self, folder):
        """Starts the program from `folder` and confirms the size dialog; keeps its size and the frame's."""
        self.start_wine(folder)
        dialog = wait_for('window "%s"' % e2e.SIZE_DIALOG,
                          lambda: self.session.windows("^%s$" % e2e.SIZE_DIALOG), STARTUP_SECONDS)[0]
        time.sleep(0.5)
        self.sizes["size dialog"] = self.session.geometry(dialog)[2:]
        self.session.activate(dialog)
        self.session.key("Return")
        self.gone(e2e.SIZE_DIALOG)
        self.frame = self.window(e2e.FRAME_TITLE, 30)
        time.sleep(0.5)
        self.sizes["frame"] = self.session.geometry(self.frame)[2:]

    def start_to_map(self, folder):
        """start_to_frame, then finds the map and the owner buttons."""
        self.start_to_frame(folder)
        self.relocate_grid()
        self.buttons = self.owner_buttons()
        self.wait_cells("a fresh 20 x 20 map in the owner-0 colour", self.owners)
        e2e.log("20 x 20 map drawn, %d px per cell; size dialog %r, frame %r"
                % (self.grid.pitch, self.sizes["size dialog"], self.sizes["frame"]))

    def window_classes(self, title):
        """The window classes of the visible top-level windows titled `title`, as the system knows them."""
        listed = subprocess.run(["wine", self.classes], env=self.session.env, capture_output=True, timeout=60)
        lines = listed.stdout.decode("utf-8", "replace").splitlines()
        return [line.split("\t", 1)[0] for line in lines if line.split("\t", 1)[-1] == title]

    def system_dialog(self, keys, name, picture=None):
        """Opens the dialog with `keys`, checks that it is the system's, types `name` into it and takes it with
        Enter; returns its title."""
        self.activate_frame()
        known = set(self.session.windows("."))
        self.session.key(keys)
        dialog = self.new_window_except(known)
        title = self.session.window_name(dialog)
        classes = self.window_classes(title)
        if classes != ["#32770"]:
            raise Failure('the window "%s" that %s opened is not the system\'s dialog: window classes %r'
                          % (title, keys, classes))
        e2e.log('"%s" is the system\'s dialog (window class #32770)' % title)
        self.session.activate(dialog)
        time.sleep(1.0)  # the folder's contents come after the window
        if picture:
            self.picture(picture)
        self.session.type_text(name)
        self.session.key("Return")
        return dialog, title, known | {dialog}

    def save_as(self, name, description, picture=None):
        dialog, title, _ = self.system_dialog("ctrl+s", name, picture)
        wait_for("the save dialog to close", lambda: dialog not in self.session.windows("."))
        e2e.log('%s: "%s" in the dialog "%s"' % (description, name, title))
        return title

    def run(self):
        started = os.path.join(self.session.root, "起動 フォルダ")
        work = os.path.join(self.session.root, "maps")
        os.makedirs(started)
        os.makedirs(work)
        drop_empty_qt_keys()
        registry_before = user_registry(self.session.root)
        self.start_to_map(started)
        self.paint(1, 2, 3)
        self.wait_cells("the painted cell", self.owners)

        # No map yet: the documents folder.
        in_documents = "gridforge-wine-window-%d" % os.getpid()
        title = self.save_as(in_documents, "first Save as", "windows-save-dialog.png")
        # (The prefix's documents folder may be a link to the host's home: the file goes at once.)
        candidates = [os.path.join(d, in_documents + ".kxgf") for d in documents_folders()]
        try:
            found = wait_for("the map in the documents folder",
                             lambda: [path for path in candidates if os.path.exists(path)], 5)[0]
            self.wait_file(found, "the map saved into the documents folder")
        finally:
            for path in candidates:
                if os.path.exists(path):
                    os.remove(path)
        e2e.log("the first save dialog started in the documents folder: %s" % found)

        # A full Windows path: drive Z: is the host's root.
        self.save_as("Z:" + work.replace("/", "\\") + "\\windows", "Save as with a full path")
        size = self.wait_file(os.path.join(work, "windows.kxgf"), "the saved file")
        e2e.log("saved file: %d bytes, identical to the map in the file format" % size)
        first_owners = [row[:] for row in self.owners]

        # The folder of the map last saved.
        self.paint(2, 5, 5)
        self.wait_cells("a second painted cell", self.owners)
        self.save_as("second", "Save as with a bare name")
        self.wait_file(os.path.join(work, "second.kxgf"), "the map saved beside the last one")
        e2e.log("the save dialog started in the folder of the map last saved; .kxgf added")

        # Over an existing file: the system asks.
        self.paint(6, 7, 9)
        self.wait_cells("a third painted cell", self.owners)
        dialog, title, known = self.system_dialog("ctrl+s", "second.kxgf")
        question = self.new_window_except(known, 10)
        e2e.log('overwrite question "%s"' % self.session.window_name(question))
        time.sleep(0.5)
        self.picture("windows-overwrite-question.png")
        self.session.activate(question)
        self.session.key("alt+y")
        wait_for("the save dialog to close", lambda: dialog not in self.session.windows("."))
        self.wait_file(os.path.join(work, "second.kxgf"), "the file saved over after the question")
        e2e.log("Yes to the system's question replaced the file")
        time.sleep(0.5)
        self.picture("windows-caption.png")  # the map window's caption: the full path as Windows writes it

        # Open starts there too.
        dialog, title, _ = self.system_dialog("ctrl+o", "windows.kxgf")
        wait_for("the open dialog to close", lambda: dialog not in self.session.windows("."))
        self.owners = first_owners
        self.relocate_grid()
        self.wait_cells("the map opened by a bare name", self.owners)
        e2e.log('the open dialog "%s" started in the maps folder and loaded windows.kxgf' % title)

        time.sleep(0.5)
        self.picture("windows.png")
        left = os.listdir(started)
        if left:
            raise Failure("files in the folder the program was started from: %r" % left)

        self.session.close_window(self.frame, lambda: self.app.poll() is not None, "the program to exit", each=20)
        if self.app.returncode != 0:
            raise Failure("the program exited with status %d" % self.app.returncode)
        subprocess.run(["wineserver", "--wait"], env=wine_env(), timeout=60)
        registry_after = user_registry(self.session.root)
        added = sorted(set(registry_after) - set(registry_before) - SYSTEM_DIALOG_KEYS)
        removed = sorted(set(registry_before) - set(registry_after))
        if added or removed:
            raise Failure("the registry changed: added %r, removed %r" % (added[:20], removed[:20]))
        e2e.log("HKEY_CURRENT_USER after the session is as before it (%d lines)" % len(registry_after))

    def run_scaled(self, sizes):
        """At LogPixels 144: the size dialog and the frame are 1.5 times their size at 96 dpi."""
        started = os.path.join(self.session.root, "start")
        os.makedirs(started)
        self.start_to_frame(started)
        for what, (width, height) in sizes.items():
            got = self.sizes[what]
            want = (width * 1.5, height * 1.5)
            if abs(got[0] - want[0]) > 1 or abs(got[1] - want[1]) > 1:
                raise Failure("%s at 150 %%: %r, not 1.5 times %r" % (what, got, (width, height)))
            e2e.log("%s at 150 %%: %d x %d, 1.5 times %d x %d" % (what, got[0], got[1], width, height))
        time.sleep(1.0)
        self.picture("windows-150.png")
        self.session.close_window(self.frame, lambda: self.app.poll() is not None, "the program to exit", each=20)


def drive(driver, step):
    ok = False
    try:
        step()
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
        subprocess.run(["wineserver", "--wait"], env=wine_env(), timeout=60)
    return ok


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    exe, pictures, classes = (os.path.abspath(arg) for arg in sys.argv[1:4])
    os.makedirs(pictures, exist_ok=True)
    plain = WineDriver(exe, pictures, classes)
    ok = drive(plain, plain.run)
    print("wine window at 100 %%: %s" % ("passed" if ok else "FAILED"), flush=True)
    if ok:
        # A screen that holds the frame at 150 %.
        scaled = WineDriver(exe, pictures, classes, "1920x1440x24")
        wine("reg", "add", DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "144", "/f")
        try:
            ok = drive(scaled, lambda: scaled.run_scaled(plain.sizes))
        finally:
            wine("reg", "delete", DESKTOP_KEY, "/v", "LogPixels", "/f")
        print("wine window at 150 %%: %s" % ("passed" if ok else "FAILED"), flush=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())

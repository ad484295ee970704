#!/usr/bin/env python3
"""Installs Gridforge with its Windows installer into a fresh wine prefix and checks it as a Windows user meets it.

In a prefix made anew: the installer's first page (its window title in Japanese; a screenshot), then a silent
install (/S) and its effects: the zip's files byte for byte in C:\\Program Files\\Gridforge plus the uninstaller,
the Start menu entry, the map file type and the uninstall entry in the registry, the icon (16 to 256 pixels), the
version information and the manifest (longPathAware) of the installed gridforge.exe. Then a map in a folder with
spaces and Japanese in its names is opened the way a double-click opens it (`wine start` on the .kxgf, which goes
through the file type's open command) and must be shown cell for cell. Then a map the user keeps in the program's
folder, a silent uninstall, and nothing of the installer's left: no file but the user's map, no shortcut, and the
registry with exactly the keys and values it had before the install.

Usage: installer_test.py setup.exe unzipped-folder version out-dir   (out-dir gets the prefix and screenshots)
"""
import os
import re
import shutil
import subprocess
import sys
import time
from xml.etree import ElementTree

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(root, "tests", "e2e"))
import open_file_e2e as shown  # noqa: E402
from xsession import Failure, XSession, wait_for  # noqa: E402

SETUP_TITLE = "Gridforge セットアップ"  # NSIS's Japanese caption
PROGID = "Gridforge.Map"
UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Gridforge"
INSTALL_DIR = r"C:\Program Files\Gridforge"
EXE = INSTALL_DIR + r"\gridforge.exe"
ICON_SIZES = [16, 32, 48, 64, 128, 256]
START = time.monotonic()


def log(message):
    print("[%6.2fs] %s" % (time.monotonic() - START, message), flush=True)


def read_registry(path):
    """A wine registry file as {key: {value name: value text}}, strings decoded, keys in lower case."""
    keys, key = {}, None
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            header = re.match(r"^\[(.*)\] \d+$", line)
            if header:
                key = keys.setdefault(unescape(header.group(1)).lower(), {})
            elif key is not None and line and line[0] in '@"':
                name, _, value = line.partition("=") if line[0] == "@" else split_value(line)
                key[unescape(name.strip('"'))] = unescape(value[1:-1]) if value.startswith('"') else value
    return keys


def split_value(line):
    end = 1
    while line[end] != '"':
        end += 2 if line[end] == "\\" else 1
    return line[:end + 1], "=", line[end + 2:]


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            nxt = text[i + 1]
            if nxt == "x":
                digits = re.match(r"[0-9a-fA-F]{1,4}", text[i + 2:]).group(0)
                out.append(chr(int(digits, 16)))
                i += 2 + len(digits)
                continue
            out.append({"n": "\n", "r": "\r", "t": "\t", "0": "\0"}.get(nxt, nxt))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


class Installer:
    def __init__(self, setup, folder, version, out):
        self.setup, self.folder, self.version, self.out = setup, folder, version, out
        self.prefix = os.path.join(out, "installprefix")
        self.session = XSession()
        self.env = None

    # ----- the prefix
    def unix(self, windows_path):
        """The prefix's host path of a C: path."""
        return os.path.join(self.prefix, "drive_c", *windows_path[3:].split("\\"))

    def wine(self, *args, check=True):
        result = subprocess.run(["wine", *args], env=self.env, capture_output=True, timeout=180)
        if check and result.returncode != 0:
            raise Failure("wine %s: status %d" % (" ".join(args), result.returncode))
        self.settle()

    def settle(self):
        """Waits for every process of the prefix to end: then the registry is written to its files."""
        subprocess.run(["wineserver", "--wait"], env=self.env, timeout=180)

    def registry(self):
        keys = read_registry(os.path.join(self.prefix, "system.reg"))
        keys.update(("HKCU\\" + k, v) for k, v in read_registry(os.path.join(self.prefix, "user.reg")).items())
        return keys

    def fresh_prefix(self):
        shutil.rmtree(self.prefix, ignore_errors=True)
        self.session.start()
        self.env = dict(self.session.env, WINEPREFIX=self.prefix, WINEARCH="win64", WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("WINEPATH", None)
        subprocess.run(["wineboot", "--init"], env=self.env, capture_output=True, timeout=300, check=True)
        # The installer's Japanese pages ask for the font of Japanese Windows; wine here has IPA's fonts of
        # the same metrics instead.
        for font, ipa in (("ＭＳ Ｐゴシック", "IPAPGothic"), ("ＭＳ ゴシック", "IPAGothic")):
            subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements", "/v", font,
                            "/d", ipa, "/f"], env=self.env, capture_output=True, timeout=60, check=True)
        self.settle()
        log("fresh wine prefix %s" % self.prefix)

    # ----- the steps
    def first_page(self):
        setup = self.session.spawn(["wine", self.setup], env=self.env)
        window = wait_for('window "%s"' % SETUP_TITLE, lambda: self.session.windows("^%s$" % SETUP_TITLE), 60)[0]
        time.sleep(1)
        picture = os.path.join(self.out, "installer.png")
        subprocess.run(["import", "-window", str(window), picture], env=self.session.env, check=True, timeout=30)
        log('installer window "%s" shown; screenshot %s' % (SETUP_TITLE, picture))
        # Leaves on the first page: nothing has been installed yet.
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=30)
        self.session.stop_process(setup)
        self.settle()

    def install(self):
        self.wine(self.setup, "/S")
        self.check_files()
        self.check_shortcut(present=True)
        self.check_registry()
        self.check_resources()

    def check_files(self):
        wanted = set()
        for base, _, files in os.walk(self.folder):
            for name in files:
                wanted.add(os.path.relpath(os.path.join(base, name), self.folder))
        installed = set()
        target = self.unix(INSTALL_DIR)
        if not os.path.isdir(target):
            raise Failure("the silent install made no %s" % INSTALL_DIR)
        for base, _, files in os.walk(target):
            for name in files:
                installed.add(os.path.relpath(os.path.join(base, name), target))
        if installed != wanted | {"uninstall.exe"}:
            raise Failure("installed files differ from the zip's: missing %s, more %s"
                          % (sorted(wanted - installed), sorted(installed - wanted - {"uninstall.exe"})))
        for name in wanted:
            with open(os.path.join(self.folder, name), "rb") as a, open(os.path.join(target, name), "rb") as b:
                if a.read() != b.read():
                    raise Failure("installed %s differs from the zip's" % name)
        log("%d files of the zip installed byte for byte, and uninstall.exe" % len(wanted))

    def shortcut(self):
        return self.unix(r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Gridforge.lnk")

    def check_shortcut(self, present):
        path = self.shortcut()
        if not present:
            if os.path.exists(path):
                raise Failure("the Start menu entry is left: %s" % path)
            return
        if not os.path.isfile(path):
            raise Failure("no Start menu entry %s" % path)
        with open(path, "rb") as f:
            data = f.read()
        if EXE.encode("utf-16-le") not in data and EXE.encode("ascii") not in data:
            raise Failure("the Start menu entry does not point at %s" % EXE)
        log('Start menu entry "Gridforge" points at %s' % EXE)

    def check_registry(self):
        keys = self.registry()
        expected = {
            r"Software\Classes\.kxgf": {"@": PROGID},
            "Software\\Classes\\" + PROGID: {"@": "Gridforge マップ"},
            "Software\\Classes\\" + PROGID + r"\DefaultIcon": {"@": EXE + ",0"},
            "Software\\Classes\\" + PROGID + r"\shell\open\command": {"@": '"%s" "%%1"' % EXE},
            UNINSTALL_KEY: {"DisplayName": "Gridforge", "DisplayVersion": self.version,
                            "Publisher": "Gridforge developers", "DisplayIcon": EXE + ",0",
                            "UninstallString": '"%s\\uninstall.exe"' % INSTALL_DIR},
        }
        for key, values in expected.items():
            seen = keys.get(key.lower())
            if seen is None:
                raise Failure("registry key HKLM\\%s missing" % key)
            for name, value in values.items():
                if seen.get(name) != value:
                    raise Failure("HKLM\\%s: %s is %r, not %r" % (key, name, seen.get(name), value))
        size = keys[UNINSTALL_KEY.lower()].get("EstimatedSize", "")
        kib = int(size[6:], 16) if size.startswith("dword:") else 0
        folder_kib = sum(os.path.getsize(os.path.join(b, n)) for b, _, fs in os.walk(self.unix(INSTALL_DIR))
                         for n in fs) // 1024
        if abs(kib - folder_kib) > folder_kib // 20:
            raise Failure("EstimatedSize %r, the folder holds %d KiB" % (size, folder_kib))
        log("registry: .kxgf -> %s (\"Gridforge マップ\", icon, open command), uninstall entry of %d KiB"
            % (PROGID, kib))

    def check_resources(self):
        exe = self.unix(EXE)
        icon = os.path.join(self.out, "gridforge-exe.ico")
        with open(icon, "wb") as f:
            subprocess.run(["wrestool", "-x", "-t14", exe], stdout=f, check=True)
        listing = subprocess.run(["icotool", "-l", icon], capture_output=True, check=True).stdout.decode()
        sizes = sorted(int(w) for w in re.findall(r"--width=(\d+)", listing))
        if sizes != ICON_SIZES:
            raise Failure("gridforge.exe's icon has the sizes %r, not %r" % (sizes, ICON_SIZES))
        # Each size is the desktop icon's picture of that size, pixel for pixel.
        pictures = os.path.join(self.out, "gridforge-exe-icon")
        shutil.rmtree(pictures, ignore_errors=True)
        os.makedirs(pictures)
        subprocess.run(["icotool", "-x", "-o", pictures, icon], check=True)
        for picture in os.listdir(pictures):
            size = int(re.search(r"_(\d+)x\d+x\d+\.png$", picture).group(1))
            drawn = os.path.join(root, "resources", "hicolor", "%dx%d" % (size, size), "apps",
                                 "org.gridforge.Gridforge.png")
            differ = subprocess.run(["compare", "-metric", "AE", os.path.join(pictures, picture), drawn, "null:"],
                                    capture_output=True).stderr.decode().strip()
            if differ != "0":
                raise Failure("the exe's %d-pixel icon differs from %s in %s pixels" % (size, drawn, differ))
        raw = subprocess.run(["wrestool", "-x", "--raw", "-t16", exe], capture_output=True, check=True).stdout
        text = raw.decode("utf-16-le", "replace")
        strings = {}
        for name in ("ProductName", "FileDescription", "FileVersion", "ProductVersion", "LegalCopyright"):
            found = re.search(name + "\0+([^\0]+)", text)
            strings[name] = found.group(1) if found else None
        want = {"ProductName": "Gridforge", "FileVersion": self.version, "ProductVersion": self.version}
        wrong = [n for n, v in want.items() if strings[n] != v]
        if wrong or not (strings["FileDescription"] or "").startswith("Gridforge ") \
                or not (strings["LegalCopyright"] or "").startswith("Copyright © "):
            raise Failure("gridforge.exe's version information: %r" % strings)
        # The manifest the process starts with declares long paths.
        manifest = subprocess.run(["wrestool", "-x", "--raw", "-t24", "-n1", exe], capture_output=True).stdout
        try:
            aware = [e.text.strip() for e in ElementTree.fromstring(manifest).iterfind(
                "./{urn:schemas-microsoft-com:asm.v3}application/{urn:schemas-microsoft-com:asm.v3}windowsSettings/"
                "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}longPathAware")]
        except ElementTree.ParseError:
            aware = ["no manifest (%d bytes)" % len(manifest)]
        if aware != ["true"]:
            raise Failure("gridforge.exe's manifest: longPathAware %r, not ['true']" % aware)
        log("gridforge.exe: icon %s px; %s; manifest: longPathAware true" % (ICON_SIZES, strings))

    def double_click(self):
        folder = r"C:\マップ 置き場"
        map_file = folder + r"\地図 その1.kxgf"
        os.makedirs(self.unix(folder))
        shown.write_map(self.unix(map_file))
        # The program inherits start's output: nothing waits on it.
        subprocess.run(["wine", "start", map_file], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60, check=True)
        frame = shown.window(self.session, shown.FRAME_TITLE, 60)
        cells = wait_for("the map from the file", lambda: shown.map_on_screen(self.session, frame), 20)
        wrong = ["(%d,%d)" % (c, r) for r in range(shown.HEIGHT) for c in range(shown.WIDTH)
                 if cells[r][c] != shown.CELL_COLOURS[shown.owner_at(c, r)]]
        if wrong:
            raise Failure("%d cells differ from the file, e.g. %s" % (len(wrong), ", ".join(wrong[:5])))
        if self.session.windows("^%s$" % shown.SIZE_DIALOG):
            raise Failure("the size dialog came although a map was opened")
        picture = os.path.join(self.out, "double-click.png")
        subprocess.run(["import", "-window", "root", "-trim", "+repage", picture], env=self.session.env,
                       check=True, timeout=30)
        log("wine start %s: the map shown cell for cell (%d x %d); screenshot %s"
            % (map_file, shown.WIDTH, shown.HEIGHT, picture))
        self.session.close_window(frame, lambda: not self.session.windows("^%s$" % shown.FRAME_TITLE),
                                  "the program to close")
        self.settle()
        return self.unix(map_file)

    def uninstall(self, before, user_map):
        kept = os.path.join(self.unix(INSTALL_DIR), "自分のマップ.kxgf")
        shutil.copyfile(user_map, kept)
        self.wine(INSTALL_DIR + r"\uninstall.exe", "/S")
        # The uninstaller runs on from a copy of itself in the temporary folder.
        wait_for("the uninstaller to remove gridforge.exe", lambda: not os.path.exists(self.unix(EXE)), 60)
        self.settle()
        left = [os.path.relpath(os.path.join(b, n), self.unix(INSTALL_DIR))
                for b, ds, fs in os.walk(self.unix(INSTALL_DIR)) for n in fs + ds]
        if left != [os.path.basename(kept)]:
            raise Failure("left in %s after the uninstall: %r (only the user's map should be)" % (INSTALL_DIR, left))
        with open(user_map, "rb") as a, open(kept, "rb") as b:
            if a.read() != b.read():
                raise Failure("the user's map in the program's folder changed")
        self.check_shortcut(present=False)
        after = self.registry()
        added = sorted(set(after) - set(before))
        removed = sorted(set(before) - set(after))
        changed = sorted(k for k in set(before) & set(after)
                         if self.without_noise(k, before[k]) != self.without_noise(k, after[k]))
        if added or removed or changed:
            raise Failure("the registry differs from before the install: added %r, removed %r, changed %r"
                          % (added, removed, [(k, before[k], after[k]) for k in changed]))
        log("uninstalled: only the user's map left in the folder, no Start menu entry, the registry as before")

    @staticmethod
    def without_noise(key, values):
        """A key's values less what wine rewrites on every start (the display adapter's driver date) and the
        uninstaller's copy of itself in the temporary folder, which, as on Windows, is to be deleted at the
        next start of the system."""
        if key.startswith("system\\currentcontrolset\\control\\class\\"):
            return {n: v for n, v in values.items() if not n.startswith("DriverDate")}
        if key == "system\\currentcontrolset\\control\\session manager":
            pending = values.get("PendingFileRenameOperations", "")
            if re.fullmatch(r'str\(7\):"(\\\\\?\?\\\\C:\\\\users\\\\[^\\"]+\\\\Temp\\\\~nsu\d+\.tmp'
                            r'(\\\\Un\.exe)?\\0\\0)+"', pending):
                return {n: v for n, v in values.items() if n != "PendingFileRenameOperations"}
        return values

    def run(self):
        self.fresh_prefix()
        self.first_page()
        before = self.registry()
        self.install()
        user_map = self.double_click()
        self.uninstall(before, user_map)


def main():
    if len(sys.argv) != 5:
        print(__doc__)
        return 2
    setup, folder, version, out = sys.argv[1:]
    test = Installer(os.path.abspath(setup), os.path.abspath(folder), version, os.path.abspath(out))
    ok = False
    try:
        test.run()
        ok = True
    except Exception as failure:
        print("FAILED: %s" % failure, flush=True)
        try:
            failed = os.path.join(test.out, "installer-failed.png")
            subprocess.run(["import", "-window", "root", failed], env=test.session.env, timeout=30)
            print("screen at the failure: %s" % failed)
        except Exception:
            pass
    finally:
        if test.env:
            subprocess.run(["wineserver", "-k"], env=test.env, timeout=30)
        test.session.close(keep_dir=not ok)
    print("installer: %s" % ("passed" if ok else "FAILED"), flush=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())

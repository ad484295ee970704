"""A private X server with a window manager, and the tools to look at it and type into it."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time


class Failure(Exception):
    pass


def wait_for(description, probe, timeout=15.0, interval=0.1):
    """Polls probe() until it returns something truthy; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + description)
        time.sleep(interval)


class Screenshot:
    def __init__(self, data):
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise Failure("unexpected screenshot format %r" % fields)
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = data[pos + 1:pos + 1 + self.width * self.height * 3]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def find_run(self, colour, length, start=0):
        """Top-most, then left-most point where `length` pixels of `colour` follow in a row."""
        pattern = bytes(colour) * length
        i = self.pixels.find(pattern, start)
        while i >= 0:
            if i % 3 == 0:
                pixel = i // 3
                x, y = pixel % self.width, pixel // self.width
                if x + length <= self.width:
                    return x, y
            i = self.pixels.find(pattern, i + 1)
        return None

    def points_of(self, colour, box):
        """All points of exactly `colour` inside box (x0, y0, x1, y1), x1 and y1 excluded."""
        x0, y0, x1, y1 = box
        target = bytes(colour)
        found = []
        for y in range(max(y0, 0), min(y1, self.height)):
            row = self.pixels[(y * self.width + x0) * 3:(y * self.width + x1) * 3]
            i = row.find(target)
            while i >= 0:
                if i % 3 == 0:
                    found.append((x0 + i // 3, y))
                i = row.find(target, i + 1)
        return found


class XSession:
    """Xvfb on a free display plus openbox, with HOME and XDG dirs in a temp dir."""

    def __init__(self, screen="1280x1024x24"):
        self.screen = screen
        self.root = tempfile.mkdtemp(prefix="gridforge-e2e-")
        self.processes = []
        self.display = None
        self.env = None

    def _free_display(self):
        base = 100 + os.getpid() % 100
        for n in list(range(base, 200)) + list(range(100, base)):
            if not os.path.exists("/tmp/.X11-unix/X%d" % n) and not os.path.exists("/tmp/.X%d-lock" % n):
                return n
        raise Failure("no free X display number")

    def start(self):
        home = os.path.join(self.root, "home")
        runtime = os.path.join(self.root, "runtime")
        for d in (home, runtime, os.path.join(home, ".config"), os.path.join(home, ".cache")):
            os.makedirs(d, mode=0o700, exist_ok=True)
        env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "XDG_", "WAYLAND", "DISPLAY"))}
        env.update(HOME=home, XDG_RUNTIME_DIR=runtime, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"), LANG="C.UTF-8", LC_ALL="C.UTF-8",
                   QT_QPA_PLATFORM="xcb", ASAN_OPTIONS="detect_leaks=0")
        for attempt in range(5):
            self.display = self._free_display()
            xvfb = self.spawn(["Xvfb", ":%d" % self.display, "-screen", "0", self.screen, "-nolisten", "tcp",
                               "-noreset"], env)
            socket = "/tmp/.X11-unix/X%d" % self.display
            try:
                wait_for("Xvfb on :%d" % self.display,
                         lambda: xvfb.poll() is not None or os.path.exists(socket), timeout=10)
            except Failure:
                pass
            if xvfb.poll() is None and os.path.exists(socket):
                break
            self.stop_process(xvfb)
        else:
            raise Failure("could not start Xvfb")
        env["DISPLAY"] = ":%d" % self.display
        self.env = env
        wait_for("X server to answer", lambda: self.run(["xdotool", "getdisplaygeometry"], check=False)[0] == 0)
        self.spawn(["openbox", "--sm-disable"], env)
        wait_for("window manager", self._wm_running)

    def _wm_running(self):
        code, out = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
        return code == 0 and "window id" in out

    def spawn(self, args, env=None, **kwargs):
        log = open(os.path.join(self.root, os.path.basename(args[0]) + ".log"), "ab")
        proc = subprocess.Popen(args, env=env or self.env, stdout=log, stderr=subprocess.STDOUT,
                                stdin=subprocess.DEVNULL, start_new_session=True, **kwargs)
        log.close()
        self.processes.append(proc)
        return proc

    @staticmethod
    def stop_process(proc):
        if proc.poll() is not None:
            return
        try:
            os.killpg(proc.pid, 15)
        except ProcessLookupError:
            return
        try:
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            try:
                os.killpg(proc.pid, 9)
            except ProcessLookupError:
                pass
            proc.wait(timeout=5)

    def close(self, keep_dir=False):
        for proc in reversed(self.processes):
            self.stop_process(proc)
        if not keep_dir:
            shutil.rmtree(self.root, ignore_errors=True)

    def run(self, args, check=True, input_bytes=None):
        result = subprocess.run(args, env=self.env, capture_output=True, timeout=30, input=input_bytes)
        out = result.stdout.decode("utf-8", "replace")
        if check and result.returncode != 0:
            raise Failure("%s failed (%d): %s" % (" ".join(args), result.returncode,
                                                 result.stderr.decode("utf-8", "replace")))
        return result.returncode, out

    def xdo(self, *args):
        return self.run(["xdotool"] + [str(a) for a in args])[1]

    def screenshot(self):
        result = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                                capture_output=True, timeout=30)
        if result.returncode != 0:
            raise Failure("screenshot failed: " + result.stderr.decode("utf-8", "replace"))
        return Screenshot(result.stdout)

    def windows(self, name_regex):
        code, out = self.run(["xdotool", "search", "--onlyvisible", "--name", name_regex], check=False)
        return [int(w) for w in out.split()] if code == 0 else []

    def window_name(self, wid):
        return self.run(["xdotool", "getwindowname", str(wid)], check=False)[1].strip()

    def geometry(self, wid):
        out = self.xdo("getwindowgeometry", "--shell", wid)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def activate(self, wid):
        self.xdo("windowactivate", "--sync", wid)
        wait_for("window %d to take focus" % wid,
                 lambda: self.run(["xdotool", "getactivewindow"], check=False)[1].strip() == str(wid), timeout=5)

    def key(self, *keys):
        self.xdo("key", "--delay", "40", *keys)

    def close_window(self, wid, until, what, tries=3, each=4):
        """Alt+F4 on window wid until until() holds (the window gone, or the question it asks shown).

        openbox now and then drops the key while it still settles the window it has just focused: the
        program never hears of it (seen 1 run in 10 to 13), so a key that changed nothing is sent again."""
        for attempt in range(tries):
            self.activate(wid)
            self.key("alt+F4")
            try:
                return wait_for(what, until, each)
            except Failure:
                if attempt == tries - 1:
                    raise

    def type_text(self, text):
        self.xdo("type", "--delay", "10", text)

    def click(self, x, y):
        self.xdo("mousemove", "--sync", x, y)
        self.xdo("click", 1)

    def clipboard(self):
        return self.run(["xclip", "-o", "-selection", "clipboard"], check=False)


RUN_LIMIT = 240  # seconds; below the tests' timeouts, so that the clean-up below always runs


def _stop_on_signal(signum, _frame):
    raise Failure("stopped by signal %d" % signum)


def run_script(doc, make):
    """The main of every end-to-end script: make(binary) gives the XSession and a function that drives it.

    Any fault still leaves a screenshot, the program's own output and no processes behind."""
    if len(sys.argv) != 2:
        print(doc)
        return 2
    for signum in (signal.SIGALRM, signal.SIGTERM, signal.SIGINT):
        signal.signal(signum, _stop_on_signal)
    signal.alarm(RUN_LIMIT)
    session, drive = make(os.path.abspath(sys.argv[1]))
    ok = False
    try:
        drive()
        ok = True
    except Exception as failure:
        print("FAIL: %s: %s" % (type(failure).__name__, failure), flush=True)
        try:
            keep = os.path.join(session.root, "failure.png")
            session.run(["import", "-window", "root", keep], check=False)
            print("screen kept in %s" % keep, flush=True)
            log = os.path.join(session.root, "gridforge.log")
            if os.path.exists(log):  # the program's own output, sanitizer reports included
                with open(log, "rb") as f:
                    print(f.read().decode("utf-8", "replace")[-20000:], flush=True)
        except Exception:
            pass
    finally:
        session.close(keep_dir=not ok)
    print("PASS" if ok else "FAILED", flush=True)
    return 0 if ok else 1

"""A private X server with its own session bus and accessibility bus, and what a screen reader reads there.

The session bus is a dbus-daemon of its own; the accessibility bus comes from at-spi2-core's bus launcher, and
the bus is switched on the way a screen reader does it (org.a11y.Status ScreenReaderEnabled), so that the
program's accessibility bridge starts as it would for a user. The reading side is python3-pyatspi, in this
process, on the same buses."""
import os
import subprocess

from xsession import Failure, XSession, wait_for

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


class AccessibilitySession(XSession):
    def __init__(self, locale="C.UTF-8", screen_reader=True, **kwargs):
        super().__init__(**kwargs)
        self.locale = locale
        self.screen_reader = screen_reader
        self._atspi = None

    def start(self):
        super().start()
        self.env.update(LANG=self.locale, LC_ALL=self.locale)
        socket = os.path.join(self.root, "session-bus")
        address = "unix:path=" + socket
        self.spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + address])
        wait_for("the session bus", lambda: os.path.exists(socket), timeout=10)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.spawn([BUS_LAUNCHER, "--launch-immediately"])
        wait_for("the accessibility bus", lambda: self.bus_call("org.a11y.Bus.GetAddress")[0] == 0, timeout=10)
        if self.screen_reader:
            for name in ("IsEnabled", "ScreenReaderEnabled"):
                code, out = self.bus_call("org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status",
                                          "string:" + name, "variant:boolean:true")
                if code != 0:
                    raise Failure("could not switch the accessibility bus on: " + out)
        # libatspi in this process finds the accessibility bus through these.
        for name in ("DBUS_SESSION_BUS_ADDRESS", "DISPLAY"):
            os.environ[name] = self.env[name]

    def bus_call(self, method, *args):
        return self.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                         method] + list(args), check=False)

    @property
    def atspi(self):
        """pyatspi, imported once the buses exist (it connects on import)."""
        if self._atspi is None:
            import pyatspi  # noqa: E402
            self._atspi = pyatspi
        return self._atspi

    def application(self, pid, timeout=20):
        """The program's root object on the accessibility bus."""
        def probe():
            desktop = self.atspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                try:
                    if app is not None and app.get_process_id() == pid:
                        return app
                except Exception:
                    continue
            return None
        return wait_for("the program on the accessibility bus", probe, timeout, interval=0.3)


def locale_exists(name):
    wanted = name.lower().replace("-", "")
    out = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
    return any(entry.lower().replace("-", "") == wanted for entry in out)

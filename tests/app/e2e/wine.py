"""A scratch copy of the Wine test prefix, with a wineserver of its own and the display driver
of one's choice: Wine's null driver, as the test suites run, or its X11 driver on a private
Xvfb display, where a program's windows can be seen, typed into and photographed."""

import os
import pathlib
import shutil
import subprocess
import sys

from .session import DesktopSession

WINESERVER = "/usr/lib/wine/wineserver"
WINE = "/usr/lib/wine/wine64"


class ScratchPrefix:
    """A scratch copy of the test prefix with a wineserver of its own, so that test suites
    using the prefix at the same time neither disturb the runs nor are disturbed by them.
    The copy's only change is the display driver: "null" as the tests use it, or "x11" on a
    private Xvfb display (no window manager)."""

    def __init__(self, prefix, scratch, graphics):
        self.source = prefix
        self.prefix = pathlib.Path(scratch) / f"prefix-{graphics}"
        self.session = DesktopSession(session_bus=False) if graphics == "x11" else None
        self.name = "X11 driver on Xvfb" if self.session else "null driver"
        self.env = None

    def start(self):
        # A copy, not links: a Wine process may rewrite a file of its prefix in place.
        shutil.copytree(self.source, self.prefix, symlinks=True)
        self.env = dict(os.environ, WINEPREFIX=str(self.prefix),
                        WINEDEBUG=os.environ.get("WINEDEBUG", "-all"),
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        for name in ("DISPLAY", "WAYLAND_DISPLAY"):
            self.env.pop(name, None)
        if self.session:
            self.session.start()
            self.env["DISPLAY"] = self.session.display
            self.use_driver("x11")
        # One wineserver for every run: it stays until it is told to go.
        subprocess.run([WINESERVER, "--persistent"], env=self.env, check=True)

    def use_driver(self, driver):
        # In the registry file itself, before any Wine process: the desktop process, which
        # the wineserver starts with its first programs and keeps, loads the driver once.
        user_reg = self.prefix / "user.reg"
        text = user_reg.read_text()
        setting = '"Graphics"="null"'
        if text.count(setting) != 1:
            sys.exit(f"{user_reg}: no single {setting} to change")
        user_reg.write_text(text.replace(setting, f'"Graphics"="{driver}"'))

    def command(self, argv):
        return [WINE, *argv], self.env

    def close(self):
        if self.env is not None:
            subprocess.run([WINESERVER, "--kill"], env=self.env)
        if self.session:
            self.session.stop()
        shutil.rmtree(self.prefix, ignore_errors=True)

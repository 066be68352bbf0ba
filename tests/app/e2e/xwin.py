"""The X side of the desktop: the program's top-level windows, what a window manager would do
for them (a close request, the keyboard focus, raising), the keyboard, and screenshots.

There is no window manager on the test display, so top-level windows are children of the
root window at the positions the program asked for, and nothing activates them on its own.
"""

import subprocess

from Xlib import X, Xatom, display as xdisplay, protocol

from .pixels import Image
from .waiting import poll


class TopLevel:
    """A mapped top-level window of the program."""

    def __init__(self, window, title, x, y, width, height):
        self.window = window
        self.id = window.id
        self.title = title
        self.x, self.y, self.width, self.height = x, y, width, height

    def __repr__(self):
        return f"<window 0x{self.id:x} {self.title!r} {self.width}x{self.height}+{self.x}+{self.y}>"


class Icon:
    """An icon in _NET_WM_ICON's form: one 0xAARRGGBB value a pixel, rows from the top."""

    def __init__(self, width, height, argb):
        self.width, self.height, self.argb = width, height, argb

    def opaque_colours(self):
        """(r, g, b) of each pixel that is at least half opaque."""
        return [((v >> 16) & 255, (v >> 8) & 255, v & 255) for v in self.argb if (v >> 24) >= 128]

    def shares(self, kinds):
        """{name: share of the opaque pixels for which kinds[name](r, g, b) holds}."""
        colours = self.opaque_colours()
        return {name: sum(1 for c in colours if test(c)) / max(1, len(colours))
                for name, test in kinds.items()}


class XDesktop:
    def __init__(self, display_name):
        self.display_name = display_name
        self.dpy = xdisplay.Display(display_name)
        self.root = self.dpy.screen().root
        self._atom = {name: self.dpy.intern_atom(name)
                      for name in ("_NET_WM_PID", "_NET_WM_NAME", "_NET_WM_ICON", "UTF8_STRING",
                                   "WM_PROTOCOLS", "WM_DELETE_WINDOW")}

    def close(self):
        self.dpy.close()

    # -- windows --------------------------------------------------------------------------

    def _title(self, window):
        prop = window.get_full_property(self._atom["_NET_WM_NAME"], self._atom["UTF8_STRING"])
        if prop is not None:
            value = prop.value
            return value.decode("utf-8") if isinstance(value, bytes) else str(value)
        name = window.get_wm_name()
        return name if isinstance(name, str) else (name or b"").decode("latin-1")

    def _pid(self, window):
        prop = window.get_full_property(self._atom["_NET_WM_PID"], Xatom.CARDINAL)
        return int(prop.value[0]) if prop is not None and len(prop.value) else None

    def top_levels(self, pid):
        """The viewable top-level windows of a process, bottom of the stack first."""
        found = []
        for window in self.root.query_tree().children:
            try:
                if window.get_attributes().map_state != X.IsViewable:
                    continue
                if self._pid(window) != pid:
                    continue
                geometry = window.get_geometry()
                found.append(TopLevel(window, self._title(window), geometry.x, geometry.y,
                                      geometry.width, geometry.height))
            except Exception:  # noqa: BLE001 - the window went away while we looked
                continue
        return found

    def windows_titled(self, pid, title):
        return [w for w in self.top_levels(pid) if w.title == title]

    def wait_for_window(self, pid, title, timeout=10.0):
        return poll(lambda: (self.windows_titled(pid, title) or [None])[0], timeout,
                    f"a window titled {title!r} of process {pid} to be mapped")

    def wait_until_gone(self, pid, title, timeout=10.0):
        poll(lambda: not self.windows_titled(pid, title), timeout,
             f"the window titled {title!r} of process {pid} to go away")

    def owns_clipboard(self):
        """Whether some client owns the CLIPBOARD selection."""
        return self.dpy.get_selection_owner(self.dpy.intern_atom("CLIPBOARD")) != X.NONE

    def request_close(self, top_level):
        """What the title bar's close box does: a WM_DELETE_WINDOW message to the client."""
        event = protocol.event.ClientMessage(
            window=top_level.window,
            client_type=self._atom["WM_PROTOCOLS"],
            data=(32, [self._atom["WM_DELETE_WINDOW"], X.CurrentTime, 0, 0, 0]))
        top_level.window.send_event(event, event_mask=X.NoEventMask)
        self.dpy.sync()

    def raise_window(self, top_level):
        top_level.window.configure(stack_mode=X.Above)
        self.dpy.sync()
        poll(lambda: self._is_topmost(top_level), 5.0, f"{top_level!r} to be on top")

    def _is_topmost(self, top_level):
        viewable = [w for w in self.root.query_tree().children
                    if w.get_attributes().map_state == X.IsViewable]
        return bool(viewable) and viewable[-1].id == top_level.id

    def focus(self, top_level, timeout=10.0):
        """Gives the window the keyboard focus, as clicking it under a window manager would."""
        run_xdotool(self.display_name, ["windowfocus", "--sync", str(top_level.id)], timeout)

    def icons(self, top_level):
        """The window's icons as a desktop reads them (_NET_WM_ICON): {(width, height): Icon}."""
        prop = top_level.window.get_full_property(self._atom["_NET_WM_ICON"], Xatom.CARDINAL)
        values = list(prop.value) if prop is not None else []
        icons = {}
        while len(values) >= 2:
            width, height = values[0], values[1]
            icons[(width, height)] = Icon(width, height, values[2:2 + width * height])
            values = values[2 + width * height:]
        return icons

    # -- screenshots ----------------------------------------------------------------------

    def screenshot(self, x, y, width, height):
        """The screen's pixels in a rectangle (screen coordinates) as an Image."""
        reply = self.root.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF)
        return Image.from_zpixmap(width, height, reply.data, x, y)


def run_xdotool(display_name, args, timeout=10.0):
    env = {"DISPLAY": display_name, "PATH": "/usr/bin:/bin"}
    subprocess.run(["xdotool", *args], env=env, check=True, timeout=timeout,
                   stdin=subprocess.DEVNULL, capture_output=True)


def click(display_name, x, y):
    """Clicks the left mouse button at a screen position."""
    run_xdotool(display_name, ["mousemove", str(x), str(y), "click", "1"])


def type_text(display_name, text):
    """Types text on the keyboard into whatever has the keyboard focus."""
    run_xdotool(display_name, ["type", "--delay", "20", "--", text], timeout=30.0)


def press_keys(display_name, *keys):
    """Presses key combinations such as "Return" or "ctrl+k", one after another."""
    run_xdotool(display_name, ["key", "--delay", "20", *keys], timeout=30.0)

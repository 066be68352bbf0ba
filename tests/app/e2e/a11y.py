"""The program as a screen reader sees it: its windows and controls on the accessibility bus,
found by role and name, read back and operated through the accessibility interfaces.

Import this module only after DesktopSession.start(): pyatspi connects to the buses named in
the environment at that point.

Actions go out on a connection of our own and are never waited for: Qt answers a "press" on a
menu item only after its handler has returned, so a handler that opens a modal box would keep
a plain call waiting. Instead each action is followed, on the same connection (D-Bus keeps
the order of one connection's messages), by state queries of the control: once one is
answered with the control no longer pressed, the control's handler has run, or it has opened
a modal box whose event loop answers for it. Qt presses a button by animating a click, which
holds the button down for a moment before it clicks, so the first answers may still say
"pressed".
"""

import pyatspi
from gi.repository import Gio, GLib

from .waiting import poll

WINDOW_ROLES = {
    pyatspi.ROLE_FRAME, pyatspi.ROLE_FILLER, pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT,
    pyatspi.ROLE_WINDOW, pyatspi.ROLE_PANEL,
}

_ACCESSIBLE = "org.a11y.atspi.Accessible"
_ACTION = "org.a11y.atspi.Action"
_CALL_TIMEOUT_MS = 5000


def _has_state(bits, state):
    return bool(bits >> int(state) & 1)


class ActionBus:
    """Our own connection to the accessibility bus."""

    def __init__(self, address):
        self.connection = Gio.DBusConnection.new_for_address_sync(
            address,
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)
        # Per application (its bus name), the object paths whose state was asked for after the
        # object had gone (a button whose window was just destroyed): the application may log
        # that it has no such object.
        self.gone_paths = {}

    def close(self):
        self.connection.close_sync(None)

    def send(self, accessible, interface, method, args):
        """Sends a method call and does not wait for, or want, its reply."""
        message = Gio.DBusMessage.new_method_call(accessible.app.bus_name, accessible.path,
                                                  interface, method)
        message.set_body(args)
        message.set_flags(Gio.DBusMessageFlags.NO_REPLY_EXPECTED)
        self.connection.send_message(message, Gio.DBusSendMessageFlags.NONE)

    def state_bits(self, accessible):
        try:
            reply = self.connection.call_sync(
                accessible.app.bus_name, accessible.path, _ACCESSIBLE, "GetState", None,
                GLib.VariantType("(au)"), Gio.DBusCallFlags.NO_AUTO_START, _CALL_TIMEOUT_MS,
                None)
        except GLib.Error:
            self.gone_paths.setdefault(accessible.app.bus_name, set()).add(accessible.path)
            raise
        words = reply.unpack()[0]
        return sum(word << (32 * i) for i, word in enumerate(words))

    def name(self, accessible):
        """The accessible name, asked afresh (no client-side cache)."""
        reply = self.connection.call_sync(
            accessible.app.bus_name, accessible.path, "org.freedesktop.DBus.Properties", "Get",
            GLib.Variant("(ss)", (_ACCESSIBLE, "Name")), GLib.VariantType("(v)"),
            Gio.DBusCallFlags.NO_AUTO_START, _CALL_TIMEOUT_MS, None)
        return reply.unpack()[0]


def describe(accessible):
    try:
        return f"{accessible.getRoleName()} {accessible.name!r}"
    except Exception:  # noqa: BLE001
        return "<gone>"


class Screen:
    """Looks up and operates the program's user interface on the accessibility bus."""

    def __init__(self, a11y_address):
        self.desktop = pyatspi.Registry.getDesktop(0)
        self.bus = ActionBus(a11y_address)

    def close(self):
        self.bus.close()

    # -- finding things -------------------------------------------------------------------

    def application(self, pid, timeout=20.0, alive=lambda: True):
        """The application of process pid; alive() may raise GiveUp to stop waiting."""

        def find():
            alive()
            self.desktop.clearCache()
            for app in self.desktop:
                if app is not None and app.get_process_id() == pid:
                    return app
            return None

        return poll(find, timeout, f"process {pid} to appear on the accessibility bus")

    def windows(self, app, title):
        app.clearCache()
        return [child for child in app
                if child is not None and child.getRole() in WINDOW_ROLES and child.name == title]

    def window(self, app, title, timeout=10.0):
        return poll(lambda: (self.windows(app, title) or [None])[0], timeout,
                    f"a window titled {title!r}")

    def wait_window_gone(self, app, title, timeout=10.0):
        poll(lambda: not self.windows(app, title), timeout, f"the window {title!r} to close")

    def find_all(self, root, role, name=None):
        root.clearCache()
        return pyatspi.utils.findAllDescendants(
            root, lambda a: a is not None and a.getRole() == role
            and (name is None or a.name == name))

    def find(self, root, role, name=None, timeout=10.0):
        what = f"a {role.value_nick if hasattr(role, 'value_nick') else role} named {name!r}"

        def one():
            found = self.find_all(root, role, name)
            return found[0] if found else None

        return poll(one, timeout, what)

    # -- reading --------------------------------------------------------------------------

    def name(self, accessible):
        return self.bus.name(accessible)

    def text(self, accessible):
        return accessible.queryText().getText(0, -1)

    def has_state(self, accessible, state):
        return _has_state(self.bus.state_bits(accessible), state)

    def extents(self, accessible):
        return accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)

    def places(self, accessibles):
        """{name: (x, y, width, height)} on the screen for {name: accessible}."""
        places = {}
        for name, accessible in accessibles.items():
            e = self.extents(accessible)
            places[name] = (e.x, e.y, e.width, e.height)
        return places

    # -- operating ------------------------------------------------------------------------

    def set_text(self, entry, text):
        entry.queryEditableText().setTextContents(text)
        shown = repr(text) if len(text) <= 60 else f"{text[:20]!r}... ({len(text)} characters)"
        poll(lambda: self.text(entry) == text, 5.0, f"the entry to read {shown}")

    def press(self, control, timeout=10.0):
        """Presses a button or chooses a menu item without waiting on its handler (see above)."""
        action = control.queryAction()
        names = [action.getName(i).lower() for i in range(action.nActions)]
        for wanted in ("press", "click", "activate"):
            if wanted in names:
                index = names.index(wanted)
                break
        else:
            raise AssertionError(f"{describe(control)} offers no press action: {names}")
        self.bus.send(control, _ACTION, "DoAction", GLib.Variant("(i)", (index,)))
        self._wait_released(control, timeout)

    def _wait_released(self, control, timeout):
        def released():
            try:
                return not _has_state(self.bus.state_bits(control), pyatspi.STATE_PRESSED)
            except GLib.Error:
                return True  # the control (or the whole program) went away: its action ran

        poll(released, timeout, f"{describe(control)} to be released")

"""Kalvet as its users see it: the names of its windows and controls, and one running copy of
the program driven through them."""

import os
import re

import pyatspi

from . import xwin
from .waiting import GiveUp, poll

MAIN_TITLE = "Kalvet 1.2"
SCHEME_TITLE = "Vlastnosti"
ENTRY_NAME = "Zadané číslo"
MAIN_BUTTONS = ("Přičti", "Průměr", "Reset")
SCHEME_BUTTONS = ("Žlutá", "Klasika", "Odejít")
MENU_ITEMS = ("Konec", "Počet zadaných čísel", "Poslední zadané číslo", "Meziprůměr", "Skiny")

KONEC_BOX = ("Konec", "Program Kalvet 1.2 bude ukončen.")
OVERFLOW_BOX = ("Kalvet 1.2", "Přetečení! Číslo nebylo přičteno.")

BOX_ROLES = {pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG}

# Where the main window's parts belong: the client area's screen position and size, and each
# control's place in it, in twips.
MAIN_CLIENT_AREA = (4050, 3090, 3525, 1290)
MAIN_CONTROL_PLACES = {
    "entry": (120, 120, 3255, 285),
    "label": (120, 480, 3255, 255),
    "Přičti": (120, 840, 1095, 375),
    "Průměr": (1200, 840, 1095, 375),
    "Reset": (2280, 840, 1095, 375),
}

TWIPS_PER_PIXEL = 15  # at 96 dots per inch, as the test display has

# Qt 6.8's notice that it has switched a plain C locale to C.UTF-8 (Qt 6.4 keeps C quietly).
_QT_LOCALE_NOTICE = re.compile(
    r'^Detected locale "C" with character encoding "[^"\n]*", which is not UTF-8\.\n'
    r'Qt depends on a UTF-8 locale, and has switched to "C\.UTF-8" instead\.\n'
    r'If this causes problems, reconfigure your locale\. See the locale\(1\) manual\n'
    r'for more information\.\n', re.MULTILINE)
# Qt 6.8's answer, on Wayland, to a state query for an object that is gone.
_QT_NO_SUCH_ACCESSIBLE = re.compile(
    r'^qt\.accessibility\.atspi: Could not find accessible on path: "?([^"\n]*)"?\n',
    re.MULTILINE)


def program_output(child, screen, accessible=None):
    """What the program printed, less what it says about the test rather than about itself:
    Qt's notice that it runs a C locale as C.UTF-8, and, given one of its objects on the
    accessibility bus, its remarks on objects of it that the harness asked about after they
    had gone. Anything else stays."""
    output = _QT_LOCALE_NOTICE.sub("", child.log(), count=1)
    gone = set() if accessible is None else screen.bus.gone_paths.get(accessible.app.bus_name,
                                                                       set())
    return _QT_NO_SUCH_ACCESSIBLE.sub(
        lambda line: "" if line.group(1) in gone else line.group(0), output)


def pixels(twips_rect, origin=(0, 0)):
    """A (left, top, width, height) rectangle in twips as screen pixels, moved by origin."""
    x, y, w, h = (v // TWIPS_PER_PIXEL for v in twips_rect)
    return (origin[0] + x, origin[1] + y, w, h)


def screen_places(client_area_twips, control_places_twips):
    """Where a window's client area and controls belong on the screen, in pixels."""
    client = pixels(client_area_twips)
    places = {name: pixels(place, client[:2]) for name, place in control_places_twips.items()}
    return {"client area": client, **places}

def desktop_theme(directory, font_size, colours=None):
    """The environment of a desktop whose Qt theme (qt6ct) has a default font of font_size
    points and the colours of the qt6ct colour scheme file colours (None: the style's own);
    its settings are written under directory. Called again for the same directory it switches
    the theme of the programs running under it: qt6ct watches its settings' folder, so the
    file is replaced as a whole."""
    folder = os.path.join(directory, "qt6ct")
    os.makedirs(folder, exist_ok=True)
    palette = f"custom_palette=true\ncolor_scheme_path={colours}\n" if colours else \
        "custom_palette=false\n"
    with open(os.path.join(folder, "qt6ct.conf.new"), "w", encoding="utf-8") as conf:
        conf.write(f"[Appearance]\nstyle=Fusion\n{palette}\n[Fonts]\n"
                   f'general="DejaVu Sans,{font_size},-1,5,400,0,0,0,0,0,0,0,0,0,0,1"\n'
                   f'fixed="DejaVu Sans Mono,{font_size},-1,5,400,0,0,0,0,0,0,0,0,0,0,1"\n')
    os.replace(os.path.join(folder, "qt6ct.conf.new"), os.path.join(folder, "qt6ct.conf"))
    return {"QT_QPA_PLATFORMTHEME": "qt6ct", "XDG_CONFIG_HOME": directory}


# Long enough for a cold start on a loaded two-core machine; a hang still fails well before
# CTest's own timeout.
START_TIMEOUT = 30.0
EXIT_TIMEOUT = 15.0


class MessageBox:
    """A modal box: its title, its text and its buttons."""

    def __init__(self, screen, accessible):
        self.screen = screen
        self.accessible = accessible
        self.title = accessible.name
        labels = screen.find_all(accessible, pyatspi.ROLE_LABEL)
        self.texts = [screen.name(label) for label in labels if screen.name(label)]
        self.buttons = screen.find_all(accessible, pyatspi.ROLE_PUSH_BUTTON)

    def button_names(self):
        return [self.screen.name(button) for button in self.buttons]

    def press_only_button(self):
        if len(self.buttons) != 1:
            raise AssertionError(f"the box {self.title!r} has buttons {self.button_names()}")
        self.screen.press(self.buttons[0])


class SchemeWindow:
    """The colour-scheme window "Vlastnosti"."""

    def __init__(self, program, accessible):
        self.program = program
        self.accessible = accessible
        screen = program.screen
        self.buttons = {caption: screen.find(accessible, pyatspi.ROLE_PUSH_BUTTON, caption)
                        for caption in SCHEME_BUTTONS}

    def press(self, caption):
        self.program.screen.press(self.buttons[caption])

    def top_level(self):
        return self.program.x.wait_for_window(self.program.pid, SCHEME_TITLE)


class Kalvet:
    """One running copy of the program, found on both the X display and the accessibility bus."""

    def __init__(self, session, screen, x_desktop, program, locale, changes=None):
        """Starts the program; attach() then finds it on the display and the bus. changes:
        its environment's differences from the usual (see DesktopSession.start_program); a
        program on another platform than xcb is found on the accessibility bus alone."""
        self.session = session
        self.screen = screen
        changes = changes or {}
        self.x = x_desktop if changes.get("QT_QPA_PLATFORM", "xcb") == "xcb" else None
        self.child = session.start_program([program], locale, name="kalvet", changes=changes)
        self.pid = self.child.pid
        self._focused = False

    def attach(self):
        screen, x_desktop = self.screen, self.x
        self.app = screen.application(self.pid, START_TIMEOUT, alive=self._still_running)
        self.main = screen.window(self.app, MAIN_TITLE, START_TIMEOUT)
        if x_desktop:
            self.main_x = x_desktop.wait_for_window(self.pid, MAIN_TITLE, START_TIMEOUT)
        self.entry = screen.find(self.main, pyatspi.ROLE_TEXT, ENTRY_NAME)
        self.buttons = {caption: screen.find(self.main, pyatspi.ROLE_PUSH_BUTTON, caption)
                        for caption in MAIN_BUTTONS}
        self.label = self._message_label()
        self.menu_items = {caption: screen.find(self.main, pyatspi.ROLE_MENU_ITEM, caption)
                           for caption in MENU_ITEMS}
        return self

    def _still_running(self):
        if not self.child.running():
            raise GiveUp(f"the program ended at start with status {self.child.popen.returncode}")

    def _message_label(self):
        """The control beside the entry box and the buttons, whatever its role: the bus may
        show a message label as a label or as a notification."""
        client_area = self.entry.parent
        client_area.clearCache()
        others = [child for child in client_area if child is not None
                  and child.getRole() not in (pyatspi.ROLE_TEXT, pyatspi.ROLE_PUSH_BUTTON)]
        if len(others) != 1:
            raise AssertionError("expected one control beside the entry box and the buttons, "
                                 f"found {[child.getRoleName() for child in others]}")
        return others[0]

    # -- reading --------------------------------------------------------------------------

    def label_text(self):
        return self.screen.name(self.label)

    def entry_text(self):
        return self.screen.text(self.entry)

    def running(self):
        return self.child.running()

    # -- operating ------------------------------------------------------------------------

    def enter(self, text):
        """Puts text into the entry box through the editable-text interface."""
        self.screen.set_text(self.entry, text)

    def focus_main_window(self):
        self.x.focus(self.main_x)
        poll(lambda: self.screen.has_state(self.main, pyatspi.STATE_ACTIVE), 10.0,
             "the main window to become active")
        self._focused = True

    def type(self, text):
        """Types text on the keyboard into the entry box and waits until it shows it."""
        if not self._focused:
            self.focus_main_window()
        before = self.entry_text()
        xwin.type_text(self.x.display_name, text)
        poll(lambda: self.entry_text() == before + text, 10.0,
             f"the entry box to read {before + text!r}")

    def paste(self, text):
        """Puts text on the clipboard, presses Ctrl+V in the entry box, and waits until the
        box shows the end of it."""
        path = os.path.join(self.session.tmp, "clipboard.txt")
        with open(path, "w", encoding="utf-8") as out:
            out.write(text)
        owner = self.session.start_helper(
            "xclip", ["xclip", "-quiet", "-selection", "clipboard", "-i", path],
            self.session.base_environment())
        try:
            poll(lambda: self.x.owns_clipboard(), 10.0, "xclip to own the clipboard")
            self.keys("ctrl+v")
            poll(lambda: self.entry_text() and text.endswith(self.entry_text()), 10.0,
                 f"the entry box to show the end of the {len(text)} pasted characters")
        finally:
            owner.stop()

    def keys(self, *keys):
        if not self._focused:
            self.focus_main_window()
        xwin.press_keys(self.x.display_name, *keys)

    def press(self, caption):
        self.screen.press(self.buttons[caption])

    def choose(self, caption):
        self.screen.press(self.menu_items[caption])

    def box(self, title, timeout=10.0):
        def find():
            self.app.clearCache()
            for child in self.app:
                if child is not None and child.getRole() in BOX_ROLES and child.name == title:
                    return child
            return None

        return MessageBox(self.screen, poll(find, timeout, f"a box titled {title!r}"))

    def no_box_open(self):
        self.app.clearCache()
        return not [child for child in self.app if child is not None and child.getRole() in BOX_ROLES]

    def open_scheme_window(self):
        self.choose("Skiny")
        return SchemeWindow(self, self.screen.window(self.app, SCHEME_TITLE))

    def scheme_windows(self):
        return self.screen.windows(self.app, SCHEME_TITLE)

    def add_numbers(self, count):
        """Adds 1, 2, ... count through the entry box and "Přičti", as a user would."""
        for number in range(1, count + 1):
            self.enter(str(number))
            self.press("Přičti")

    def scheme_window_round(self, check_open=lambda: None):
        """Brings up the colour-scheme window, calls check_open() while it is open, leaves it
        with "Odejít" and waits until it has gone from the accessibility bus: a window that was
        only hidden would stay there."""
        form2 = self.open_scheme_window()
        check_open()
        form2.press("Odejít")
        poll(lambda: not self.scheme_windows(), 10.0, "the colour-scheme window to be destroyed")

    def resident_kib(self):
        """The program's resident set size (VmRSS), in KiB."""
        with open(f"/proc/{self.pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        raise AssertionError("no VmRSS in /proc/PID/status")

    def close_main_window(self):
        """Clicks the main window's close box."""
        self.x.request_close(self.main_x)

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        """The exit status; fails if the program is still running after the timeout."""
        status = self.child.wait(timeout)
        if status is None:
            raise AssertionError(f"the program was still running {timeout:g} s later")
        return status

    def stop(self):
        return self.child.stop()

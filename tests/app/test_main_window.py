#!/usr/bin/python3
"""End-to-end tests of the main window: the real program on a private X display, driven
through the accessibility bus and the keyboard as a user or a screen reader would.

Run with Debian's /usr/bin/python3 (it has pyatspi):
    /usr/bin/python3 tests/app/test_main_window.py --program build/release/app/kalvet --locale C
"""

import collections
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pyatspi  # noqa: E402  (Debian's python3-pyatspi; connects lazily, after the session)

from e2e import pixels, runner, xwin  # noqa: E402
from e2e.kalvet import (  # noqa: E402
    KONEC_BOX, MAIN_CLIENT_AREA as CLIENT_AREA, MAIN_CONTROL_PLACES as CONTROL_PLACES, MAIN_TITLE,
    OVERFLOW_BOX, desktop_theme, program_output, screen_places)
from e2e.runner import Context  # noqa: E402
from e2e.testcase import KalvetTestCase  # noqa: E402
from e2e.waiting import poll  # noqa: E402

# One step of a scenario and what the window shows after it. "{sep}" stands for the decimal
# separator of the locale the program runs under. A step with a box expects that modal box
# (title, text) to open, presses its OK, and then checks the window.
Step = collections.namedtuple("Step", "verb arg label entry box", defaults=(None,))


# What the calculator icon is made of: a yellow body, a black outline and keys, a white display.
ICON_COLOURS = {
    "yellow": lambda c: c[0] >= 200 and c[1] >= 170 and c[2] <= 140,
    "black": lambda c: max(c) <= 60,
    "white": lambda c: min(c) >= 225,
}

NO_NUMBERS_YET = "Žádné číslo jsi ještě nezadal!"
REJECTED = "Nic jsi nezadal!"

SCENARIOS = {
    "fresh_start_answers": [
        Step("press", "Průměr", "Zatím jsi nezadal žádná čísla!", ""),
        Step("choose", "Počet zadaných čísel", NO_NUMBERS_YET, ""),
        Step("choose", "Poslední zadané číslo", NO_NUMBERS_YET, ""),
        Step("choose", "Meziprůměr", NO_NUMBERS_YET, ""),
    ],
    "average_of_two_and_three": [
        Step("enter", "2", "", "2"),
        Step("press", "Přičti", "", ""),
        Step("enter", "3", "", "3"),
        Step("press", "Přičti", "", ""),
        Step("press", "Průměr", "Průměr zadaných čísel je 2{sep}5.", ""),
        Step("choose", "Počet zadaných čísel", "Počet zadaných čísel je 2.", ""),
        Step("choose", "Poslední zadané číslo", "Poslední zadané číslo je 3.", ""),
        Step("choose", "Meziprůměr", "Meziprůměr je 2{sep}5.", ""),
    ],
    "rejected_entries_stay_in_the_box": [
        Step("enter", "7", "", "7"),
        Step("press", "Přičti", "", ""),
        Step("press", "Přičti", REJECTED, ""),
        Step("choose", "Počet zadaných čísel", "Počet zadaných čísel je 1.", ""),
        Step("enter", "abc", "Počet zadaných čísel je 1.", "abc"),
        Step("press", "Přičti", REJECTED, "abc"),
        Step("choose", "Poslední zadané číslo", "Poslední zadané číslo je 7.", "abc"),
        Step("enter", "0", "Poslední zadané číslo je 7.", "0"),
        Step("press", "Přičti", REJECTED, "0"),
        Step("choose", "Počet zadaných čísel", "Počet zadaných čísel je 1.", "0"),
    ],
    "typed_numbers_with_comma_or_point": [
        Step("type", "2,5", "", "2,5"),
        Step("press", "Přičti", "", ""),
        Step("type", "0.25", "", "0.25"),
        Step("press", "Přičti", "", ""),
        Step("type", "-1,75", "", "-1,75"),
        Step("press", "Přičti", "", ""),
        Step("choose", "Poslední zadané číslo", "Poslední zadané číslo je -1{sep}75.", ""),
        Step("choose", "Počet zadaných čísel", "Počet zadaných čísel je 3.", ""),
        Step("press", "Průměr", "Průměr zadaných čísel je 0{sep}333333333333333.", ""),
    ],
    "reset_starts_over": [
        Step("enter", "4", "", "4"),
        Step("press", "Přičti", "", ""),
        Step("press", "Průměr", "Průměr zadaných čísel je 4.", ""),
        Step("enter", "9", "Průměr zadaných čísel je 4.", "9"),
        Step("press", "Reset", "", ""),
        Step("press", "Průměr", "Zatím jsi nezadal žádná čísla!", ""),
        Step("choose", "Počet zadaných čísel", NO_NUMBERS_YET, ""),
        Step("choose", "Poslední zadané číslo", NO_NUMBERS_YET, ""),
        Step("choose", "Meziprůměr", NO_NUMBERS_YET, ""),
        Step("enter", "6", NO_NUMBERS_YET, "6"),
        Step("press", "Přičti", "", ""),
        Step("press", "Průměr", "Průměr zadaných čísel je 6.", ""),
    ],
    "overflow_leaves_everything_as_it_was": [
        Step("enter", "1e308", "", "1e308"),
        Step("press", "Přičti", "", ""),
        Step("choose", "Počet zadaných čísel", "Počet zadaných čísel je 1.", ""),
        Step("enter", "1e308", "Počet zadaných čísel je 1.", "1e308"),
        Step("press", "Přičti", "Počet zadaných čísel je 1.", "1e308", OVERFLOW_BOX),
        Step("choose", "Počet zadaných čísel", "Počet zadaných čísel je 1.", "1e308"),
        Step("press", "Průměr", "Průměr zadaných čísel je 1E+308.", "1e308"),
        Step("enter", "-2", "Průměr zadaných čísel je 1E+308.", "-2"),
        Step("press", "Přičti", "", ""),
        Step("press", "Průměr", "Průměr zadaných čísel je 5E+307.", ""),
    ],
}


# Desktops that lack a part, as differences from the test desktop's environment (None removes
# a variable), and whether the program must still open its window quietly; without one it must
# end with status 1 and a single line saying why.
ENVIRONMENTS = {
    "display_naming_no_server": ({"DISPLAY": "{unused display}"}, False),
    "no_display_at_all": ({"DISPLAY": None}, False),
    "no_session_bus": ({"DBUS_SESSION_BUS_ADDRESS": None}, True),
    "session_bus_without_accessibility_bus": ({"DBUS_SESSION_BUS_ADDRESS": "{bare bus}"}, True),
    "accessibility_bus_gone": ({"AT_SPI_BUS_ADDRESS": "unix:path=/nonexistent/at-spi"}, True),
}


def unused_display():
    """A display number no X server uses: neither its socket file and lock file in /tmp, nor
    its abstract socket, which a server whose /tmp this one cannot see (a container, a chroot)
    still holds in the same network namespace."""
    with open("/proc/net/unix", encoding="utf-8", errors="replace") as table:
        abstract = {fields[7] for fields in map(str.split, table) if len(fields) >= 8}
    number = next(n for n in range(90, 200) if not os.path.exists(f"/tmp/.X11-unix/X{n}")
                  and not os.path.exists(f"/tmp/.X{n}-lock")
                  and f"@/tmp/.X11-unix/X{n}" not in abstract)
    return f":{number}"


class EnvironmentTest(unittest.TestCase):
    maxDiff = None  # the program's whole output when it is not as expected

    def run_in(self, changes, opens_window):
        session = Context.session
        if "{bare bus}" in changes.values():
            bare_bus = session.start_bus("bare-dbus-daemon")[1]
        values = {"{unused display}": unused_display, "{bare bus}": lambda: bare_bus}
        changes = {key: values[value]() if value in values else value
                   for key, value in changes.items()}
        program = session.start_program([Context.program], Context.locale, "kalvet", changes)
        try:
            if opens_window:
                Context.x.request_close(Context.x.wait_for_window(program.pid, MAIN_TITLE, 30.0))
            status = program.wait(15.0)
        finally:
            program.stop()
        if opens_window:
            self.assertEqual((status, program_output(program, Context.screen)), (0, ""),
                             "exit status and output")
        else:
            output = program.log()
            self.assertEqual(status, 1, f"exit status; output: {output}")
            self.assertRegex(output, r"\Akalvet: cannot open a window: [^\n]*display[^\n]*\n\Z")


class MainWindowTest(KalvetTestCase):
    def run_step(self, step):
        k = self.kalvet
        sep = self.separator()
        if step.verb == "enter":
            k.enter(step.arg)
        elif step.verb == "type":
            k.type(step.arg)
        elif step.verb == "press":
            k.press(step.arg)
        elif step.verb == "choose":
            k.choose(step.arg)
        else:
            raise ValueError(step.verb)
        if step.box:
            title, text = step.box
            box = k.box(title)
            self.assertEqual(box.texts, [text], f"text of the box after {step.verb} {step.arg!r}")
            box.press_only_button()
            poll(k.no_box_open, 10.0, f"the box {title!r} to close")
        self.assert_shows(step.label.replace("{sep}", sep), step.entry.replace("{sep}", sep),
                          f"{step.verb} {step.arg!r}")

    def run_scenario(self, steps):
        self.assert_shows("", "", "start")
        for step in steps:
            self.run_step(step)
        self.assertTrue(self.kalvet.running())

    def assert_shows_soon(self, label, entry, after, timeout=5.0):
        """For keyboard input, which the program reads from the X server in its own time."""
        k = self.kalvet
        try:
            poll(lambda: (k.label_text(), k.entry_text()) == (label, entry), timeout,
                 f"the window to show {label!r} and {entry!r}")
        except AssertionError:
            self.assert_shows(label, entry, after)

    def focused_control(self):
        k = self.kalvet
        controls = {"entry": k.entry, **k.buttons}
        focused = [name for name, control in controls.items()
                   if k.screen.has_state(control, pyatspi.STATE_FOCUSED)]
        return focused[0] if len(focused) == 1 else tuple(focused)

    # -- start, keyboard ------------------------------------------------------------------

    def test_window_and_controls_open_at_their_places(self):
        k = self.kalvet
        client_area = k.screen.find(k.main, pyatspi.ROLE_FILLER)
        parts = {"client area": client_area, "entry": k.entry, "label": k.label, **k.buttons}
        self.assertEqual(k.screen.places(parts), screen_places(CLIENT_AREA, CONTROL_PLACES))

    def test_window_icon_is_the_yellow_calculator(self):
        self.assert_icon_shows(self.kalvet.main_x, ICON_COLOURS)

    def test_tab_order_is_entry_then_the_three_buttons(self):
        k = self.kalvet
        k.focus_main_window()
        order = ["entry"]
        for _ in range(4):
            k.keys("Tab")
            previous = order[-1]
            order.append(poll(lambda: (lambda f: f if f != previous else None)(self.focused_control()),
                              5.0, f"the focus to move on from {previous}"))
        self.assertEqual(order, ["entry", "Přičti", "Průměr", "Reset", "entry"])

    def test_keyboard_alone_adds_and_averages(self):
        k = self.kalvet
        sep = self.separator()
        k.type("4")
        k.keys("Tab", "space")  # "Přičti"
        self.assert_shows_soon("", "", "Tab and Space on Přičti")
        k.keys("shift+Tab")
        poll(lambda: self.focused_control() == "entry", 5.0, "the focus back in the entry box")
        k.type("1,5")
        k.keys("Tab", "space")  # "Přičti"
        self.assert_shows_soon("", "", "Tab and Space on Přičti")
        k.keys("Tab", "space")  # "Průměr"
        self.assert_shows_soon(f"Průměr zadaných čísel je 2{sep}75.", "",
                               "Tab and Space on Průměr")


    def test_entry_box_has_the_focus_at_start(self):
        k = self.kalvet
        k.focus_main_window()
        poll(lambda: k.screen.has_state(k.entry, pyatspi.STATE_FOCUSED), 5.0,
             "the entry box to have the keyboard focus")
        for caption, button in k.buttons.items():
            self.assertFalse(k.screen.has_state(button, pyatspi.STATE_FOCUSED), caption)

    def test_enter_and_escape_press_nothing(self):
        k = self.kalvet
        k.type("7")
        k.keys("Return", "KP_Enter", "Escape")
        k.type("8")  # arrives after the keys above, so they have been handled
        self.assert_shows("", "78", "Enter and Esc in the entry box")
        k.choose("Počet zadaných čísel")
        self.assert_shows(NO_NUMBERS_YET, "78", "asking for the count")

    def test_entry_box_takes_more_than_32767_characters(self):
        k = self.kalvet
        text = "12" + " " * 40000 + "3"  # blanks are left out when the number is read
        k.enter(text)
        self.assertEqual(len(k.entry_text()), len(text))
        k.press("Přičti")
        self.assert_shows("", "", "adding the long entry")
        k.choose("Poslední zadané číslo")
        self.assert_shows("Poslední zadané číslo je 123.", "", "asking for the last number")

    def test_select_all_puts_the_whole_entry_on_the_primary_selection(self):
        k = self.kalvet
        text = "4" + " " * 1_000_000 + "2"
        k.enter(text)
        k.keys("ctrl+a")

        def primary_selection():
            env = {**os.environ, **Context.session.base_environment()}
            return subprocess.run(["xclip", "-o", "-selection", "primary"], env=env,
                                  capture_output=True, timeout=10).stdout.decode()

        poll(lambda: primary_selection() == text, 10.0, "the whole entry on the primary selection")

    def test_long_pastes_are_read_whole(self):
        k = self.kalvet
        size = 100_000  # what a 10 MB paste costs is bench_paste's to measure
        pastes = [  # the text, then the label after "Přičti" and after asking for the last number
            ("1" + " " * (size - 2) + "2", "", "Poslední zadané číslo je 12."),
            ("0." + "0" * (size - 3) + "1", REJECTED, NO_NUMBERS_YET),
        ]
        for text, added, last in pastes:
            with self.subTest(paste=text[:3]):
                k.paste(text)
                k.press("Přičti")
                self.assertEqual(k.label_text(), added, "the label after Přičti")
                shown = k.entry_text()  # a rejected entry stays, of which the box shows the end
                self.assertTrue(bool(shown) == (added == REJECTED) and text.endswith(shown),
                                f"the entry box after Přičti: {len(shown)} characters")
                k.choose("Poslední zadané číslo")
                self.assertEqual(k.label_text(), last, "asking for the last number")
                k.press("Reset")
                k.keys("ctrl+a", "BackSpace")
                poll(lambda: k.entry_text() == "", 5.0, "the entry box to be emptied")

    def test_the_longest_average_is_read_whole_off_the_screen(self):
        # The free band between the entry box's bottom edge and the buttons' top edge, as wide
        # as the label: whatever of the message is cut off or hidden is not in it.
        k = self.kalvet
        expected = f"Průměr zadaných čísel je -1{self.separator()}23456789012346E+307."
        k.enter("-1.23456789012346e307")
        k.press("Přičti")
        k.press("Průměr")
        self.assert_shows(expected, "", "Přičti and Průměr")
        places = screen_places(CLIENT_AREA, CONTROL_PLACES)
        left, _, width, _ = places["label"]
        _, entry_top, _, entry_height = places["entry"]
        buttons_top = places["Přičti"][1]
        band = (left, entry_top + entry_height, width, buttons_top - entry_top - entry_height)
        read = ""

        def reads_whole():
            nonlocal read
            read = " ".join(pixels.read_text(k.x.screenshot(*band)).split())
            return read == expected

        try:
            poll(reads_whole, 10.0, "the whole message on the screen")
        except AssertionError:
            self.assertEqual(read, expected, "the message as read off the screen")

    # -- the end of the program -----------------------------------------------------------

    def check_konec_box(self):
        box = self.kalvet.box(KONEC_BOX[0])
        self.assertEqual(box.texts, [KONEC_BOX[1]])
        self.assertEqual(len(box.buttons), 1, f"buttons: {box.button_names()}")
        self.assertEqual(box.button_names(), ["OK"])
        self.assertTrue(self.kalvet.running(), "still running while the box is open")
        return box

    def test_konec_then_ok_ends_the_program(self):
        self.kalvet.choose("Konec")
        self.check_konec_box().press_only_button()
        self.assert_ends_with_status_0()

    def test_ctrl_k_opens_the_konec_box(self):
        k = self.kalvet
        action = k.menu_items["Konec"].queryAction()
        self.assertEqual([action.getKeyBinding(i) for i in range(action.nActions)], ["Ctrl+K"],
                         "the menu shows the shortcut")
        k.enter("5")
        k.keys("ctrl+k")
        self.check_konec_box().press_only_button()
        self.assert_ends_with_status_0()

    def test_konec_box_closed_with_escape_ends_the_program_too(self):
        k = self.kalvet
        k.choose("Konec")
        self.check_konec_box()
        k.x.focus(k.x.wait_for_window(k.pid, KONEC_BOX[0]))
        xwin.press_keys(k.x.display_name, "Escape")
        self.assert_ends_with_status_0()

    def test_konec_box_closed_by_its_close_box_ends_the_program_too(self):
        k = self.kalvet
        k.choose("Konec")
        self.check_konec_box()
        k.x.request_close(k.x.wait_for_window(k.pid, KONEC_BOX[0]))
        self.assert_ends_with_status_0()

    def test_close_box_ends_the_program_without_a_box(self):
        k = self.kalvet
        k.enter("3")
        k.press("Přičti")
        k.close_main_window()
        # A box would hold the program open until someone answered it.
        self.assert_ends_with_status_0()


class WaylandTest(KalvetTestCase):
    """The program as a client of a headless Weston, driven through the accessibility bus
    alone: Wayland lets no other client see or move its windows."""

    def program_changes(self):
        return {"QT_QPA_PLATFORM": "wayland", "WAYLAND_DISPLAY": Context.session.start_wayland(),
                "DISPLAY": None}

    def test_both_windows_open_and_close_and_the_last_one_ends_the_program(self):
        k = self.kalvet
        client_area = k.screen.extents(k.screen.find(k.main, pyatspi.ROLE_FILLER))
        self.assertEqual((client_area.width, client_area.height), (235, 86), "client area size")
        k.enter("2")
        k.press("Přičti")
        k.press("Průměr")
        self.assert_shows("Průměr zadaných čísel je 2.", "", "Přičti and Průměr")
        k.open_scheme_window().press("Odejít")
        poll(lambda: not k.scheme_windows(), 10.0, "the colour-scheme window to close")
        form2 = k.open_scheme_window()
        k.choose("Skiny")  # already open: brought to the front where Wayland lets it
        k.choose("Konec")
        k.box(KONEC_BOX[0]).press_only_button()
        poll(lambda: not k.screen.has_state(k.main, pyatspi.STATE_SHOWING), 10.0,
             "the main window to close")
        self.assertTrue(k.running(), "the colour-scheme window keeps the program running")
        form2.press("Odejít")
        self.assert_ends_with_status_0()
        # Stored window positions are not the client's to choose here; they go unused quietly.
        self.assertEqual(program_output(k.child, k.screen, k.main), "", "the program's output")


class LargeFontTest(KalvetTestCase):
    """Under a desktop theme whose font is 11 points the three menus no longer fit one row."""

    def program_changes(self):
        return desktop_theme(os.path.join(Context.session.tmp, "theme-11pt"), 11)

    def test_every_menu_is_one_click_away_and_the_client_area_keeps_its_place(self):
        k = self.kalvet
        window = k.screen.extents(k.main)
        client_area = k.screen.find(k.main, pyatspi.ROLE_FILLER)
        parts = {"client area": client_area, "entry": k.entry, "label": k.label, **k.buttons}
        self.assertEqual(k.screen.places(parts), screen_places(CLIENT_AREA, CONTROL_PLACES))
        client_top = k.screen.extents(client_area).y
        menus = {}
        for bar in k.screen.find_all(k.main, pyatspi.ROLE_MENU_BAR):
            menus.update({k.screen.name(menu): k.screen.extents(menu) for menu in bar
                          if menu.getRole() == pyatspi.ROLE_MENU_ITEM})
        self.assertEqual(sorted(menus), sorted(["Aplikace", "Zobrazit", "Vlastnosti"]))
        for name, e in menus.items():
            inside = (window.x <= e.x and e.x + e.width <= window.x + window.width
                      and window.y <= e.y and e.y + e.height <= client_top)
            self.assertTrue(inside and e.width > 0, f"{name} at {e.x},{e.y} {e.width}x{e.height}")
        for name, e in menus.items():
            xwin.click(k.x.display_name, e.x + e.width // 2, e.y + e.height // 2)
            item = {"Aplikace": "Konec", "Zobrazit": "Meziprůměr", "Vlastnosti": "Skiny"}[name]
            poll(lambda: k.screen.has_state(k.menu_items[item], pyatspi.STATE_SHOWING), 5.0,
                 f"{item!r} to show after one click on {name!r}")
            xwin.press_keys(k.x.display_name, "Escape")
            poll(lambda: not k.screen.has_state(k.menu_items[item], pyatspi.STATE_SHOWING), 5.0,
                 f"the menu {name!r} to close")


def _scenario_test(steps):
    def test(self):
        self.run_scenario(steps)

    return test


for _name, _steps in SCENARIOS.items():
    setattr(MainWindowTest, f"test_{_name}", _scenario_test(_steps))
for _name, (_changes, _opens) in ENVIRONMENTS.items():
    setattr(EnvironmentTest, f"test_{_name}",
            lambda self, c=_changes, o=_opens: self.run_in(c, o))


if __name__ == "__main__":
    sys.exit(runner.main())

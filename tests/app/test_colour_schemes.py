#!/usr/bin/python3
"""End-to-end tests of the colour-scheme window "Vlastnosti": its schemes as they appear on
the screen, and the end of the program when both windows are open.

Colours are read from screenshots of the real windows; the controls are located through the
accessibility interface's extents.

Run with Debian's /usr/bin/python3 (it has pyatspi and python-xlib):
    /usr/bin/python3 tests/app/test_colour_schemes.py --program build/release/app/kalvet --locale C
Screenshots of failed checks go to --artifacts DIR as PPM files; with
KALVET_E2E_KEEP_SCREENSHOTS=1 every screenshot taken is kept there.
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pyatspi  # noqa: E402  (Debian's python3-pyatspi; connects lazily, after the session)

from e2e import runner  # noqa: E402
from e2e.kalvet import (  # noqa: E402
    KONEC_BOX, MAIN_BUTTONS, MAIN_CLIENT_AREA, MAIN_CONTROL_PLACES, MAIN_TITLE, SCHEME_TITLE,
    Kalvet, desktop_theme, screen_places)
from e2e.pixels import Rect  # noqa: E402
from e2e.runner import Context  # noqa: E402
from e2e.testcase import KalvetTestCase  # noqa: E402
from e2e.waiting import poll  # noqa: E402

LIGHT_YELLOW = (255, 255, 128)

# Where the colour-scheme window's parts belong, in twips: its client area on the screen and
# each control's place in it.
SCHEME_CLIENT_AREA = (3990, 3285, 3645, 1650)
SCHEME_CONTROL_PLACES = {
    "label": (120, 120, 3375, 255),
    "Žlutá": (240, 600, 1455, 495),
    "Klasika": (1920, 600, 1455, 495),
    "Odejít": (1080, 1200, 1455, 375),
}


def yellow_tint(rgb):
    """Light yellow as a style shades it on a button face (lighter or darker, but clearly
    yellow): red and green high and alike, blue well below them. Greys and white are not."""
    r, g, b = rgb
    return r >= 200 and g >= 200 and abs(r - g) <= 16 and b <= min(r, g) - 24


# At most this share of yellow-tinted pixels counts as "no yellow": a yellow control would
# cover far more, and a few text pixels blended by anti-aliasing stay well below it.
NO_YELLOW_SHARE = 0.005

# What the pencil icon is made of: a red end, an orange body, black outlines and point.
ICON_COLOURS = {
    "red": lambda c: c[0] >= 180 and c[1] < 100 and c[2] < 100,
    "orange": lambda c: c[0] >= 200 and 100 <= c[1] <= 190 and c[2] < 100,
    "black": lambda c: max(c) <= 60,
}

# Margins that keep a region clear of the borders, rounded corners and focus frames that the
# style draws at the edge of a control.
BUTTON_INSET = 3
FIELD_INSET = 2


class Photo:
    """A settled screenshot of one window together with where its parts are on the screen."""

    def __init__(self, image, window, parts):
        self.image = image
        self.window = window
        self.parts = parts

    def region(self, name, inset=0):
        return self.image.colours(self.parts[name].inset(inset))

    def background(self):
        """The window's own surface: the window less the rectangles of its parts (each grown
        by a pixel, so that no control's edge counts as background)."""
        excluded = [part.inset(-1) for part in self.parts.values()]
        return self.image.colours(self.window, excluded)

    def everything(self):
        return self.image.colours(self.window)


class SchemeWindowsCase(KalvetTestCase):
    """Both windows photographed, and what the schemes must look like."""

    def setUp(self):
        super().setUp()
        self.fill_in(self.kalvet)
        self.shots = 0

    @staticmethod
    def fill_in(k):
        k.press("Průměr")  # some text in the label, so that it is more than an empty area
        k.enter("12")

    # -- photographing --------------------------------------------------------------------

    def _parts_of_main_window(self):
        k = self.kalvet
        s = k.screen
        parts = {caption: Rect.of(s.extents(button)) for caption, button in k.buttons.items()}
        parts["label"] = Rect.of(s.extents(k.label))
        parts["entry"] = Rect.of(s.extents(k.entry))
        parts["menu bar"] = Rect.of(s.extents(s.find(k.main, pyatspi.ROLE_MENU_BAR)))
        return Rect.of(s.extents(k.main)), parts

    def _parts_of_scheme_window(self, form2):
        s = self.kalvet.screen
        parts = {caption: Rect.of(s.extents(button)) for caption, button in form2.buttons.items()}
        labels = s.find_all(form2.accessible, pyatspi.ROLE_LABEL)
        self.assertEqual(len(labels), 1, "one label in the colour-scheme window")
        parts["label"] = Rect.of(s.extents(labels[0]))
        return Rect.of(s.extents(form2.accessible)), parts

    def photograph(self, title, parts_of, ready=lambda photo: True):
        """Raises the window, waits until ready(photo) holds and the picture has settled (two
        shots in a row alike), and returns that photo."""
        k = self.kalvet
        top_level = k.x.wait_for_window(k.pid, title)
        k.x.raise_window(top_level)
        window, parts = parts_of()

        def take():
            return Photo(k.x.screenshot(window.x, window.y, window.width, window.height),
                         window, parts)

        def settled():
            first = take()
            if not ready(first):
                return None
            time.sleep(0.05)
            second = take()
            return second if second.image.same_as(first.image) else None

        try:
            photo = poll(settled, 10.0, f"the window {title!r} to be painted as expected")
        except AssertionError:
            self.save(take(), title)
            raise
        self.last_photo = (photo, title)
        if os.environ.get("KALVET_E2E_KEEP_SCREENSHOTS"):
            self.save(photo, title)
        return photo

    def photograph_main(self, ready=lambda photo: True):
        return self.photograph(MAIN_TITLE, self._parts_of_main_window, ready)

    def photograph_schemes(self, form2, ready=lambda photo: True):
        return self.photograph(SCHEME_TITLE, lambda: self._parts_of_scheme_window(form2), ready)

    def save(self, photo, title):
        if not Context.artifacts:
            return
        self.shots += 1
        name = f"{self.id().rsplit('.', 1)[-1]}-{self.shots}-{title.replace(' ', '_')}.ppm"
        path = os.path.join(Context.artifacts, name)
        photo.image.save_ppm(path)
        print(f"screenshot saved: {path}", file=sys.stderr)

    def check(self, condition, message):
        if not condition and hasattr(self, "last_photo"):
            self.save(*self.last_photo)
        self.assertTrue(condition, message)

    # -- what the schemes must look like --------------------------------------------------

    def check_yellow_covers(self, counts, what, share):
        self.check(counts.dominant() == LIGHT_YELLOW and counts.share(LIGHT_YELLOW) >= share,
                   f"light yellow covers {what}: {counts.describe()}")

    def check_no_yellow(self, counts, what):
        self.check(counts.share_where(yellow_tint) <= NO_YELLOW_SHARE,
                   f"no yellow in {what}: {counts.describe()}")

    def check_yellow_button(self, counts, what):
        self.check(counts.share_where(yellow_tint) >= 0.5, f"{what} is yellow: {counts.describe()}")

    def main_buttons(self, photo):
        return {caption: photo.image.colours(photo.parts[caption].inset(BUTTON_INSET))
                for caption in MAIN_BUTTONS}

    def check_main_window_yellow(self, photo, buttons_before):
        self.check_yellow_covers(photo.background(), "the main window's background", 0.99)
        self.check_yellow_covers(photo.region("label", 1), "the message label", 0.6)
        self.check_yellow_covers(photo.region("entry", FIELD_INSET), "the entry box", 0.6)
        for caption, counts in self.main_buttons(photo).items():
            self.check_no_yellow(counts, f"the standard button {caption!r}")
            self.check(counts.counts == buttons_before[caption].counts,
                       f"{caption!r} keeps its system look: {counts.describe()} "
                       f"was {buttons_before[caption].describe()}")

    def check_scheme_window(self, photo, yellow_window):
        background = photo.background()
        if yellow_window:
            self.check_yellow_covers(background, "the colour-scheme window's background", 0.99)
        else:
            self.check_no_yellow(background, "the colour-scheme window's background")
        self.check_yellow_button(photo.region("Žlutá", BUTTON_INSET), "the button Žlutá")
        self.check_no_yellow(photo.region("label", 1), "the colour-scheme window's own label")

    # -- scenarios ------------------------------------------------------------------------

    def open_schemes(self):
        k = self.kalvet
        form2 = k.open_scheme_window()
        k.x.wait_for_window(k.pid, SCHEME_TITLE)
        return form2

    @staticmethod
    def yellow_background(photo):
        return photo.background().share(LIGHT_YELLOW) > 0.5

    @staticmethod
    def no_yellow(photo):
        return photo.everything().share_where(yellow_tint) <= NO_YELLOW_SHARE



class ColourSchemeTest(SchemeWindowsCase):
    def test_yellow_then_classic_recolours_both_windows(self):
        k = self.kalvet
        form2 = self.open_schemes()
        start = self.photograph_schemes(form2, )
        self.check_scheme_window(start, yellow_window=False)
        before = self.photograph_main()
        self.check_no_yellow(before.everything(), "the main window before any scheme")
        buttons_before = self.main_buttons(before)

        form2.press("Žlutá")
        yellow = self.photograph_main(self.yellow_background)
        self.check_main_window_yellow(yellow, buttons_before)
        self.check_scheme_window(self.photograph_schemes(form2, self.yellow_background), yellow_window=True)

        form2.press("Klasika")
        classic_main = self.photograph_main(self.no_yellow)
        self.check_no_yellow(classic_main.everything(), "the main window after Klasika")
        classic_schemes = self.photograph_schemes(form2, self.no_yellow)
        self.check_no_yellow(classic_schemes.everything(), "the colour-scheme window after Klasika")
        for caption, counts in self.main_buttons(classic_main).items():
            self.check(counts.counts == buttons_before[caption].counts,
                       f"{caption!r} looks as at the start after Klasika")

        # Closing the main window first leaves the program running for the other window.
        k.close_main_window()
        k.x.wait_until_gone(k.pid, MAIN_TITLE)
        form2.press("Klasika")  # answered, so the program still runs and handles events
        self.assertTrue(k.running(), "the program runs while the colour-scheme window is open")
        self.assertEqual(len(k.x.windows_titled(k.pid, SCHEME_TITLE)), 1)
        k.x.request_close(form2.top_level())
        self.assert_ends_with_status_0()

    def test_schemes_after_the_main_window_closed_neither_crash_nor_keep_it_running(self):
        k = self.kalvet
        form2 = self.open_schemes()
        k.choose("Konec")
        k.box(KONEC_BOX[0]).press_only_button()
        k.x.wait_until_gone(k.pid, MAIN_TITLE)
        for caption in ("Žlutá", "Klasika", "Žlutá"):
            form2.press(caption)
            self.assertTrue(k.running(), f"still running after {caption!r}")
        self.assertEqual([w.title for w in k.x.top_levels(k.pid)], [SCHEME_TITLE])
        form2.press("Odejít")
        self.assert_ends_with_status_0()

    def test_skiny_twice_gives_one_window(self):
        k = self.kalvet
        self.open_schemes()
        k.choose("Skiny")
        k.choose("Skiny")
        self.assertEqual(len(k.x.windows_titled(k.pid, SCHEME_TITLE)), 1, "X windows")
        self.assertEqual(len(k.scheme_windows()), 1, "windows on the accessibility bus")

    def test_leaving_keeps_the_main_window_yellow_and_reopens_fresh(self):
        k = self.kalvet
        ways_to_leave = {
            "Odejít": lambda form2: form2.press("Odejít"),
            "the close box": lambda form2: k.x.request_close(form2.top_level()),
        }
        form2 = self.open_schemes()
        buttons_before = self.main_buttons(self.photograph_main())
        for way, leave in ways_to_leave.items():
            with self.subTest(leaving_by=way):
                form2.press("Žlutá")
                self.photograph_main(self.yellow_background)
                leave(form2)
                k.x.wait_until_gone(k.pid, SCHEME_TITLE)
                poll(lambda: not k.scheme_windows(), 10.0,
                     "the colour-scheme window to leave the bus")

                self.check_main_window_yellow(self.photograph_main(self.yellow_background),
                                              buttons_before)
                form2 = self.open_schemes()
                self.check_scheme_window(self.photograph_schemes(form2), yellow_window=False)
                self.assertTrue(k.running())

    def test_many_additions_and_rounds_leave_one_scheme_window_or_none(self):
        k = self.kalvet
        k.add_numbers(100)
        k.choose("Počet zadaných čísel")
        self.assertEqual(k.label_text(), "Počet zadaných čísel je 100.")

        def one_window():
            self.assertEqual(len(k.scheme_windows()), 1, "windows on the accessibility bus")
            self.assertEqual(len(k.x.windows_titled(k.pid, SCHEME_TITLE)), 1, "X windows")

        for _ in range(20):
            k.scheme_window_round(one_window)
            k.x.wait_until_gone(k.pid, SCHEME_TITLE)

    def test_scheme_window_and_controls_open_at_their_places(self):
        form2 = self.open_schemes()
        s = self.kalvet.screen
        labels = s.find_all(form2.accessible, pyatspi.ROLE_LABEL)
        self.assertEqual([s.name(label) for label in labels], ["Změna barvy formuláře"])
        parts = {"client area": form2.accessible, "label": labels[0], **form2.buttons}
        self.assertEqual(s.places(parts), screen_places(SCHEME_CLIENT_AREA, SCHEME_CONTROL_PLACES))

    def test_scheme_window_icon_is_the_pencil(self):
        self.assert_icon_shows(self.open_schemes().top_level(), ICON_COLOURS)

    def test_zluta_has_the_focus_when_the_window_opens(self):
        k = self.kalvet
        form2 = self.open_schemes()
        k.x.focus(form2.top_level())
        poll(lambda: k.screen.has_state(form2.buttons["Žlutá"], pyatspi.STATE_FOCUSED), 5.0,
             "Žlutá to have the keyboard focus")


# A dark qt6ct colour scheme, and the font size of the theme the live-switch test writes.
DARK_COLOURS = "/usr/share/qt6ct/colors/darker.conf"
THEME_FONT_SIZE = 9


class LiveThemeTest(SchemeWindowsCase):
    """A desktop theme switched from light to dark while the program runs (qt6ct here; KDE's
    theme pushes palettes the same way)."""

    maxDiff = None

    def theme(self, colours=None):
        return desktop_theme(os.path.join(Context.session.tmp, "theme-live"), THEME_FONT_SIZE,
                             colours)

    def program_changes(self):
        return self.theme()

    def photographs(self, form2, ready=lambda photo: True):
        """Both windows: each part's dominant colour, by window."""
        photos = {"main": self.photograph_main(ready), "schemes": self.photograph_schemes(form2)}
        return {window: {**{part: photo.region(part, 2).dominant() for part in photo.parts},
                         "background": photo.background().dominant()}
                for window, photo in photos.items()}

    def test_a_theme_switched_while_running_looks_as_a_fresh_start_under_it(self):
        k = self.kalvet
        form2 = self.open_schemes()
        form2.press("Žlutá")
        self.photograph_main(self.yellow_background)  # the scheme is on before the switch

        def dark_menu_bar(photo):
            return max(photo.region("menu bar", 2).dominant()) < 100

        self.theme(DARK_COLOURS)
        switched = {"Žlutá": self.photographs(form2, dark_menu_bar)}
        form2.press("Klasika")
        switched["Klasika"] = self.photographs(form2, self.no_yellow)

        k.stop()
        k.x.wait_until_gone(k.pid, MAIN_TITLE)
        self.kalvet = fresh = Kalvet(Context.session, Context.screen, Context.x, Context.program,
                                     Context.locale, self.theme(DARK_COLOURS))
        self.addCleanup(fresh.stop)
        fresh.attach()
        self.fill_in(fresh)
        form2 = self.open_schemes()
        for scheme, ready in (("Žlutá", self.yellow_background), ("Klasika", self.no_yellow)):
            form2.press(scheme)
            self.assertEqual(switched[scheme], self.photographs(form2, ready),
                             f"after {scheme}: switched while running, and started dark")


class HiDpiTest(KalvetTestCase):
    """At a scale factor of 2 both windows are drawn twice as large, layout and all."""

    SCALE = 2

    def program_changes(self):
        return {"QT_SCALE_FACTOR": str(self.SCALE)}

    def scaled(self, extents, inset=0):
        """Extents, which the accessibility bus gives in unscaled pixels, on the screen."""
        return Rect(*(self.SCALE * v for v in (extents.x, extents.y, extents.width,
                                               extents.height))).inset(self.SCALE * inset)

    def test_both_windows_scale_as_one_and_no_text_is_clipped(self):
        k = self.kalvet
        k.press("Průměr")  # a message in the label
        form2 = k.open_scheme_window()
        s = k.screen
        windows = {
            MAIN_TITLE: (k.main, MAIN_CLIENT_AREA, MAIN_CONTROL_PLACES),
            SCHEME_TITLE: (form2.accessible, SCHEME_CLIENT_AREA, SCHEME_CONTROL_PLACES),
        }
        for title, (window, client_area, control_places) in windows.items():
            top = k.x.wait_for_window(k.pid, title)
            k.x.raise_window(top)
            self.assertEqual((top.x, top.y, top.width, top.height),
                             astuple(self.scaled(s.extents(window))), f"the window {title!r}")
            # The message label may be on the bus as a notification.
            labels = [c for role in (pyatspi.ROLE_LABEL, pyatspi.ROLE_NOTIFICATION)
                      for c in s.find_all(window, role)]
            buttons = s.find_all(window, pyatspi.ROLE_PUSH_BUTTON)
            places = screen_places(client_area, control_places)
            self.assertEqual(sorted(astuple(Rect.of(s.extents(c))) for c in labels + buttons),
                             sorted(p for name, p in places.items()
                                    if name not in ("client area", "entry")), title)

            def settled():
                first = k.x.screenshot(top.x, top.y, top.width, top.height)
                time.sleep(0.05)
                second = k.x.screenshot(top.x, top.y, top.width, top.height)
                return second if second.same_as(first) else None

            image = poll(settled, 10.0, f"the window {title!r} to be painted")
            # Text is black; a caption clipped by its control reaches the control's edge (a
            # button's frame, two pixels, lies outside the area looked at).
            for control, frame in [(c, 0) for c in labels] + [(c, 2) for c in buttons]:
                area = self.scaled(s.extents(control), frame)
                ink = image.ink(area, lambda c: max(c) < 100)
                name = s.name(control)
                self.assertIsNotNone(ink, f"no text seen in {name!r}")
                gaps = (ink.x - area.x, area.x + area.width - ink.x - ink.width,
                        ink.y - area.y, area.y + area.height - ink.y - ink.height)
                self.assertTrue(min(gaps[:2]) >= 2 * self.SCALE and min(gaps[2:]) >= 1,
                                f"{name!r} in {area}: text at {ink}, clear on left, right, "
                                f"top, bottom: {gaps}")


def astuple(rect):
    return (rect.x, rect.y, rect.width, rect.height)


if __name__ == "__main__":
    sys.exit(runner.main())

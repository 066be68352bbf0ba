#!/usr/bin/python3
"""End-to-end test with a real screen reader: the program driven from the keyboard while Orca
runs on the same desktop, and what Orca speaks read from its debug log.

Run with Debian's /usr/bin/python3 (it has pyatspi):
    /usr/bin/python3 tests/app/test_screen_reader.py --program build/release/app/kalvet --locale C
"""

import datetime
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pyatspi  # noqa: E402  (Debian's python3-pyatspi; connects lazily, after the session)

from e2e import runner, xwin  # noqa: E402
from e2e.kalvet import ENTRY_NAME, KONEC_BOX, MAIN_TITLE, OVERFLOW_BOX, SCHEME_TITLE  # noqa: E402
from e2e.orca import Orca  # noqa: E402
from e2e.runner import Context  # noqa: E402
from e2e.testcase import KalvetTestCase  # noqa: E402

NO_NUMBERS = "Žádné číslo jsi ještě nezadal!"
REJECTED = "Nic jsi nezadal!"
MESSAGES = (NO_NUMBERS, REJECTED, "Průměr zadaných čísel", "Počet zadaných čísel je",
            "Poslední zadané číslo je", "Meziprůměr je", "Zatím jsi nezadal")

# (what the user does, the keys, what Orca must speak once, where the focus is afterwards).
# A step that names no message must speak none; "{sep}" is the locale's decimal separator;
# "focus WINDOW" gives that window the keyboard focus, as a window manager would.
SCENARIO = [
    ("the main window gets the focus", ["focus " + MAIN_TITLE], ENTRY_NAME, "entry"),
    ("types 2, Tab, space on Přičti", ["2", "Tab", "space"], None, "Přičti"),
    ("Shift+Tab, 3, Tab, space", ["shift+Tab", "3", "Tab", "space"], None, "Přičti"),
    ("Tab to Průměr, space", ["Tab", "space"], "Průměr zadaných čísel je 2{sep}5.", "Průměr"),
    ("space on Průměr again", ["space"], "Průměr zadaných čísel je 2{sep}5.", "Průměr"),
    ("Shift+Tab, space on Přičti with the entry empty", ["shift+Tab", "space"], REJECTED,
     "Přičti"),
    ("space on Přičti again", ["space"], REJECTED, "Přičti"),
    ("Tab, Tab to Reset, space", ["Tab", "Tab", "space"], None, "Reset"),
    ("Shift+Tab, space on Průměr", ["shift+Tab", "space"],
     "Zatím jsi nezadal žádná čísla!", "Průměr"),
    ("adds 1e308 twice: the overflow box",
     ["shift+Tab", "shift+Tab", "1", "e", "3", "0", "8", "Tab", "space", "shift+Tab",
      "1", "e", "3", "0", "8", "Tab", "space"], OVERFLOW_BOX[1], None),
    # With no window manager on the test display nothing gives the main window the keyboard
    # focus back once the box has gone, so where it lands is not this row's to check.
    ("Return closes the box", ["Return"], None, None),
    ("back to the main window, Ctrl+K", ["focus " + MAIN_TITLE, "ctrl+k"], KONEC_BOX[1], None),
]


class ScreenReaderTest(KalvetTestCase):
    def setUp(self):
        self.orca = Orca(Context.session, Context.locale)
        self.addCleanup(self.orca.stop)
        self.orca.start()
        self.orca.wait_quiet(0)
        super().setUp()

    def press(self, key):
        """One key or a window focus; returns when Orca has fallen silent after it."""
        k = self.kalvet
        if key.startswith("focus "):
            title = key.split(" ", 1)[1]
            k.x.focus(k.x.wait_for_window(k.pid, title))
        else:
            xwin.press_keys(k.x.display_name, key)
        return self.orca.wait_quiet(self.orca.mark(), quiet=0.8)

    def focused(self):
        k = self.kalvet
        controls = {"entry": k.entry, **k.buttons}
        return [name for name, control in controls.items()
                if k.screen.has_state(control, pyatspi.STATE_FOCUSED)]

    def test_every_message_is_spoken_once_after_its_command(self):
        sep = self.separator()
        transcript = []
        failures = []
        for action, keys, expected, focus in SCENARIO:
            mark = self.orca.mark()
            pressed = None
            for key in keys:
                pressed = datetime.datetime.now()
                self.press(key)
            spoken = self.orca.since(mark)
            texts = [u.text for u in spoken]
            transcript.append(f"{action}: {' | '.join(texts)}")
            if expected is not None:
                expected = expected.replace("{sep}", sep)
                hits = [u for u in spoken if expected in u.text]
                if len(hits) != 1:
                    failures.append(f"{action}: {expected!r} spoken {len(hits)} times in {texts}")
                else:
                    delay = (hits[0].when - pressed).total_seconds()
                    print(f"  {action}: spoken {delay * 1000:.0f} ms after the last key",
                          file=sys.stderr)
            else:
                heard = [t for t in texts if any(m in t for m in MESSAGES)]
                if heard:
                    failures.append(f"{action}: no message expected, heard {heard}")
            if focus is not None and self.focused() != [focus]:
                failures.append(f"{action}: focus on {self.focused()}, expected {focus!r}")
        print("\n--- what Orca said ---\n" + "\n".join(transcript), file=sys.stderr)
        if Context.artifacts:
            with open(os.path.join(Context.artifacts, "transcript.txt"), "w",
                      encoding="utf-8") as out:
                out.write("\n".join(transcript) + "\n")
        self.assertEqual(failures, [])


if __name__ == "__main__":
    sys.exit(runner.main())

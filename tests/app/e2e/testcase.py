"""The base of every end-to-end test: a fresh copy of the program for each test."""

import sys
import unittest

from .kalvet import Kalvet
from .runner import Context


class KalvetTestCase(unittest.TestCase):
    def program_changes(self):
        """How the program's environment differs from the usual one in this test case."""
        return None

    def setUp(self):
        self.kalvet = Kalvet(Context.session, Context.screen, Context.x, Context.program,
                             Context.locale, self.program_changes())
        # Runs after tearDown, and also when setUp fails after this point.
        self.addCleanup(self._stop_and_report)
        self.kalvet.attach()

    def environment(self):
        """More environment variables for the program (a desktop theme, a scale factor)."""
        return {}

    def _stop_and_report(self):
        if self.kalvet.running():
            self.kalvet.stop()
        log = self.kalvet.child.log().strip()
        if log:
            print(f"\n--- output of kalvet (pid {self.kalvet.pid}) ---\n{log}", file=sys.stderr)

    @staticmethod
    def separator():
        return Context.decimal_separator()

    def assert_shows(self, label, entry, after):
        """The label and the entry box read as expected. Read at once: every step waits until
        the program has handled it."""
        k = self.kalvet
        self.assertEqual((label, entry), (k.label_text(), k.entry_text()),
                         f"label and entry box after {after}")

    def assert_icon_shows(self, window, colours):
        """The window carries a 32x32 icon in which each named colour covers at least 5 %."""
        icons = self.kalvet.x.icons(window)
        self.assertIn((32, 32), icons, f"icon sizes {list(icons)}")
        shares = icons[(32, 32)].shares(colours)
        for name, share in shares.items():
            self.assertGreaterEqual(share, 0.05, f"{name} in the icon: {shares}")

    def assert_ends_with_status_0(self):
        status = self.kalvet.wait_exit()
        self.assertEqual(status, 0, "exit status")

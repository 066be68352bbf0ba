"""Runs a module of end-to-end tests on one private desktop.

Usage: /usr/bin/python3 test_x.py --program PATH --locale NAME [--artifacts DIR] [TEST ...]
where a TEST names a test case or method, e.g. MainWindowTest.test_reset_starts_over.

The desktop is started once for the module and stopped on every way out: normal end,
failure, SIGTERM or SIGINT from CTest or the user, and the module's own overall deadline,
which fires before CTest's timeout so that the clean-up still runs.
"""

import argparse
import locale as pylocale
import os
import signal
import sys
import unittest

from .session import DesktopSession


class Aborted(KeyboardInterrupt):
    """Raised by a signal; a KeyboardInterrupt, so that unittest lets it through."""


class Context:
    """What the tests of a module share: the desktop, the program's path and the locale."""

    session = None
    screen = None
    x = None
    program = None
    locale = None
    artifacts = None

    @classmethod
    def decimal_separator(cls):
        return {"C": ".", "C.UTF-8": ".", "cs_CZ.UTF-8": ","}[cls.locale]


def _abort(signum, _frame):
    raise Aborted(f"stopped by signal {signal.Signals(signum).name}")


def _check_locale(name):
    """The program would silently fall back to "C" under a locale that is not installed."""
    try:
        pylocale.setlocale(pylocale.LC_ALL, name)
    except pylocale.Error:
        sys.exit(f"The locale {name} is not installed; generate it with: "
                 f"localedef -i {name.split('.')[0]} -f UTF-8 {name}")
    finally:
        pylocale.setlocale(pylocale.LC_ALL, "C")


def main(overall_timeout=240):
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--locale", required=True, choices=["C", "C.UTF-8", "cs_CZ.UTF-8"])
    parser.add_argument("--artifacts", default=None)
    args, rest = parser.parse_known_args()
    if not os.access(args.program, os.X_OK):
        sys.exit(f"no program at {args.program}")
    _check_locale(args.locale)

    signal.signal(signal.SIGTERM, _abort)
    signal.signal(signal.SIGINT, _abort)
    signal.signal(signal.SIGALRM, _abort)
    signal.alarm(overall_timeout)

    Context.program = args.program
    Context.locale = args.locale
    Context.artifacts = args.artifacts
    if args.artifacts:
        os.makedirs(args.artifacts, exist_ok=True)

    main_module = sys.modules["__main__"]
    try:
        with DesktopSession() as session:
            from .a11y import Screen  # needs the private buses in the environment
            from .xwin import XDesktop

            Context.session = session
            Context.screen = Screen(session.a11y_address)
            Context.x = XDesktop(session.display)
            try:
                suite = unittest.defaultTestLoader.loadTestsFromModule(main_module)
                if rest:
                    suite = unittest.defaultTestLoader.loadTestsFromNames(rest, main_module)
                result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
            finally:
                Context.x.close()
                Context.screen.close()
    except Aborted as reason:
        print(f"aborted: {reason}", file=sys.stderr)
        return 2
    finally:
        signal.alarm(0)
    failed = len(result.failures) + len(result.errors)
    print(f"{result.testsRun - failed} passed, {failed} failed")
    return 0 if result.wasSuccessful() and result.testsRun > 0 else 1

#!/usr/bin/python3
"""Soak benchmark: the program's resident memory over a long session. 2,000 numbers are added
through the real window (entry box and "Přičti"), then the colour-scheme window is brought up
with "Skiny" and left with "Odejít" 200 times; VmRSS (/proc/PID/status) is printed at the
start, after the additions and every 50 rounds.

    /usr/bin/python3 bench/app/soak.py --program build/release/app/kalvet [--locale cs_CZ.UTF-8]
        [--additions 2000] [--rounds 200]

The program runs on the end-to-end tests' private desktop (Xvfb, D-Bus session and
accessibility bus), driven through the accessibility bus as they drive it, so its
accessibility bridge is at work throughout as it is under a screen reader. The growth per
round is taken between the tenth round and the last, after the caches that fill once (fonts,
styles, the first window's pixmaps) have filled. Nothing here fails on the figures.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "app"))

from e2e.session import DesktopSession  # noqa: E402

SETTLE_SECONDS = 0.5


def settled_kib(kalvet):
    """VmRSS once the program has handled what it was sent and is idle again."""
    time.sleep(SETTLE_SECONDS)
    return kalvet.resident_kib()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", required=True, help="the kalvet executable")
    parser.add_argument("--locale", default="C", choices=["C", "C.UTF-8", "cs_CZ.UTF-8"])
    parser.add_argument("--additions", type=int, default=2000)
    parser.add_argument("--rounds", type=int, default=200)
    args = parser.parse_args()

    with DesktopSession() as session:
        from e2e.a11y import Screen  # needs the private buses in the environment
        from e2e.kalvet import Kalvet
        from e2e.xwin import XDesktop

        screen, x = Screen(session.a11y_address), XDesktop(session.display)
        try:
            kalvet = Kalvet(session, screen, x, os.path.abspath(args.program), args.locale).attach()
            figures = [("at start", settled_kib(kalvet))]
            started = time.monotonic()
            step = max(1, args.additions // 4)
            added = 0
            while added < args.additions:
                batch = min(step, args.additions - added)
                kalvet.add_numbers(batch)
                added += batch
                figures.append((f"after {added} additions", settled_kib(kalvet)))
            added_in = time.monotonic() - started
            kalvet.choose("Počet zadaných čísel")
            print(f"label after the additions: {kalvet.label_text()!r}")
            after_additions = figures[-1][1]
            warm_round = min(10, args.rounds)
            started = time.monotonic()
            for done in range(1, args.rounds + 1):
                kalvet.scheme_window_round()
                if done == warm_round or done % 50 == 0 or done == args.rounds:
                    figures.append((f"after {done} rounds", settled_kib(kalvet)))
            rounds_in = time.monotonic() - started
            kalvet.stop()
        finally:
            x.close()
            screen.close()

    print(f"VmRSS of kalvet ({args.locale}), in KiB; {args.additions} additions took "
          f"{added_in:.1f} s, {args.rounds} rounds {rounds_in:.1f} s:")
    for what, kib in figures:
        print(f"  {what:28s} {kib:8d} KiB  ({kib - figures[0][1]:+d} from the start)")
    after_warm = dict(figures).get(f"after {warm_round} rounds", after_additions)
    per_round = (figures[-1][1] - after_warm) / max(1, args.rounds - warm_round)
    print(f"  growth: additions {after_additions - figures[0][1]:+d} KiB, "
          f"rounds {figures[-1][1] - after_additions:+d} KiB in all, "
          f"{per_round:+.1f} KiB a round after round {warm_round}; "
          f"whole session {figures[-1][1] - figures[0][1]:+d} KiB")
    return 0


if __name__ == "__main__":
    sys.exit(main())

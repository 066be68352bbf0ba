#!/usr/bin/python3
"""Huge-paste benchmark: how long the main window takes to show a 10 MB paste (or drop) and to
answer "Přičti" on it, how long it stops answering meanwhile, and how much memory it takes and
gives back, with the accessibility bus on (a screen reader attached) and off.

    /usr/bin/python3 bench/app/paste.py --program build/release/app/kalvet [--runs 3]
        [--a11y on|off|both] [--locale C|cs_CZ.UTF-8] [--size BYTES] [--case NAME ...]
        [--drag-source build/release/bench/app/drag_source] [--method paste|drop|both]
        [--perf DIR]

The program runs on a private Xvfb display (no window manager), with a D-Bus session bus and,
for "a11y on", the accessibility bus with the program's bridge switched on and a stand-in for
a screen reader attached: it listens for text changes, caret moves and focus changes (without
a listener the program sends no text events at all) and, as a screen reader presents the line
at the caret, reads that line after every caret move. Each run starts a fresh program and:
  1. clicks "Průměr", so that the message label holds a text, then clicks into the entry box;
  2. puts the case's text on the clipboard (xclip owns the CLIPBOARD selection) and presses
     Ctrl+V: "paste -> shown" is the time until the entry box shows a picture other than
     the two of its blinking cursor before the paste, "paste -> answering" the time until
     the window has answered a ping sent after that;
     with --method drop, the text is dragged instead from a window of drag_source (a Qt
     program offering it as text/plain over XDND) onto the entry box, and the times run from
     letting go of the button;
  3. clicks "Přičti": "click -> answer" is the time until the label's pixels change, or until
     a message box is mapped (10 MB of digits is too large a number: the overflow box);
  4. clicks "Reset": "peak memory" is the program's VmHWM by then, "memory at start" its
     VmRSS before the paste and "memory after Reset" its VmRSS a second after Reset;
  5. all along, sends the window a _NET_WM_PING every 20 ms and times each answer: "longest
     unanswered" is the longest a ping waited, which is how long the window stopped
     answering its window manager (a desktop greys out or offers to kill a window after a
     few seconds of this).
The clicks and keys go through XTest (xdotool); the times are those at which this client saw
the change, polled every 10 ms. Figures are medians over the runs with min and max; nothing
here asserts on time. --perf DIR records each run with `perf record -g` from just before the
paste until the answer and writes the hottest functions to DIR.
"""

import argparse
import os
import select
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "app"))

from Xlib import X, Xatom, display as xdisplay, protocol  # noqa: E402

from e2e import xwin  # noqa: E402
from e2e.kalvet import MAIN_CLIENT_AREA, MAIN_CONTROL_PLACES, MAIN_TITLE, screen_places  # noqa: E402
from e2e.session import DesktopSession  # noqa: E402

SIZE = 10_000_000


def cases(size):
    """Name -> the clipboard's text, each of exactly size characters."""
    return {
        "digits": ("1234567890" * (size // 10 + 1))[:size],
        "letters after 5": "5" + "a" * (size - 1),
        "blanks before 7": " " * (size - 1) + "7",
        "0.000...1": "0." + "0" * (size - 3) + "1",
    }


GIVE_UP = 120.0  # seconds any one phase may take before the run is reported as stuck
PING_INTERVAL = 0.02
POLL_INTERVAL = 0.01
SETTLE = 0.5  # how long to keep pinging after the answer
BLINK_SECONDS = 1.2  # longer than the text cursor's blink period


class Stuck(Exception):
    pass


class Probe:
    """Pings the window, watches for new top-level windows and looks at screen regions."""

    def __init__(self, display_name):
        self.dpy = xdisplay.Display(display_name)
        self.root = self.dpy.screen().root
        # Pings are answered to the root window with StructureNotify | SubstructureRedirect.
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask | X.StructureNotifyMask)
        self.wm_protocols = self.dpy.intern_atom("WM_PROTOCOLS")
        self.net_wm_ping = self.dpy.intern_atom("_NET_WM_PING")
        self.clipboard = self.dpy.intern_atom("CLIPBOARD")
        self.dpy.sync()
        self.window = None
        self.sent = {}  # ping serial -> time sent
        self.answered = []  # (time sent, how long it waited) of each answered ping
        self.serial = 1
        self.last_ping = 0.0
        self.mapped = []  # (time, window id) of top-level windows mapped since reset()

    def close(self):
        self.dpy.close()

    def reset(self):
        self.sent.clear()
        self.answered = []
        self.mapped = []

    def ping(self):
        now = time.monotonic()
        self.serial += 1
        event = protocol.event.ClientMessage(
            window=self.window, client_type=self.wm_protocols,
            data=(32, [self.net_wm_ping, self.serial, self.window.id, 0, 0]))
        self.window.send_event(event, event_mask=X.NoEventMask)
        self.dpy.flush()
        self.sent[self.serial] = now
        self.last_ping = now

    def pump(self, timeout):
        """Sends pings that are due and takes in events for up to timeout seconds."""
        end = time.monotonic() + timeout
        while True:
            now = time.monotonic()
            if self.window is not None and now - self.last_ping >= PING_INTERVAL:
                self.ping()
            while self.dpy.pending_events():
                self._handle(self.dpy.next_event())
            remaining = end - time.monotonic()
            if remaining <= 0:
                return
            select.select([self.dpy.fileno()], [], [], min(remaining, PING_INTERVAL))

    def _handle(self, event):
        now = time.monotonic()
        if event.type == X.ClientMessage and event.client_type == self.wm_protocols:
            fmt, data = event.data
            if data[0] == self.net_wm_ping and data[1] in self.sent:
                sent = self.sent.pop(data[1])
                self.answered.append((sent, now - sent))
        elif event.type == X.MapNotify and not event.override:
            self.mapped.append((now, event.window.id))

    def longest_unanswered(self):
        now = time.monotonic()
        outstanding = [now - t for t in self.sent.values()]
        return max([wait for _, wait in self.answered] + outstanding, default=0.0)

    def answering_since(self, moment):
        """Whether a ping sent at or after moment has been answered."""
        return any(sent >= moment for sent, _ in self.answered)

    def pixels(self, rect):
        x, y, w, h = rect
        return bytes(self.root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF).data)

    def looks_of(self, rect, seconds):
        """Every picture a screen region shows over some seconds (the blinking cursor's)."""
        looks = set()
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            looks.add(self.pixels(rect))
            self.pump(POLL_INTERVAL)
        return looks

    def wait_until(self, condition, what, limit=GIVE_UP):
        start = time.monotonic()
        while not condition():
            if time.monotonic() - start > limit:
                raise Stuck(f"no {what} within {limit:g} s")
            self.pump(POLL_INTERVAL)
        return time.monotonic()

    def clipboard_owned(self):
        return self.dpy.get_selection_owner(self.clipboard) != X.NONE


def click(display_name, rect):
    x, y, w, h = rect
    xwin.click(display_name, x + w // 2, y + h // 2)


class Perf:
    def __init__(self, directory, name, pid):
        self.report = os.path.join(directory, f"{name}.txt")
        self.data = os.path.join(directory, f"{name}.data")
        self.proc = subprocess.Popen(
            ["perf", "record", "--call-graph", "dwarf,32768", "-F", "199", "-o", self.data, "-p", str(pid)],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        time.sleep(0.5)  # perf attaches

    def finish(self):
        self.proc.send_signal(2)
        self.proc.wait(timeout=60)
        with open(self.report, "w") as out:
            subprocess.run(["perf", "report", "-i", self.data, "--stdio", "--no-children",
                            "--percent-limit", "1", "-g", "none", "--sort", "dso,symbol"],
                           stdout=out, stderr=subprocess.DEVNULL, check=False)
        return self.report


def memory_mb(pid, field):
    """VmRSS or VmHWM of a process, in MB."""
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1]) / 1024
    return float("nan")


def drag_and_drop(session, source_pid, target):
    """Presses the mouse on the drag source's window, moves it onto the target in a few steps
    and lets go; returns the time it let go."""
    xdesk = xwin.XDesktop(session.display)
    try:
        source = xdesk.wait_for_window(source_pid, "Drag source", 30.0)
    finally:
        xdesk.close()
    start_x, start_y = source.x + source.width // 2, source.y + source.height // 2
    x, y, w, h = target
    end_x, end_y = x + w - 10, y + h // 2
    xwin.run_xdotool(session.display, ["mousemove", str(start_x), str(start_y), "mousedown", "1"])
    time.sleep(0.3)
    for step in range(1, 6):
        xwin.run_xdotool(session.display, [
            "mousemove", str(start_x + (end_x - start_x) * step // 5),
            str(start_y + (end_y - start_y) * step // 5)])
        time.sleep(0.1)
    time.sleep(0.3)
    let_go = time.monotonic()
    xwin.run_xdotool(session.display, ["mouseup", "1"])
    return let_go


def measure(session, probe, program, locale, a11y, text_file, perf_dir, label, drag_source=None):
    env = session.program_environment(locale)
    if not a11y:
        for name in ("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "QT_ACCESSIBILITY"):
            env.pop(name, None)
    places = screen_places(MAIN_CLIENT_AREA, MAIN_CONTROL_PLACES)
    probe.window = None
    probe.reset()
    kalvet = session.start_helper("kalvet", [program], env)
    clip = None
    perf = None
    result = {}
    try:
        xdesk = xwin.XDesktop(session.display)
        try:
            top = xdesk.wait_for_window(kalvet.pid, MAIN_TITLE, 30.0)
            probe.window = probe.dpy.create_resource_object("window", top.id)
            xdesk.focus(top)
        finally:
            xdesk.close()
        probe.pump(0.3)
        blank_label = probe.pixels(places["label"])
        click(session.display, places["Průměr"])
        probe.wait_until(lambda: probe.pixels(places["label"]) != blank_label, "label text")
        click(session.display, places["entry"])
        probe.pump(0.2)
        label_before = probe.pixels(places["label"])
        entry_before = probe.looks_of(places["entry"], BLINK_SECONDS)

        result["memory at start"] = memory_mb(kalvet.pid, "VmRSS")
        if drag_source:
            clip = session.start_helper("drag-source", [drag_source, text_file],
                                        session.base_environment())
        else:
            clip = session.start_helper(
                "xclip", ["xclip", "-quiet", "-selection", "clipboard", "-loops", "1", "-i",
                          text_file], session.base_environment())
            probe.wait_until(probe.clipboard_owned, "clipboard owner", 10.0)
        if perf_dir:
            perf = Perf(perf_dir, label, kalvet.pid)
        probe.pump(0.2)
        probe.reset()

        if drag_source:
            start = drag_and_drop(session, clip.pid, places["entry"])
        else:
            start = time.monotonic()
            xwin.press_keys(session.display, "ctrl+v")
        shown = probe.wait_until(lambda: probe.pixels(places["entry"]) not in entry_before,
                                 "pasted text in the entry box")
        result["paste -> shown"] = shown - start
        probe.wait_until(lambda: probe.answering_since(shown), "answer to a ping after the paste")
        result["paste -> answering"] = time.monotonic() - start
        paste_wait = probe.longest_unanswered()
        probe.reset()

        clicked = time.monotonic()
        click(session.display, places["Přičti"])
        answered = probe.wait_until(
            lambda: probe.mapped or probe.pixels(places["label"]) != label_before,
            "new label text or message box")
        result["click -> answer"] = answered - clicked
        result["answer"] = "box" if probe.mapped else "label"
        probe.pump(SETTLE)
        settled = time.monotonic()
        probe.wait_until(lambda: probe.answering_since(settled), "answer to a ping after the click")
        result["longest unanswered"] = max(paste_wait, probe.longest_unanswered())
        result["peak memory"] = memory_mb(kalvet.pid, "VmHWM")
        if probe.mapped:  # the overflow box: its OK button has the focus
            xwin.press_keys(session.display, "Return")
        click(session.display, places["Reset"])
        probe.pump(1.0)
        result["memory after Reset"] = memory_mb(kalvet.pid, "VmRSS")
    except Stuck as reason:
        result["stuck"] = str(reason)
        result["longest unanswered"] = probe.longest_unanswered()
    finally:
        if perf:
            result["perf"] = perf.finish()
        kalvet.stop()
        if clip:
            clip.stop()
    return result


def screen_reader():
    """The stand-in for a screen reader; runs until it is stopped."""
    import pyatspi

    def present(event):
        try:
            if event.type.startswith("object:text-caret-moved"):
                event.source.queryText().getTextAtOffset(event.detail1,
                                                         pyatspi.TEXT_BOUNDARY_LINE_START)
        except Exception:  # noqa: BLE001 - the object went away; a screen reader carries on
            pass

    pyatspi.Registry.registerEventListener(
        present, "object:text-changed", "object:text-caret-moved", "object:state-changed:focused")
    pyatspi.Registry.start()


def figure(values):
    values = [v * 1000 for v in values]
    if not values:
        return "n/a"
    return (f"{statistics.median(values):9.0f} ms  (min {min(values):.0f}, "
            f"max {max(values):.0f})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", required=True, help="the kalvet executable")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--a11y", choices=["on", "off", "both"], default="both")
    parser.add_argument("--locale", default="C.UTF-8")
    parser.add_argument("--size", type=int, default=SIZE, help="characters in each paste")
    parser.add_argument("--case", action="append", default=[], help="run only these cases")
    parser.add_argument("--perf", metavar="DIR", help="profile each run with perf into DIR")
    parser.add_argument("--drag-source", help="the drag_source program, for drops")
    parser.add_argument("--method", choices=["paste", "drop", "both"], default=None,
                        help="paste with Ctrl+V, drop from drag_source, or both (the default "
                             "with --drag-source)")
    parser.add_argument("--screen-reader", action="store_true", help=argparse.SUPPRESS)
    if "--screen-reader" in sys.argv:
        return screen_reader()
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    method = args.method or ("both" if args.drag_source else "paste")
    if method != "paste" and not args.drag_source:
        parser.error("--method drop needs --drag-source")
    methods = {"paste": [None], "drop": [os.path.abspath(args.drag_source or "")],
               "both": [None, os.path.abspath(args.drag_source or "")]}[method]
    texts = cases(args.size)
    chosen = args.case or list(texts)
    settings = {"on": [True], "off": [False], "both": [False, True]}[args.a11y]
    if args.perf:
        os.makedirs(args.perf, exist_ok=True)

    print(f"Pasting (and dropping) {args.size:,} characters into the entry box, then Přičti; "
          f"{args.runs} runs each, locale {args.locale}:")
    with tempfile.TemporaryDirectory(prefix="kalvet-paste-") as tmp:
        for a11y in settings:
            with DesktopSession(accessibility_bus=a11y) as session:
                if a11y:
                    session.start_helper("screen-reader", [sys.executable, __file__, "--screen-reader"],
                                         {**session.base_environment(), "PATH": "/usr/bin:/bin"})
                    time.sleep(2.0)  # registers its listeners
                probe = Probe(session.display)
                try:
                    for name in chosen:
                        text_file = os.path.join(tmp, "paste.txt")
                        with open(text_file, "w", encoding="utf-8") as out:
                            out.write(texts[name])
                        for source in methods:
                            results = []
                            how = "drop" if source else "paste"
                            for run in range(args.runs):
                                tag = (f"{name.replace(' ', '_')}-{how}-"
                                       f"a11y_{'on' if a11y else 'off'}-{run}")
                                results.append(measure(session, probe, program, args.locale,
                                                       a11y, text_file, args.perf, tag, source))
                            report(f"{name} ({how})", a11y, results)
                finally:
                    probe.close()
    return 0


def report(name, a11y, results):
    print(f"  {name!r}, accessibility bus {'on' if a11y else 'off'}:")
    for key in ("paste -> shown", "paste -> answering", "click -> answer", "longest unanswered"):
        print(f"    {key:20s} {figure([r[key] for r in results if key in r])}")
    for key in ("memory at start", "peak memory", "memory after Reset"):
        values = [r[key] for r in results if key in r]
        if values:
            print(f"    {key:20s} {statistics.median(values):9.0f} MB  "
                  f"(min {min(values):.0f}, max {max(values):.0f})")
    answers = sorted({r.get("answer", "-") for r in results})
    print(f"    answer               {', '.join(answers)}")
    for r in results:
        if "stuck" in r:
            print(f"    STUCK: {r['stuck']}")
        if "perf" in r:
            print(f"    profile: {r['perf']}")


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""Start-up benchmark: how long kalvet takes from exec until its window is mapped, and how
much memory it holds at its peak, beside xcalc (Debian's x11-apps) measured the same way in
the same run, the two started alternately.

    /usr/bin/python3 bench/app/startup.py --program build/release/app/kalvet [--runs 30]

Both programs run on a private Xvfb display of their own (no window manager). Each run:
  1. a python-xlib client that has selected SubstructureNotify on the root window takes the
     monotonic time and posix_spawn()s the program;
  2. it takes the time at which the MapNotify of the first top-level window that the new
     process created arrives ("mapped"; windows created before the spawn do not count);
  3. 0.3 s later it reads the process's peak resident set size (VmHWM in /proc/PID/status),
     sends the window a WM_DELETE_WINDOW close request, as the title bar's close box would,
     and collects the exit status and the CPU time (user + system) from wait4().
wait4()'s ru_maxrss is no measure of the program here: Linux carries into it the resident
size of the memory the child ran on before exec, which for posix_spawn (and for Python's
fork) is this benchmark's own, about 17 MiB.
The times are the receipt of the X events by the benchmark client: the clock is
time.monotonic() (nanosecond resolution); what limits them is the wake-up of the client
after the server sent the event, well below a millisecond on an idle machine.

The first runs of each program warm the page cache and are not counted. Figures are
printed as medians with the spread; nothing here asserts on time.
"""

import argparse
import os
import select
import signal
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "app"))

from Xlib import X, display as xdisplay, protocol  # noqa: E402

from e2e.session import DesktopSession  # noqa: E402

TARGET_MAP_RATIO = 0.7
TARGET_MEMORY_RATIO = 6.0
SETTLE_SECONDS = 0.3
MAP_TIMEOUT = 20.0
EXIT_TIMEOUT = 10.0


class Run:
    def __init__(self, name):
        self.name = name
        self.mapped = None  # seconds from spawn
        self.peak_rss_kib = None
        self.cpu_seconds = None
        self.status = None
        self.title = None


class Watcher:
    """An X client watching the root window for new top-level windows."""

    def __init__(self, display_name):
        self.dpy = xdisplay.Display(display_name)
        self.root = self.dpy.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.wm_protocols = self.dpy.intern_atom("WM_PROTOCOLS")
        self.wm_delete = self.dpy.intern_atom("WM_DELETE_WINDOW")
        self.dpy.sync()

    def drain(self):
        while self.dpy.pending_events():
            self.dpy.next_event()

    def next_event(self, deadline):
        """The next event, or None once the monotonic deadline has passed."""
        while not self.dpy.pending_events():
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                return None
            select.select([self.dpy.fileno()], [], [], remaining)
        return self.dpy.next_event()

    def close_request(self, window):
        event = protocol.event.ClientMessage(
            window=window, client_type=self.wm_protocols,
            data=(32, [self.wm_delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(event, event_mask=X.NoEventMask)
        self.dpy.flush()


def spawn(argv, env):
    return os.posix_spawn(argv[0], argv, env, setsid=True)


def reap(pid, timeout):
    """(exit status, user + system CPU seconds), killing the process if it outlives the
    timeout."""
    deadline = time.monotonic() + timeout
    while True:
        done, status, usage = os.wait4(pid, os.WNOHANG)
        if done:
            return os.waitstatus_to_exitcode(status), usage.ru_utime + usage.ru_stime
        if time.monotonic() > deadline:
            os.killpg(pid, signal.SIGKILL)
            _, status, usage = os.wait4(pid, 0)
            return f"killed ({os.waitstatus_to_exitcode(status)})", usage.ru_utime + usage.ru_stime
        time.sleep(0.005)


def peak_rss_kib(pid):
    """The high-water mark of the process's resident set since its exec, in KiB."""
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return None


def measure(watcher, name, argv, env):
    run = Run(name)
    watcher.drain()
    start = time.monotonic()
    pid = spawn(argv, env)
    deadline = start + MAP_TIMEOUT
    created = set()
    window = None
    try:
        while window is None:
            event = watcher.next_event(deadline)
            now = time.monotonic()
            if event is None:
                break
            if event.type == X.CreateNotify and not event.override:
                created.add(event.window.id)
            elif event.type == X.MapNotify and event.window.id in created:
                run.mapped = now - start
                window = event.window
        if window is not None:
            run.title = window.get_wm_name()
            settle_until = time.monotonic() + SETTLE_SECONDS
            while watcher.next_event(settle_until) is not None:
                pass
            run.peak_rss_kib = peak_rss_kib(pid)
            watcher.close_request(window)
    finally:
        run.status, run.cpu_seconds = reap(pid, EXIT_TIMEOUT)
    return run


def program_environment(session, extra):
    env = {"PATH": "/usr/bin:/bin", "HOME": os.environ.get("HOME", "/root"), "LC_ALL": "C.UTF-8"}
    env.update(session.base_environment())
    env.update(extra)
    return env


def summary(values, unit, scale=1.0):
    """The median as text with the spread, and the median itself."""
    values = [v * scale for v in values if v is not None]
    if not values:
        return "n/a", None
    med = statistics.median(values)
    q = statistics.quantiles(values, n=4) if len(values) >= 4 else [min(values), med, max(values)]
    spread = f"quartiles {q[0]:.1f}..{q[-1]:.1f}, min {min(values):.1f}, max {max(values):.1f}"
    return f"{med:8.1f} {unit}  ({spread})", med


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", required=True, help="the kalvet executable")
    parser.add_argument("--reference", default="/usr/bin/xcalc")
    parser.add_argument("--runs", type=int, default=30)
    parser.add_argument("--warm-up", type=int, default=2)
    parser.add_argument("--session-bus", action="store_true",
                        help="give both programs a private D-Bus session bus, as a desktop has")
    parser.add_argument("--env", action="append", default=[], metavar="NAME=VALUE",
                        help="an extra variable for kalvet (to try start-up settings)")
    parser.add_argument("--compare", action="append", default=[], metavar="NAME=PATH",
                        help="another build of kalvet measured in the same run (to try a change)")
    args = parser.parse_args()

    extra = dict(item.split("=", 1) for item in args.env)
    qt_env = {"QT_QPA_PLATFORM": "xcb", **extra}
    programs = [("kalvet", [os.path.abspath(args.program)], qt_env)]
    for item in args.compare:
        name, path = item.split("=", 1)
        programs.append((name, [os.path.abspath(path)], qt_env))
    programs.append(("xcalc", [args.reference], {}))
    runs = {name: [] for name, _, _ in programs}
    with DesktopSession(session_bus=args.session_bus, accessibility_bus=False) as session:
        watcher = Watcher(session.display)
        for index in range(args.warm_up + args.runs):
            for name, argv, env_extra in programs:
                run = measure(watcher, name, argv, program_environment(session, env_extra))
                if run.mapped is None or run.status != 0:
                    print(f"{name}: run {index} failed: mapped={run.mapped} status={run.status}",
                          file=sys.stderr)
                if index >= args.warm_up:
                    runs[name].append(run)
        watcher.dpy.close()

    print(f"Start-up on Xvfb {session.display} "
          f"({'with' if args.session_bus else 'without'} a D-Bus session bus), "
          f"{args.runs} runs each after {args.warm_up} warm-up, alternating:")
    medians = {}
    for name, _, _ in programs:
        rs = runs[name]
        ok = sum(1 for r in rs if r.status == 0 and r.mapped is not None)
        mapped, m_map = summary([r.mapped for r in rs], "ms", 1000)
        rss, m_rss = summary([r.peak_rss_kib for r in rs], "MiB", 1 / 1024)
        cpu, _ = summary([r.cpu_seconds for r in rs], "ms", 1000)
        medians[name] = (m_map, m_rss)
        titles = sorted({str(r.title) for r in rs})
        print(f"  {name:7s} window {titles}, {ok}/{len(rs)} clean runs (mapped, exit 0)")
        print(f"    exec -> mapped  {mapped}")
        print(f"    peak RSS        {rss}")
        print(f"    CPU time        {cpu}  (user + system, whole run)")
    x_map, x_rss = medians["xcalc"]
    for name, _, _ in programs[:-1]:
        k_map, k_rss = medians[name]
        if None in (k_map, x_map, k_rss, x_rss):
            print(f"  {name}: not enough clean runs for ratios")
            return 1
        map_ratio, rss_ratio = k_map / x_map, k_rss / x_rss
        print(f"  ratio {name}/xcalc: map time {map_ratio:.2f}x (target <= {TARGET_MAP_RATIO}x: "
              f"{'met' if map_ratio <= TARGET_MAP_RATIO else 'MISSED'}), "
              f"peak memory {rss_ratio:.2f}x (target <= {TARGET_MEMORY_RATIO}x: "
              f"{'met' if rss_ratio <= TARGET_MEMORY_RATIO else 'MISSED'})")
    return 0


if __name__ == "__main__":
    sys.exit(main())

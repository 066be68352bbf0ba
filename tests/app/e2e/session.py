"""A private desktop for one test run: an Xvfb display, a D-Bus session bus and the
accessibility bus, and the program under test started on them.

Every process is started here, in a process group of its own, and stopped here by its
process id; nothing is looked up or killed by name. The harness makes itself a child
subreaper, so that helpers which the buses start on their own (the accessibility registry,
activated services) are reparented to it when their parent ends and can be stopped as well.
Each started process is also told to receive SIGTERM should the harness itself die.
"""

import ctypes
import os
import select
import shutil
import signal
import subprocess
import tempfile
import time

from .waiting import Deadline, WaitTimeout, poll

_PR_SET_PDEATHSIG = 1
_PR_SET_CHILD_SUBREAPER = 36
_libc = ctypes.CDLL(None, use_errno=True)

AT_SPI_BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def _die_with_harness(harness_pid, ignore_sigpipe=False):
    """Runs in the child between fork and exec: end it when the harness ends, and with
    ignore_sigpipe, start it with SIGPIPE ignored (an ignored signal stays ignored across exec)."""

    def prepare():
        _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM)
        if os.getppid() != harness_pid:  # the harness died before prctl took effect
            os._exit(1)
        if ignore_sigpipe:
            signal.signal(signal.SIGPIPE, signal.SIG_IGN)

    return prepare


def _read_line_from_fd(fd, timeout, what):
    """Reads one line a child writes to a pipe (display number, bus address) before a deadline."""
    deadline = Deadline(timeout)
    data = b""
    while b"\n" not in data:
        ready, _, _ = select.select([fd], [], [], deadline.remaining())
        if not ready:
            raise WaitTimeout(f"timed out after {timeout:g} s waiting for {what}")
        chunk = os.read(fd, 4096)
        if not chunk:
            raise RuntimeError(f"{what}: the process closed its pipe without an answer")
        data += chunk
    return data.split(b"\n", 1)[0].decode().strip()


class Child:
    """A process the harness started, in its own process group, with its output in a log file."""

    def __init__(self, name, argv, env, log_dir, pass_fds=(), ignore_sigpipe=False):
        self.name = name
        self.log_path = os.path.join(log_dir, f"{name}.log")
        with open(self.log_path, "wb") as log:
            self.popen = subprocess.Popen(
                argv,
                env=env,
                stdin=subprocess.DEVNULL,
                stdout=log,
                stderr=subprocess.STDOUT,
                pass_fds=pass_fds,
                start_new_session=True,
                preexec_fn=_die_with_harness(os.getpid(), ignore_sigpipe),
            )
        self.pid = self.popen.pid

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout):
        """The exit status, or None if the process is still running after the timeout."""
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self, grace=3.0):
        """Ends the process and its group: SIGTERM, then SIGKILL after the grace time."""
        for sig, wait_for in ((signal.SIGTERM, grace), (signal.SIGKILL, grace)):
            if self.popen.returncode is not None:
                return self.popen.returncode
            try:
                # The leader is not reaped yet, so its id still names this group only.
                os.killpg(self.pid, sig)
            except ProcessLookupError:
                pass
            if self.wait(wait_for) is not None:
                return self.popen.returncode
        return self.popen.returncode

    def log(self):
        try:
            with open(self.log_path, "rb") as log:
                return log.read().decode(errors="replace")
        except OSError:
            return ""


def _children_of(pid):
    """Process ids whose parent is pid, read from /proc."""
    children = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat", "rb") as stat:
                fields = stat.read().rsplit(b")", 1)[1].split()
        except OSError:
            continue
        if int(fields[1]) == pid:
            children.append(int(entry))
    return children


class DesktopSession:
    """Xvfb + D-Bus session + accessibility bus. Use as a context manager; stop() is idempotent.

    After start(), os.environ of the harness points at the private display and buses, so that
    pyatspi and the X helpers imported afterwards talk to them. The buses can be left out
    (a benchmark may want the bare display); the accessibility bus needs the session bus."""

    def __init__(self, screen="1280x1024x24", start_timeout=20.0, session_bus=True,
                 accessibility_bus=True):
        self.screen = screen
        self.start_timeout = start_timeout
        self.want_session_bus = session_bus
        self.want_accessibility_bus = session_bus and accessibility_bus
        self.children = []
        self.tmp = None
        self.display = None
        self.bus_address = None
        self.a11y_address = None
        self.wayland_display = None
        self._saved_environ = None

    # -- start-up -------------------------------------------------------------------------

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def start(self):
        _libc.prctl(_PR_SET_CHILD_SUBREAPER, 1)
        self.tmp = tempfile.mkdtemp(prefix="kalvet-e2e-")
        self.runtime_dir = os.path.join(self.tmp, "runtime")
        os.mkdir(self.runtime_dir, 0o700)
        self._saved_environ = dict(os.environ)
        self._start_x_server()
        if self.want_session_bus:
            self._start_session_bus()
        if self.want_accessibility_bus:
            self._start_accessibility_bus()
        os.environ.pop("DBUS_SESSION_BUS_ADDRESS", None)
        os.environ.pop("WAYLAND_DISPLAY", None)
        os.environ.update(self.base_environment())

    def base_environment(self):
        """The variables every process on this desktop gets."""
        env = {
            "DISPLAY": self.display,
            "XDG_RUNTIME_DIR": self.runtime_dir,
            # Keeps GLib-based helpers off dconf, which would be activated on the bus otherwise.
            "GSETTINGS_BACKEND": "memory",
        }
        if self.bus_address:
            env["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address
        return env

    def _spawn(self, name, argv, env, pass_fds=(), ignore_sigpipe=False):
        child = Child(name, argv, env, self.tmp, pass_fds, ignore_sigpipe)
        self.children.append(child)
        return child

    def _plain_environment(self):
        # The sanitizers' settings reach a sanitizer build of the program under test.
        keep = ("PATH", "HOME", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS")
        env = {key: os.environ[key] for key in keep if key in os.environ}
        env["LC_ALL"] = "C.UTF-8"
        return env

    def _start_x_server(self):
        read_fd, write_fd = os.pipe()
        try:
            argv = ["Xvfb", "-displayfd", str(write_fd), "-noreset", "-nolisten", "tcp",
                    "-screen", "0", self.screen, "-dpi", "96"]
            self.xvfb = self._spawn("xvfb", argv, self._plain_environment(), pass_fds=(write_fd,))
            os.close(write_fd)
            write_fd = None
            number = _read_line_from_fd(read_fd, self.start_timeout, "Xvfb to report its display")
        finally:
            os.close(read_fd)
            if write_fd is not None:
                os.close(write_fd)
        self.display = f":{number}"

    def _start_session_bus(self):
        self.dbus, self.bus_address = self.start_bus()

    def start_bus(self, name="dbus-daemon"):
        """Starts a session bus; returns it and its address. The first is the desktop's own."""
        read_fd, write_fd = os.pipe()
        try:
            argv = ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                    f"--print-address={write_fd}"]
            env = self._plain_environment()
            env.update(DISPLAY=self.display, XDG_RUNTIME_DIR=self.runtime_dir,
                       GSETTINGS_BACKEND="memory")
            bus = self._spawn(name, argv, env, pass_fds=(write_fd,))
            os.close(write_fd)
            write_fd = None
            return bus, _read_line_from_fd(read_fd, self.start_timeout,
                                           "dbus-daemon to report its address")
        finally:
            os.close(read_fd)
            if write_fd is not None:
                os.close(write_fd)

    def _start_accessibility_bus(self):
        env = self._plain_environment()
        env.update(self.base_environment())
        self.a11y = self._spawn("at-spi-bus-launcher",
                                [AT_SPI_BUS_LAUNCHER, "--launch-immediately", "--a11y=1"], env)
        # Ask without auto-starting anything: the launcher owns org.a11y.Bus once its bus is up.
        from gi.repository import Gio, GLib  # after the address is known

        connection = Gio.DBusConnection.new_for_address_sync(
            self.bus_address,
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)

        def owned():
            if not self.a11y.running():
                raise RuntimeError("at-spi-bus-launcher ended:\n" + self.a11y.log())
            reply = connection.call_sync(
                "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                "NameHasOwner", GLib.Variant("(s)", ("org.a11y.Bus",)),
                GLib.VariantType("(b)"), Gio.DBusCallFlags.NO_AUTO_START, 2000, None)
            return reply.unpack()[0]

        poll(owned, self.start_timeout, "the accessibility bus launcher to own org.a11y.Bus")
        self.a11y_address = connection.call_sync(
            "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
            GLib.VariantType("(s)"), Gio.DBusCallFlags.NO_AUTO_START, 5000, None).unpack()[0]
        connection.close_sync(None)

    def start_wayland(self):
        """Starts a headless Weston beside the X server (once) and returns the name of its
        socket in this desktop's runtime directory. Nothing is drawn: Weston's headless
        back-end keeps no picture, it only takes the clients' windows, input and buffers."""
        if self.wayland_display:
            return self.wayland_display
        name = "wayland-kalvet"
        env = self._plain_environment()
        env.update(XDG_RUNTIME_DIR=self.runtime_dir)
        weston = self._spawn("weston", ["weston", "--backend=headless-backend.so", "--no-config",
                                        f"--socket={name}", "--idle-time=0"], env)

        def listening():
            if not weston.running():
                raise RuntimeError("weston ended:\n" + weston.log())
            return os.path.exists(os.path.join(self.runtime_dir, name))

        poll(listening, self.start_timeout, "weston to open its socket")
        self.wayland_display = name
        return name

    # -- the program under test -----------------------------------------------------------

    def program_environment(self, locale):
        env = self._plain_environment()
        env.update(self.base_environment())
        env.update(
            LC_ALL=locale,
            QT_QPA_PLATFORM="xcb",
            QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
            QT_ACCESSIBILITY="1",
        )
        return env

    def start_program(self, argv, locale, name="program", changes=None):
        """changes: variables to set on top of the usual ones; a value of None removes one."""
        env = self.program_environment(locale)
        for key, value in (changes or {}).items():
            if value is None:
                env.pop(key, None)
            else:
                env[key] = value
        return self._spawn(name, list(argv), env)

    def start_helper(self, name, argv, env, ignore_sigpipe=False):
        """Starts another process on this desktop (a clipboard owner, a program under a
        benchmark's own environment); it is stopped with the session."""
        return self._spawn(name, list(argv), env, ignore_sigpipe=ignore_sigpipe)

    # -- shut-down ------------------------------------------------------------------------

    def stop(self):
        for child in reversed(self.children):
            child.stop()
        self._stop_orphans()
        self.children = []
        if self._saved_environ is not None:
            os.environ.clear()
            os.environ.update(self._saved_environ)
            self._saved_environ = None
        if self.tmp:
            shutil.rmtree(self.tmp, ignore_errors=True)
            self.tmp = None

    def _stop_orphans(self, timeout=5.0):
        """Ends descendants that were reparented to the harness (it is their subreaper)."""
        deadline = Deadline(timeout)
        known = {child.pid for child in self.children}
        sig = signal.SIGTERM
        while True:
            orphans = [pid for pid in _children_of(os.getpid()) if pid not in known]
            if not orphans:
                return
            for pid in orphans:
                try:
                    os.kill(pid, sig)
                except ProcessLookupError:
                    pass
            while not deadline.expired():
                reaped_all = True
                for pid in orphans:
                    try:
                        done, _ = os.waitpid(pid, os.WNOHANG)
                    except ChildProcessError:
                        continue
                    if done == 0:
                        reaped_all = False
                if reaped_all:
                    break
                time.sleep(0.02)
            if deadline.expired():
                if sig == signal.SIGKILL:
                    return
                sig = signal.SIGKILL
                deadline = Deadline(2.0)

    def logs(self):
        """Everything the started processes printed, for a failure report."""
        return "\n".join(f"--- {child.name} (pid {child.pid}) ---\n{child.log()}"
                         for child in self.children)

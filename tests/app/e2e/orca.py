"""The screen reader Orca on the test desktop, and what it speaks.

Orca runs on the desktop's own session bus and accessibility bus, with a throwaway home of its
own, and talks to a Speech Dispatcher that the harness starts beside it. Speech Dispatcher
stops answering when it finds no sound device, so its audio goes to libao's null driver:
espeak-ng still synthesises every utterance, and nobody hears it.

What Orca speaks is read from its debug log, which it writes to the slave side of a
pseudo-terminal: Python writes a terminal a line at a time, where a file would be written in
blocks at Orca's leisure. A thread reads the master side and keeps the "SPEECH OUTPUT" lines,
with the time Orca stamped on each.
"""

import datetime
import os
import re
import threading

from .waiting import poll

START_TIMEOUT = 60.0  # Orca loads its scripts and reads the whole desktop at start
# Orca refuses to start while any other Orca of the same user runs on the machine, in another
# session or another chroot as well; so long, at most, the harness waits for such one to end.
OTHER_ORCA_TIMEOUT = 120.0

# Orca's debug line for an utterance: its time stamp, then the text in quotes, then the voice.
_SPEECH = re.compile(r"^(\d\d):(\d\d):(\d\d)\.(\d{6}) - SPEECH OUTPUT: '(.*)'(?:\s*\{.*\})?$")
# Orca's last step of its start-up, from which on it presents events: Orca 43 (Debian 12) logs
# the first line, Orca 48 (Debian 13) the second.
_READY = ("ORCA: Starting registry", "ORCA: Starting Atspi main event loop")

_SPEECHD_CONF = """\
AudioOutputMethod "libao"
DefaultModule espeak-ng-null
AddModule "espeak-ng-null" "sd_generic" "espeak-ng-null.conf"
LogLevel 2
"""

# espeak-ng through Speech Dispatcher's generic module, writing its sound nowhere.
_MODULE_CONF = """\
GenericExecuteSynth "espeak-ng -v $VOICE -s $RATE -a $VOLUME -p $PITCH --stdout -- '$DATA' >/dev/null"
GenericCmdDependency "espeak-ng"
GenericLanguage "en" "en" "utf-8"
GenericLanguage "cs" "cs" "utf-8"
AddVoice "en" "MALE1" "en"
AddVoice "cs" "MALE1" "cs"
GenericRateAdd 80
GenericRateMultiply 1
GenericVolumeAdd 100
GenericVolumeMultiply 1
GenericPitchAdd 50
GenericPitchMultiply 1
"""


def _other_orcas():
    """Process ids of Orca processes of this user, as Orca itself looks for them (by name)."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/comm", "rb") as comm:
                name = comm.read().strip()
            owner = os.stat(f"/proc/{entry}").st_uid
        except OSError:
            continue
        if name == b"orca" and owner == os.getuid():
            found.append(int(entry))
    return found


class Utterance:
    def __init__(self, when, text):
        self.when = when  # a datetime, as Orca stamped it
        self.text = text

    def __repr__(self):
        return f"{self.when:%H:%M:%S.%f} {self.text!r}"


class Orca:
    """Orca and Speech Dispatcher, started on a DesktopSession; stopped with it."""

    def __init__(self, session, locale):
        self.session = session
        self.locale = locale
        self.home = os.path.join(session.tmp, "orca-home")
        self.utterances = []
        self._lock = threading.Lock()
        self._ready = threading.Event()
        self._master = None
        self._slave = None
        self._reader = None
        self.debug_log = os.path.join(session.tmp, "orca-debug.log")

    def start(self):
        poll(lambda: not _other_orcas(), OTHER_ORCA_TIMEOUT,
             "other Orca processes of this user (it starts only one per user) to end")
        env = self._environment()
        self._write_configuration()
        socket = os.path.join(self.session.runtime_dir, "speech-dispatcher", "speechd.sock")
        os.makedirs(os.path.dirname(socket), exist_ok=True)
        # Speech Dispatcher 0.12 always loads two modules of its own after ours, the first of
        # them "espeak-ng-fallback", whose binary (sd_espeak-ng) is not installed, and no
        # setting leaves them out. It writes to that module's pipe a moment after starting it,
        # before it ignores SIGPIPE itself, and dies if the failed exec has already closed the
        # pipe. Started with SIGPIPE ignored, it only notes the module as broken and speaks
        # through ours, its DefaultModule.
        self.speechd = self.session.start_helper(
            "speech-dispatcher",
            ["speech-dispatcher", "--run-single", "--timeout", "0",
             "--config-dir", os.path.join(self.home, ".config", "speech-dispatcher"),
             "--communication-method", "unix_socket", "--socket-path", socket,
             "--log-dir", os.path.join(self.home, "speechd-log")], env, ignore_sigpipe=True)
        poll(lambda: self._check_alive(self.speechd) and os.path.exists(socket), 20.0,
             "Speech Dispatcher to open its socket")
        env["SPEECHD_ADDRESS"] = f"unix_socket:{socket}"

        # The harness keeps the slave side open as well: with no slave open, reading the
        # master fails, and Orca opens its side by name only after a while.
        self._master, self._slave = os.openpty()
        self.orca = self.session.start_helper(
            "orca", ["orca", "--debug-file", os.ttyname(self._slave)], env)
        self._reader = threading.Thread(target=self._read_log, daemon=True)
        self._reader.start()
        poll(lambda: self._check_alive(self.orca) and self._ready.is_set(), START_TIMEOUT,
             "Orca to be ready")
        return self

    def _check_alive(self, child):
        if not child.running():
            raise AssertionError(f"{child.name} ended:\n{child.log()}")
        return True

    def _environment(self):
        env = self.session.base_environment()
        env.update(
            PATH=os.environ.get("PATH", "/usr/bin:/bin"),
            HOME=self.home,
            XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
            XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
            XDG_CACHE_HOME=os.path.join(self.home, ".cache"),
            LC_ALL=self.locale,
            LANG=self.locale,
        )
        return env

    def _write_configuration(self):
        conf = os.path.join(self.home, ".config", "speech-dispatcher")
        os.makedirs(os.path.join(conf, "modules"), exist_ok=True)
        with open(os.path.join(conf, "speechd.conf"), "w", encoding="utf-8") as out:
            out.write(_SPEECHD_CONF)
        with open(os.path.join(conf, "modules", "espeak-ng-null.conf"), "w",
                  encoding="utf-8") as out:
            out.write(_MODULE_CONF)
        with open(os.path.join(self.home, ".libao"), "w", encoding="utf-8") as out:
            out.write("default_driver=null\n")

    def _read_log(self):
        with open(self.debug_log, "wb") as copy:
            self._copy_log(copy)

    def _copy_log(self, copy):
        pending = b""
        while True:
            try:
                chunk = os.read(self._master, 65536)
            except OSError:  # the slave side closed: Orca has ended
                return
            if not chunk:
                return
            copy.write(chunk)
            copy.flush()
            pending += chunk
            *lines, pending = pending.split(b"\n")
            for raw in lines:
                self._take(raw.decode(errors="replace").rstrip("\r"))

    def _take(self, line):
        if any(ready in line for ready in _READY):
            self._ready.set()
        match = _SPEECH.match(line)
        if not match:
            return
        hours, minutes, seconds, micros, text = match.groups()
        today = datetime.date.today()
        when = datetime.datetime.combine(today, datetime.time(
            int(hours), int(minutes), int(seconds), int(micros)))
        with self._lock:
            self.utterances.append(Utterance(when, text))

    # -- what was spoken ------------------------------------------------------------------

    def mark(self):
        """A position in what was spoken, for since()."""
        with self._lock:
            return len(self.utterances)

    def since(self, mark):
        with self._lock:
            return list(self.utterances[mark:])

    def wait_quiet(self, mark, quiet=1.0, timeout=10.0):
        """What was spoken since mark, once Orca has said nothing for `quiet` seconds."""
        state = {"count": -1, "since": None}

        def settled():
            now = datetime.datetime.now()
            count = self.mark()
            if count != state["count"]:
                state.update(count=count, since=now)
                return False
            return (now - state["since"]).total_seconds() >= quiet

        poll(settled, timeout, "Orca to fall silent", interval=0.05)
        return self.since(mark)

    def stop(self):
        for child in (getattr(self, "orca", None), getattr(self, "speechd", None)):
            if child is not None:
                child.stop()
        if self._slave is not None:
            os.close(self._slave)  # the reader now sees the end of the log
            self._slave = None
        if self._reader is not None:
            self._reader.join(5.0)
        if self._master is not None:
            os.close(self._master)
            self._master = None

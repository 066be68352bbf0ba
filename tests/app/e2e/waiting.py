"""Deadlines and polling: nothing in the harness waits without an upper bound."""

import time


class Deadline:
    def __init__(self, seconds):
        self.seconds = seconds
        self.end = time.monotonic() + seconds

    def remaining(self):
        return max(0.0, self.end - time.monotonic())

    def expired(self):
        return time.monotonic() >= self.end


class WaitTimeout(AssertionError):
    """A condition did not come true in time; an assertion failure, not an error of the harness."""


class GiveUp(AssertionError):
    """Raised by a probe when waiting any longer is pointless (the program has ended)."""


def poll(probe, timeout, what, interval=0.02):
    """Calls probe() until it returns something truthy and returns that.

    An exception from the probe counts as "not yet" (accessible objects come and go while a
    window opens or closes); the last one is reported if the deadline passes. GiveUp ends
    the wait at once."""
    deadline = Deadline(timeout)
    last_error = None
    last_value = None
    while True:
        try:
            last_value = probe()
            if last_value:
                return last_value
        except GiveUp:
            raise
        except Exception as error:  # noqa: BLE001 - reported below if it persists
            last_error = error
        if deadline.expired():
            detail = f"; last error: {last_error!r}" if last_error else f"; last value: {last_value!r}"
            detail = detail if len(detail) <= 300 else detail[:300] + "..."
            raise WaitTimeout(f"timed out after {timeout:g} s waiting for {what}{detail}")
        time.sleep(min(interval, deadline.remaining()) or 0.001)
        interval = min(interval * 1.5, 0.2)

"""Waiting for conditions on a busy machine: poll, never sleep for a guessed time."""

import time

DEFAULT_TIMEOUT = 30.0


class WaitTimeout(AssertionError):
    """The condition did not come true in time; an assertion failure for unittest."""


def wait_until(condition, timeout=DEFAULT_TIMEOUT, interval=0.1, what=None):
    """Calls condition until it returns a true value and returns that value.

    Raises WaitTimeout naming `what` (or the condition) and the last value seen.
    An exception raised by the condition propagates at once: conditions report
    "not yet" by returning a false value.
    """
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = condition()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise WaitTimeout("timed out after %.0f s waiting for %s (last value: %r)"
                              % (timeout, what or getattr(condition, "__name__", "a condition"), last))
        time.sleep(interval)

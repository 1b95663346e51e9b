"""Polling for what a real program shows, shared by the end-to-end scripts."""

import time


def wait_for(what, condition, timeout=10.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + what)

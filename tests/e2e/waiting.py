"""Polling for what a real program shows, and typing into it, shared by the
end-to-end scripts."""

import subprocess
import time


def wait_for(what, condition, timeout=10.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + what)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.split()


def press(window, text, *keys):
    """Types as a keyboard does, into the window given the focus first."""
    xdotool("windowfocus", "--sync", window)
    if text:
        xdotool("type", "--delay", "30", text)
    if keys:
        xdotool("key", *keys)


def boxes():
    return set(xdotool("search", "--onlyvisible", "--name", "^Decalumo$"))

"""Polling for what a real program shows, and typing into it, shared by the
end-to-end scripts."""

import os
import subprocess
import time

import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


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


def start(program, data_home):
    """The real program, reachable through the accessibility bus."""
    env = dict(os.environ, XDG_DATA_HOME=data_home, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    env.pop("QT_QPA_PLATFORM", None)
    return subprocess.Popen([program], env=env)


def answer_box(seen, keys):
    """Waits for a box titled Decalumo not in seen, types into it and sees it go."""
    new = wait_for("a box", lambda: boxes() - seen)
    seen |= new
    box = sorted(new)[0]
    press(box, keys, "Return")
    # A box that had not yet taken the keyboard when the keys came gets them again.
    for _ in range(3):
        try:
            wait_for("the box to close", lambda: box not in boxes(), timeout=3)
            return
        except AssertionError:
            press(box, "", "Return")
    raise AssertionError("a box does not close")


def application(pid):
    """The program's root in the accessibility tree, or None before it is there."""
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None

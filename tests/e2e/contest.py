#!/usr/bin/python3
"""Plays three contests with the real program on an X server, as a pupil would.

The factor of each question is read the way a screen-reader user hears it:
through the accessibility tree, from the label that follows the "X" sign.
"""
import os
import sys
import tempfile
from pathlib import Path

import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
from Xlib import X, display, protocol  # noqa: E402
from waiting import answer_box, application, boxes, press, start, wait_for, xdotool  # noqa: E402

PROGRAM = sys.argv[1]
SKIP = 77


def main_window():
    found = xdotool("search", "--onlyvisible", "--name", "DECALUMO$")
    return found[0] if found else None


class Pupil:
    all = []

    def __init__(self, data_home):
        self.seen = set()
        self.process = start(PROGRAM, data_home)
        Pupil.all.append(self)

    def answer_box(self, keys):
        answer_box(self.seen, keys)

    def labels(self):
        found = []
        app = application(self.process.pid)
        if app is not None:
            self._walk(app, found)
        return found

    # The labels change under our eyes: never trust a cached name.
    # A closed box may linger in the tree for a while: skip what is gone.
    def _walk(self, node, found):
        try:
            node.clear_cache()
            if node.get_role() == Atspi.Role.LABEL:
                found.append(node.get_name())
            count = node.get_child_count()
        except GLib.Error:
            return
        for i in range(count):
            try:
                child = node.get_child_at_index(i)
            except GLib.Error:
                continue
            if child is not None:
                self._walk(child, found)

    def label_after(self, caption):
        names = self.labels()
        return names[names.index(caption) + 1] if caption in names else None

    def factor(self):
        return int(wait_for("the factor", lambda: (self.label_after("X") or "").strip() or None))

    def verdict(self):
        names = self.labels()
        return names[names.index("X") + 2] if "X" in names else None

    def start(self, name):
        self.answer_box(name)
        self.answer_box("")
        self.window = wait_for("the window", main_window)
        wait_for("the first question", lambda: self.verdict() == "")

    def answer(self, text, expected):
        press(self.window, text, "Return")
        wait_for("the verdict " + expected, lambda: (self.verdict() or "").startswith(expected))

    def next_question(self):
        press(self.window, "", "Return")
        wait_for("a new question", lambda: self.verdict() == "")

    def ends_with(self, status):
        code = self.process.wait(timeout=15)
        assert code == status, f"exit status {code}, expected {status}"


def stored(data_home):
    return [Path(data_home, "decalumo", f).read_bytes() for f in ("aquorvanti.txt", "nquorvanti.txt")]


def contest(data_home):
    pupil = Pupil(data_home)
    pupil.start("Luca")
    for _ in range(3):
        pupil.answer(str(10 * pupil.factor()), "Esatto. Sei forte!!!")
        pupil.next_question()
    pupil.answer(str(10 * pupil.factor() + 1), "Sbagliato!! ")
    assert "Risposte esatte 3" in pupil.labels(), pupil.labels()
    assert "Risposte totali 4" in pupil.labels(), pupil.labels()
    press(pupil.window, "", "alt+x")
    pupil.answer_box("")  # the goodbye
    pupil.answer_box("")  # the new record
    pupil.ends_with(0)


def record_shown(data_home):
    pupil = Pupil(data_home)
    pupil.start("Anna")
    assert "Il record è di Luca" in pupil.labels(), pupil.labels()
    assert "con punti 3" in pupil.labels(), pupil.labels()
    press(pupil.window, "", "alt+x")
    pupil.answer_box("")
    pupil.ends_with(0)


def close_box(data_home):
    pupil = Pupil(data_home)
    pupil.start("Marta")
    pupil.answer(str(10 * pupil.factor()), "Esatto. Sei forte!!!")
    screen = display.Display()
    window = screen.create_resource_object("window", int(pupil.window))
    protocols = screen.intern_atom("WM_PROTOCOLS")
    delete = screen.intern_atom("WM_DELETE_WINDOW")
    message = protocol.event.ClientMessage(window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(message, event_mask=X.NoEventMask)
    screen.flush()
    pupil.ends_with(0)
    assert not (boxes() - pupil.seen), "the close box must not say goodbye"


def main():
    if not os.environ.get("DECALUMO_TEST_DISPLAY"):
        print("no X server for this run")
        return SKIP
    os.environ["DISPLAY"] = os.environ["DECALUMO_TEST_DISPLAY"]
    # The registry must be up before the program starts: a program that registers
    # while the registry is still being launched is never listed on the desktop.
    Atspi.get_desktop(0).get_child_count()
    with tempfile.TemporaryDirectory() as data_home:
        try:
            contest(data_home)
            assert stored(data_home) == [b"3\r\n", b"Luca\r\n"], stored(data_home)
            record_shown(data_home)
            close_box(data_home)
            assert stored(data_home) == [b"3\r\n", b"Luca\r\n"], stored(data_home)
        finally:
            # Whatever copy of the program a failed check left running.
            for pupil in Pupil.all:
                if pupil.process.poll() is None:
                    pupil.process.kill()
                    pupil.process.wait()
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())

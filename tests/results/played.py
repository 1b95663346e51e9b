#!/usr/bin/python3
"""Plays a short contest with the real program, then reads it back through the
register's exports: the rows must be as played, and each answer time must lie
between the end of the question as heard and the key, as far as this script can
see them from outside.

The wizard's window is named after the word he is saying; the script sees the
factor's word start, and that word lasts at most WORD_MS, as the wizard reads
a short word (one second without sound, its clip with sound).
"""
import csv
import io
import os
import socket
import subprocess
import sys
import tempfile
import time

import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from waiting import answer_box, application, press, start, wait_for, xdotool  # noqa: E402

PROGRAM, REGISTER = sys.argv[1], sys.argv[2]
SKIP = 77
WORD_MS = 2000
WORDS = ["", "uno", "due", "tre", "quattro", "cinque", "sei", "sette", "otto", "nove", "dieci"]


class Contest:
    def __init__(self, data_home):
        self.seen = set()
        self.process = start(PROGRAM, data_home)

    def answer_box(self, keys):
        answer_box(self.seen, keys)

    def app(self):
        return application(self.process.pid)

    def names(self, node=None, labels_only=True):
        """The labels' texts in order; or, at the top, the windows' names."""
        found = []
        node = node or self.app()
        if node is None:
            return found
        try:
            node.clear_cache()
            count = node.get_child_count()
            if not labels_only:
                return [node.get_child_at_index(i).get_name() for i in range(count)]
            if node.get_role() == Atspi.Role.LABEL:
                found.append(node.get_name())
        except (GLib.Error, AttributeError):
            return found
        for i in range(count):
            try:
                child = node.get_child_at_index(i)
            except GLib.Error:
                continue
            if child is not None:
                found += self.names(child)
        return found

    def after(self, caption, step=1):
        names = self.names()
        return names[names.index(caption) + step] if caption in names else None

    def question(self):
        wait_for("a question", lambda: self.after("X", 2) == "")
        return int(wait_for("the factor", lambda: (self.after("X") or "").strip() or None))

    def answer(self, text):
        """Types and enters the answer; the time just before, and once its verdict shows."""
        keyed = time.monotonic()
        press(self.window, text, "Return")
        wait_for("the verdict", lambda: self.after("X", 2))
        return keyed, time.monotonic()

    def word_starts(self, word):
        """When the wizard starts saying the word: the last look before, and the first that saw it."""
        before = start = time.monotonic()
        while True:
            now = time.monotonic()
            if any(n == word or (n or "").endswith(" " + word) for n in self.names(labels_only=False)):
                return before, now
            before = now
            assert now < start + 90, "the wizard never says " + word
            time.sleep(0.02)


def play(data_home):
    c = Contest(data_home)
    c.answer_box("Luca")
    c.answer_box("")
    c.window = wait_for("the window", lambda: (xdotool("search", "--onlyvisible", "--name", "DECALUMO$") or [None])[0])
    started = time.monotonic()
    factors, bounds = [c.question()], []
    # Right, once the question has surely been heard.
    before, saw = c.word_starts(WORDS[factors[0]])
    time.sleep((saw - time.monotonic()) + WORD_MS / 1000 + 1)
    keyed, verdict = c.answer(str(10 * factors[0]))
    bounds.append(((keyed - saw) * 1000 - WORD_MS, (verdict - before) * 1000))
    # Wrong, then empty, each entered at once: the wizard is still busy with the verdict and the question.
    for text in ["1", ""]:
        asked = time.monotonic()
        press(c.window, "", "Return")
        factors.append(c.question())
        keyed, _ = c.answer(text)
        bounds.append((0, 0) if keyed - asked < 2 else (0, (time.monotonic() - asked) * 1000))
    press(c.window, "", "alt+x")
    c.answer_box("")  # the goodbye
    c.answer_box("")  # the new record
    assert c.process.wait(timeout=15) == 0
    return factors, bounds, (time.monotonic() - started) * 1000


def export(table, *folders, data_home):
    env = dict(os.environ, XDG_DATA_HOME=data_home)
    out = subprocess.run([REGISTER, "--csv", table, *folders], env=env, capture_output=True, check=True).stdout
    assert out.endswith(b"\r\n"), out
    return list(csv.reader(io.StringIO(out.decode("utf-8"), newline=""), delimiter=";"))


def main():
    if not os.environ.get("DECALUMO_TEST_DISPLAY"):
        print("no X server for this run")
        return SKIP
    os.environ["DISPLAY"] = os.environ["DECALUMO_TEST_DISPLAY"]
    Atspi.get_desktop(0).get_child_count()
    with tempfile.TemporaryDirectory() as data_home:
        factors, bounds, lasted = play(data_home)
        host = socket.gethostname()
        answers = export("risposte", data_home=data_home)
        assert answers[0] == "alunno;inizio;computer;n;fattore;risposta;esatta;tempo_ms".split(";"), answers[0]
        typed = [str(10 * factors[0]), "1", ""]
        assert [r[:3] for r in answers[1:]] == [["Luca", answers[1][1], host]] * 3, answers
        assert [r[3:7] for r in answers[1:]] == [[str(n + 1), str(f), t, "1" if n == 0 else "0"]
                                                 for n, (f, t) in enumerate(zip(factors, typed))], answers
        for row, (low, high) in zip(answers[1:], bounds):
            assert low <= int(row[7]) <= high, (row, low, high)
        contests = export("sfide", data_home, data_home=tempfile.gettempdir())
        assert contests[1:] == [["Luca", answers[1][1], host, contests[1][3], "1", "2", "3", "uscita"]], contests
        assert 0 <= int(contests[1][3]) <= lasted / 1000 + 1, (contests, lasted)
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())

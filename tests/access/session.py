"""A private desktop session for a screen-reader user: its own home, runtime
folder, D-Bus session and accessibility bus, a sound server whose null sinks
keep the wizard's voice and the screen reader's apart, and Orca on demand."""

import array
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from waiting import wait_for  # noqa: E402

SAID = re.compile(r"^(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*)' ?\{")
RATE = 16000
# 20 ms frames louder than this count as voiced; espeak's quietest vowels
# stay well above it and a null sink's silence is exact zeros.
FRAME = RATE // 50
THRESHOLD = 200


class Session:
    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="decalumo-access-")
        self.processes = []
        self.terminals = []
        self.orca_logs = []
        home = os.path.join(self.dir, "home")
        runtime = os.path.join(self.dir, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": home,
            "XDG_RUNTIME_DIR": runtime,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "DISPLAY": os.environ["DECALUMO_TEST_DISPLAY"],
            "LANG": "C.UTF-8",
            "NO_AT_BRIDGE": "0",
            "GTK_MODULES": "",
        }
        bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                             env=self.env, capture_output=True, text=True, check=True).stdout.split()
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus[0]
        self.bus_pid = int(bus[1])
        # Clients look for the accessibility bus on the X server before the
        # session bus, and an earlier session's address may linger there.
        reply = subprocess.run(["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
                                "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                               env=self.env, capture_output=True, text=True, check=True).stdout
        # Qt 6.4 gives up on the bus when told its address this way, so
        # only the reader and this listener are.
        self.a11y_bus = reply.strip()
        # A pupil's desktop has a window manager: it gives the focus that
        # the reader follows.
        self.spawn(["openbox"])
        self._start_sound()
        self._configure_speech()

    def spawn(self, args, **extra):
        process = subprocess.Popen(args, env=dict(self.env, **extra), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True)
        self.processes.append(process)
        return process

    def _start_sound(self):
        script = os.path.join(self.dir, "sound.pa")
        with open(script, "w") as f:
            f.write("load-module module-native-protocol-unix\n"
                    "load-module module-null-sink sink_name=wizard rate=%d channels=1\n"
                    "load-module module-null-sink sink_name=reader rate=%d channels=1\n"
                    "set-default-sink wizard\n" % (RATE, RATE))
        self.spawn(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
                    "-F", script])
        wait_for("the sound server", lambda: subprocess.run(
            ["pactl", "list", "short", "sinks"], env=self.env, capture_output=True, text=True).stdout.count("null") >= 2
            or "reader" in subprocess.run(["pactl", "list", "short", "sinks"], env=self.env,
                                          capture_output=True, text=True).stdout)

    def _configure_speech(self):
        folder = os.path.join(self.env["XDG_CONFIG_HOME"], "speech-dispatcher")
        os.makedirs(folder)
        with open(os.path.join(folder, "speechd.conf"), "w") as f:
            f.write('AudioOutputMethod "pulse"\n'
                    'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n'
                    'DefaultModule espeak-ng\n'
                    'DefaultLanguage "it"\n'
                    'LogDir "%s"\n' % self.dir)

    def start_orca(self):
        self.orca_log = os.path.join(self.dir, "orca-%d.log" % len(self.processes))
        self.orca_logs.append(self.orca_log)
        # Orca writes its log line by line only to a terminal; a file would
        # hold the last lines back until the buffer fills.
        master, terminal = os.openpty()
        threading.Thread(target=self._copy, args=(master, self.orca_log), daemon=True).start()
        # Orca's speech server inherits the sink: the reader's voice goes apart.
        self.orca = self.spawn(["orca", "--replace", "--debug-file=" + os.ttyname(terminal)], PULSE_SINK="reader",
                               AT_SPI_BUS_ADDRESS=self.a11y_bus)
        # Held open here too: a terminal that no one holds reads as closed.
        self.terminals.append(terminal)
        wait_for("Orca to speak", lambda: self.spoken(), timeout=30)
        return self.orca

    @staticmethod
    def _copy(master, path):
        with open(path, "ab", buffering=0) as log:
            while True:
                try:
                    chunk = os.read(master, 65536)
                except OSError:
                    break
                if not chunk:
                    break
                log.write(chunk.replace(b"\r", b""))
        os.close(master)

    def stop_orca(self):
        self.orca.terminate()
        try:
            self.orca.wait(timeout=10)
        except subprocess.TimeoutExpired:
            os.killpg(self.orca.pid, signal.SIGKILL)
            self.orca.wait()

    def spoken(self, log=None):
        """Everything the last Orca, or the one with that log, said so far."""
        try:
            with open(log or self.orca_log, errors="replace") as f:
                lines = f.read().splitlines()
        except OSError:
            return []
        return [text for _, text in self.spoken_at(lines)]

    @staticmethod
    def spoken_at(lines):
        """(seconds since midnight, text) of each line Orca said."""
        said = (SAID.search(line) for line in lines)
        return [(int(m[1]) * 3600 + int(m[2]) * 60 + float(m[3]), m[4]) for m in said if m]

    def lines(self, log):
        with open(log, errors="replace") as f:
            return f.read().splitlines()

    def record(self, sink):
        path = os.path.join(self.dir, sink + ".raw")
        self.spawn(["parec", "--device=%s.monitor" % sink, "--format=s16le", "--rate=%d" % RATE,
                    "--channels=1", "--latency-msec=20", "--raw", path])
        return path

    def close(self):
        for p in reversed(self.processes):
            try:
                os.killpg(p.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline and any(p.poll() is None for p in self.processes):
            time.sleep(0.05)
        # Whatever is left, and what the buses started on demand (the
        # accessibility bus, the speech server), lives in this session alone.
        mark = ("XDG_RUNTIME_DIR=" + self.env["XDG_RUNTIME_DIR"]).encode()
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open("/proc/%s/environ" % pid, "rb") as f:
                    if mark in f.read().split(b"\0"):
                        os.kill(int(pid), signal.SIGKILL)
            except OSError:
                pass
        for p in self.processes:
            p.wait()
        for terminal in self.terminals:
            os.close(terminal)
        # The accessibility bus left its address on the X server, where the
        # next session's clients would look for it first.
        subprocess.run(["xprop", "-root", "-remove", "AT_SPI_BUS"], env=self.env, capture_output=True)
        if os.environ.get("DECALUMO_KEEP_SESSION"):
            print("session kept in", self.dir)
        else:
            shutil.rmtree(self.dir, ignore_errors=True)


def voiced(path):
    """The voiced intervals of a recording, in ms from its start."""
    samples = array.array("h")
    with open(path, "rb") as f:
        samples.frombytes(f.read())
    intervals = []
    for i in range(0, len(samples) - FRAME + 1, FRAME):
        loud = max(abs(s) for s in samples[i:i + FRAME]) > THRESHOLD
        start = i * 1000 // RATE
        if loud:
            if intervals and intervals[-1][1] == start:
                intervals[-1][1] = start + 20
            else:
                intervals.append([start, start + 20])
    return intervals


def overlap(a, b):
    total = 0
    for s1, e1 in a:
        for s2, e2 in b:
            total += max(0, min(e1, e2) - max(s1, s2))
    return total

#!/usr/bin/python3
"""Start-up, memory and idle CPU of the real program beside a bare Qt input box.

Run from the project folder after a build:  /usr/bin/python3 bench/startup.py build
It starts its own Xvfb; the program runs without a sound server, so speech is silent.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"
PROGRAM = os.path.join(BUILD, "decalumo")
FLOOR = os.path.join(BUILD, "bench", "bench_floor")
LAUNCHES = 7


def start_xvfb():
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=[write],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = os.read(read, 16).decode().strip()
    os.close(read)
    os.environ["DISPLAY"] = ":" + number
    return server


class Screen:
    """Watches top-level windows appear, with the time each one was mapped."""

    def __init__(self):
        self.x = display.Display()
        self.x.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.x.sync()

    def wait_mapped(self, title, timeout=20.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            while self.x.pending_events():
                event = self.x.next_event()
                if event.type == X.MapNotify and self.title(event.window) == title:
                    return time.monotonic(), event.window
            time.sleep(0.001)
        raise AssertionError("no window titled " + title)

    def title(self, window):
        try:
            name = window.get_full_property(self.x.intern_atom("_NET_WM_NAME"), 0)
            return name.value.decode() if name else window.get_wm_name()
        except Exception:
            return None


def launch(program, env):
    screen = Screen()
    begun = time.monotonic()
    process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    shown, window = screen.wait_mapped("Decalumo")
    return process, (shown - begun) * 1000, screen, window


def memory_kib(pid):
    figures = {}
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            parts = line.split()
            if parts[0] in ("Rss:", "Pss:"):
                figures[parts[0][:-1]] = int(parts[1])
    return figures


def cpu_percent(pid, seconds):
    def used():
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])  # utime + stime, in ticks
    before = used()
    time.sleep(seconds)
    return (used() - before) / os.sysconf("SC_CLK_TCK") / seconds * 100


def key(window, *args):
    subprocess.run(["xdotool", "windowfocus", "--sync", str(window.id)], check=True)
    subprocess.run(["xdotool", *args], check=True)


def stop(process):
    process.kill()
    process.wait()


def main():
    server = start_xvfb()
    try:
        with tempfile.TemporaryDirectory() as home:
            runtime = os.path.join(home, "runtime")
            os.mkdir(runtime, 0o700)
            env = dict(os.environ, XDG_DATA_HOME=home, XDG_RUNTIME_DIR=runtime)
            env.pop("QT_QPA_PLATFORM", None)

            times = {FLOOR: [], PROGRAM: []}
            for _ in range(LAUNCHES):
                for program in (FLOOR, PROGRAM):
                    process, ms, _, _ = launch(program, env)
                    times[program].append(ms)
                    stop(process)
            floor_ms, program_ms = statistics.median(times[FLOOR]), statistics.median(times[PROGRAM])
            print(f"exec to name prompt: floor {floor_ms:.0f} ms, decalumo {program_ms:.0f} ms "
                  f"(medians of {LAUNCHES}), ratio {program_ms / floor_ms:.2f} (target <= 1.5)")

            process, _, _, _ = launch(FLOOR, env)
            time.sleep(1)
            floor_memory = memory_kib(process.pid)
            floor_cpu = cpu_percent(process.pid, 10)
            stop(process)

            process, _, screen, prompt = launch(PROGRAM, env)
            key(prompt, "type", "--delay", "20", "Luca")
            key(prompt, "key", "Return")
            _, greeting = screen.wait_mapped("Decalumo")
            key(greeting, "key", "Return")
            screen.wait_mapped("                                                                                   DECALUMO")
            time.sleep(1)  # the first question is put as soon as the window is up
            program_memory = memory_kib(process.pid)
            for kind in ("Rss", "Pss"):
                print(f"memory ({kind}): floor {floor_memory[kind] / 1024:.1f} MiB at the prompt, decalumo "
                      f"{program_memory[kind] / 1024:.1f} MiB after the first question, ratio "
                      f"{program_memory[kind] / floor_memory[kind]:.2f} (target <= 2)")
            # The announcement and the first question take about 20 s to say;
            # after them the wizard rests and only the clock ticks.
            time.sleep(25)
            program_cpu = cpu_percent(process.pid, 30)
            stop(process)
            print(f"CPU while waiting for the pupil: decalumo {program_cpu:.2f}% of one core over 30 s "
                  f"(floor {floor_cpu:.2f}% over 10 s; target < 1%)")
    finally:
        server.kill()
        server.wait()


if __name__ == "__main__":
    main()

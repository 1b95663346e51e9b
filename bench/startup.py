#!/usr/bin/python3
"""Start-up, memory and idle CPU of the real program beside a bare Qt input box,
and how long the main window takes to be drawn once the greeting is closed.

Run from the project folder after a build:  /usr/bin/python3 bench/startup.py build
It starts its own Xvfb; the program runs without a sound server, so speech is silent.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, XK, display
from Xlib.ext import xtest

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"
PROGRAM = os.path.join(BUILD, "decalumo")
FLOOR = os.path.join(BUILD, "bench", "bench_floor")
LAUNCHES = 7
MAIN_TITLE = " " * 83 + "DECALUMO"
CYAN = (0, 255, 255)


def start_xvfb():
    # A server in another root can hold a display's abstract socket while its
    # lock file is out of sight here: Xvfb then takes the number and nobody
    # reaches it by the socket file. Try numbers until one answers.
    for number in range(os.getpid() % 500 + 100, 1000):
        if os.path.exists(f"/tmp/.X{number}-lock"):
            continue
        server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                                   "-noreset"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            try:
                display.Display(f":{number}").close()
                os.environ["DISPLAY"] = f":{number}"
                return server
            except Exception:
                if server.poll() is not None:
                    break
                time.sleep(0.05)
        server.kill()
        server.wait()
    raise RuntimeError("no X server starts")


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


def drawn_after_greeting(env):
    """From the greeting's OK to the main window's first cyan pixel, in ms."""
    process, _, screen, prompt = launch(PROGRAM, env)
    key(prompt, "type", "--delay", "20", "Luca")
    key(prompt, "key", "Return")
    _, greeting = screen.wait_mapped("Decalumo")
    subprocess.run(["xdotool", "windowfocus", "--sync", str(greeting.id)], check=True)
    code = screen.x.keysym_to_keycode(XK.XK_Return)
    begun = time.monotonic()
    xtest.fake_input(screen.x, X.KeyPress, code)
    xtest.fake_input(screen.x, X.KeyRelease, code)
    screen.x.sync()
    _, window = screen.wait_mapped(MAIN_TITLE)
    height = window.get_geometry().height
    # A column through the counters' cyan panel.
    while True:
        data = window.get_image(20, 0, 1, height, X.ZPixmap, 0xFFFFFFFF).data
        if any((data[i + 2], data[i + 1], data[i]) == CYAN for i in range(0, len(data), 4)):
            break
        time.sleep(0.001)
    ms = (time.monotonic() - begun) * 1000
    return process, ms


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
                  f"(medians of {LAUNCHES}), ratio {program_ms / floor_ms:.2f} (target <= 1.15)")

            process, _, _, _ = launch(FLOOR, env)
            time.sleep(1)
            floor_memory = memory_kib(process.pid)
            floor_cpu = cpu_percent(process.pid, 10)
            stop(process)
            process, _, _, _ = launch(PROGRAM, env)
            time.sleep(1)
            prompt_memory = memory_kib(process.pid)
            stop(process)

            shown = []
            for _ in range(LAUNCHES):
                process, ms = drawn_after_greeting(env)
                shown.append(ms)
                stop(process)
            print(f"greeting's OK to the main window drawn: {statistics.median(shown):.0f} ms "
                  f"(median of {LAUNCHES}, target <= 100)")

            process, ms = drawn_after_greeting(env)
            time.sleep(1)  # the first question is put as soon as the window is up
            program_memory = memory_kib(process.pid)
            for kind in ("Rss", "Pss"):
                print(f"memory ({kind}): floor {floor_memory[kind] / 1024:.1f} MiB, decalumo "
                      f"{prompt_memory[kind] / 1024:.1f} MiB at the prompt, ratio "
                      f"{prompt_memory[kind] / floor_memory[kind]:.2f} (target <= 1.2); decalumo "
                      f"{program_memory[kind] / 1024:.1f} MiB after the first question")
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

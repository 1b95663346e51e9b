#!/usr/bin/python3
"""Where the wizard's feet and his lowest boot pixel stand against the top of
the cyan band, under X11 window managers and under Wayland compositors
through Xwayland.

Both are read from the two windows' own images and their root positions, as
the root window of a rootless Xwayland holds no pixels. Positive figures are
pixels into the band, at the program's own scale.

Run from the project folder after a build:
    /usr/bin/python3 bench/wizard-feet.py build/decalumo [openbox|xfwm4|mutter|kwin_x11|mutter-wayland|kwin-wayland] ...
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from Xlib import X, display  # noqa: E402
from Xlib.ext import shape  # noqa: E402
import placement  # noqa: E402
from placement import BAND_COLUMN, FEET, Desktop, cyan_band_top, past_the_boxes, settled, wait_for  # noqa: E402

# A copy, since the packaged binary's file capability keeps it from starting
# in a container; KWin only loads its own Qt platform under its own name.
KWIN = "/tmp/kwin_wayland_copy"


class Wayland(Desktop):
    """A headless compositor with Xwayland: scale 2 means a monitor twice as
    large in pixels and scaled by 2, so that the logical screen stays 1280x1024."""

    def __init__(self, compositor, scale):
        self.work = tempfile.mkdtemp()
        os.chmod(self.work, 0o700)
        self.processes = []
        env = dict(os.environ, HOME=self.work, XDG_CONFIG_HOME=self.work + "/config",
                   XDG_DATA_HOME=self.work + "/data", XDG_RUNTIME_DIR=self.work)
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "QT_QPA_PLATFORM"):
            env.pop(name, None)
        found = os.path.join(self.work, "found")
        script = os.path.join(self.work, "found.sh")
        with open(script, "w") as f:
            f.write(f'#!/bin/sh\nprintf "%s\\n" "$DISPLAY" "$WAYLAND_DISPLAY" "$DBUS_SESSION_BUS_ADDRESS" > {found}.new\n'
                    f'mv {found}.new {found}\nexec "$@"\n')
        os.chmod(script, 0o755)
        log = open(os.path.join(self.work, "wm.log"), "w")
        if compositor == "mutter-wayland":
            command = [script, "mutter", "--wayland", "--headless", "--sm-disable",
                       "--virtual-monitor", f"{1280 * scale}x{1024 * scale}"]
        else:
            if not os.path.exists(KWIN):
                shutil.copy("/usr/bin/kwin_wayland", KWIN)
            env["KWIN_FORCE_OWN_QPA"] = "1"
            # Otherwise Xwayland gets the logical screen and KWin enlarges its windows.
            os.makedirs(env["XDG_CONFIG_HOME"])
            with open(env["XDG_CONFIG_HOME"] + "/kwinrc", "w") as f:
                f.write(f"[Xwayland]\nScale={scale}\n")
            command = [KWIN, "--virtual", "--xwayland", "--no-lockscreen", "--socket", "wayland-bench",
                       "--width", "1280", "--height", "1024", "--scale", str(scale), script]
        self.processes.append(subprocess.Popen(["dbus-run-session", "--", *command], env=env,
                                               stdout=log, stderr=log, start_new_session=True))
        try:
            self._start(compositor, scale, env, found, log)
        except BaseException:
            self.close()
            raise

    def _start(self, compositor, scale, env, found, log):
        wait_for("the compositor's environment", lambda: os.path.exists(found), timeout=30)
        x, wayland, bus = open(found).read().split("\n")[:3]
        if compositor == "mutter-wayland":
            x = wait_for("Xwayland", lambda: (re.findall(r"public X11 display (:\d+)", open(log.name).read()) or
                                              [None])[0], timeout=30)
            wayland = "wayland-0"
            auth = wait_for("the Xauthority", lambda: glob.glob(self.work + "/.mutter-Xwaylandauth.*"))
            env["XAUTHORITY"] = auth[0]
        self.name = x
        self.env = dict(env, DISPLAY=x, WAYLAND_DISPLAY=wayland, DBUS_SESSION_BUS_ADDRESS=bus)
        self.env.pop("KWIN_FORCE_OWN_QPA", None)
        if "XAUTHORITY" in env:
            os.environ["XAUTHORITY"] = env["XAUTHORITY"]
        self.x = wait_for("the X server", lambda: self._connect(x), timeout=30)
        self.root = self.x.screen().root
        self.atom = self.x.intern_atom
        if compositor == "mutter-wayland" and scale != 1:
            self._mutter_scale(scale)
        wait_for(compositor + " to manage Xwayland", lambda: self.property(self.root, "_NET_SUPPORTING_WM_CHECK"))

    @staticmethod
    def _connect(name):
        try:
            return display.Display(name)
        except Exception:
            return None

    def _mutter_scale(self, scale):
        """Through its display configuration on the session bus; without its
        experimental framebuffer scaling, Xwayland then has the monitor's
        pixels and X programs scale themselves."""
        config = ["gdbus", "call", "--session", "-d", "org.gnome.Mutter.DisplayConfig",
                  "-o", "/org/gnome/Mutter/DisplayConfig", "-m", "org.gnome.Mutter.DisplayConfig."]
        state = wait_for("mutter's display configuration", lambda: subprocess.run(
            config[:-1] + [config[-1] + "GetCurrentState"], env=self.env, capture_output=True, text=True).stdout)
        serial = re.match(r"\(uint32 (\d+)", state).group(1)
        mode = re.search(r"\[\('(\d+x\d+@[\d.]+)'", state).group(1)
        subprocess.run(config[:-1] + [config[-1] + "ApplyMonitorsConfig", serial, "1",
                                      f"[(0, 0, {scale}.0, 0, true, [('Meta-0', '{mode}', @a{{sv}} {{}})])]",
                                      "@a{sv} {}"], env=self.env, check=True, capture_output=True)


def column_in(window, x, height):
    image = window.get_image(x, 0, 1, height, X.ZPixmap, 0xFFFFFFFF)
    data = image.data
    return [(data[i + 2], data[i + 1], data[i]) for i in range(0, len(data), 4)]


def band_top(main, scale):
    """In the window: the top of the cyan band, from a column through it."""
    return cyan_band_top(column_in(main, BAND_COLUMN * scale, main.get_geometry().height), scale)


def lowest_opaque_row(wizard, alpha=128):
    """One past the wizard's lowest drawn row: from his alpha when he is an
    ARGB window, from his shape (which leaves out what is under half opaque)
    when he is not."""
    g = wizard.get_geometry()
    if g.depth == 32:
        data = wizard.get_image(0, 0, g.width, g.height, X.ZPixmap, 0xFFFFFFFF).data
        return max(i // 4 // g.width for i in range(3, len(data), 4) if data[i] >= alpha) + 1
    if alpha < 128:
        return None
    rectangles = wizard.shape_get_rectangles(shape.SK.Bounding).rectangles
    return max(r.y + r.height for r in rectangles)


def measure(desktop, program, scale, tag):
    env = dict(desktop.env, QT_SCALE_FACTOR=str(scale))
    env.pop("QT_QPA_PLATFORM", None)
    process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        main, wizard = past_the_boxes(desktop)
        mx, my, _, _ = settled(desktop, main)
        wx, wy, ww, wh = settled(desktop, wizard, quiet=1.0)
        top = my + band_top(main, scale)
        boots = []
        for _ in range(6):  # he breathes and blinks: a few looks
            boots.append(lowest_opaque_row(wizard))
            time.sleep(0.25)
        faint = lowest_opaque_row(wizard, 1)
        band = top - wy  # the band's top in the wizard's window
        into = [(b - band) / scale for b in boots]
        print(f"{tag}: window at {mx},{my}, wizard at {wx},{wy} {ww}x{wh} (depth {wizard.get_geometry().depth});"
              f" feet {(wh * FEET - band) / scale:+.1f}; lowest boot pixel {min(into):+.1f}..{max(into):+.1f}"
              f" (feet line {wh * FEET / scale:.1f}, boots end {max(boots) / scale:.1f} of {wh / scale:g});"
              + (f" lowest pixel of any alpha {(faint - band) / scale:+.1f};" if faint else "")
              + f" window bottom {(wh - band) / scale:+.1f} px into the band")
    finally:
        process.kill()
        process.wait()


def main():
    program = sys.argv[1]
    for wm in sys.argv[2:] or ["openbox"]:
        for scale in (1, 2):
            for panel in ((0, 28) if wm in placement.WINDOW_MANAGERS else (0,)):
                desktop = Wayland(wm, scale) if wm.endswith("-wayland") else Desktop(wm, scale, panel)
                try:
                    measure(desktop, program, scale, f"{wm} scale {scale}" + (f" panel {panel}" if panel else ""))
                except Exception as e:  # one case's failure says something; go on with the rest
                    print(f"{wm} scale {scale} panel {panel}: {type(e).__name__}: {e}")
                finally:
                    desktop.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())

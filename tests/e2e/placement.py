#!/usr/bin/python3
"""Runs the real program under real window managers and checks where the
window and the wizard stand and how they stack.

Each case gets its own X server with one window manager, at a scale, with or
without a 28-pixel top panel. One run of the program per case: the frame
must lie on the free part of the screen, the wizard's feet must meet the top
of the cyan band around the answer box, the wizard must stay above the window
and below a message box and another program's window, and must go away
while the window is minimised.

    placement.py PROGRAM
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from Xlib import X, Xatom, display
from waiting import wait_for  # noqa: E402

SKIP = 77
TOLERANCE = 4  # pixels, at the program's own scale
BAND = (0, 255, 255)
# Where the band is, in the client area's pixels at scale 1: a column right of
# the answer box, inside the band, and how tall the band is.
BAND_COLUMN = 673
BAND_HEIGHT = 89
# The wizard's feet, as a fraction of his window's height.
FEET = 292 / 300


WINDOW_MANAGERS = {
    "openbox": ["openbox", "--sm-disable"],
    "xfwm4": ["xfwm4", "--compositor=on", "--sm-client-disable"],
    "mutter": ["mutter", "--x11", "--sm-disable"],
    "kwin_x11": ["kwin_x11", "--replace"],
}


class Desktop:
    """A private X server with one window manager and, if asked, a top panel."""

    def __init__(self, wm, scale, panel):
        self.work = tempfile.mkdtemp()
        self.processes = []
        width, height = 1280 * scale, 1024 * scale
        read, write = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", f"{width}x{height}x24",
                                 "-nolisten", "tcp", "-noreset"], pass_fds=[write],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        self.processes.append(xvfb)
        with os.fdopen(read) as f:
            self.name = ":" + f.readline().strip()
        self.env = dict(os.environ, DISPLAY=self.name, HOME=self.work, XDG_CONFIG_HOME=self.work + "/config",
                        XDG_DATA_HOME=self.work + "/data", XDG_RUNTIME_DIR=self.work)
        os.chmod(self.work, 0o700)
        self.x = display.Display(self.name)
        self.root = self.x.screen().root
        self.atom = self.x.intern_atom
        if panel:
            self.panel = self._panel(width, panel)
        log = open(os.path.join(self.work, "wm.log"), "w")
        # In a process group of its own, so that the session bus and what it
        # started end with it.
        self.processes.append(subprocess.Popen(["dbus-run-session", "--", *WINDOW_MANAGERS[wm]], env=self.env,
                                               stdout=log, stderr=log, start_new_session=True))
        wait_for(wm + " to manage the screen", lambda: self.property(self.root, "_NET_SUPPORTING_WM_CHECK"))
        if panel:
            wait_for("the panel's strut", lambda: self.available()[1] >= panel)

    def _panel(self, width, height):
        w = self.root.create_window(0, 0, width, height, 0, X.CopyFromParent, X.InputOutput, X.CopyFromParent,
                                    background_pixel=0x404060)
        w.change_property(self.atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32, [self.atom("_NET_WM_WINDOW_TYPE_DOCK")])
        w.change_property(self.atom("_NET_WM_STRUT_PARTIAL"), Xatom.CARDINAL, 32,
                          [0, 0, height, 0, 0, 0, 0, 0, 0, width - 1, 0, 0])
        w.change_property(self.atom("_NET_WM_STRUT"), Xatom.CARDINAL, 32, [0, 0, height, 0])
        w.map()
        self.x.flush()
        return w

    def other_program(self):
        w = self.root.create_window(200, 150, 400, 300, 0, X.CopyFromParent, X.InputOutput, X.CopyFromParent,
                                    background_pixel=0x808080)
        w.set_wm_name("Altro programma")
        w.map()
        self.x.flush()
        return w

    def property(self, window, name, kind=X.AnyPropertyType):
        try:
            p = window.get_full_property(self.atom(name), kind)
        except Exception:
            return None
        return list(p.value) if p else None

    def available(self):
        area = self.property(self.root, "_NET_WORKAREA")
        return area[:4] if area else [0, 0, self.x.screen().width_in_pixels, self.x.screen().height_in_pixels]

    def windows(self, title):
        found = []
        for w in self.property(self.root, "_NET_CLIENT_LIST") or []:
            window = self.x.create_resource_object("window", w)
            try:
                name = window.get_full_property(self.atom("_NET_WM_NAME"), 0)
            except Exception:
                continue
            text = name.value.decode() if name and isinstance(name.value, bytes) else (name.value if name else "")
            if text.strip() == title:
                found.append(window)
        return found

    def one(self, title):
        return wait_for("a window titled " + title, lambda: (self.windows(title) or [None])[0])

    def geometry(self, window):
        g = window.get_geometry()
        at = window.translate_coords(self.root, 0, 0)
        return -at.x, -at.y, g.width, g.height

    def frame(self, window):
        """The frame as the window manager states it: some draw invisible
        borders for resizing around the visible one."""
        left, right, top, bottom = self.property(window, "_NET_FRAME_EXTENTS") or [0, 0, 0, 0]
        x, y, w, h = self.geometry(window)
        return x - left, y - top, w + left + right, h + top + bottom

    def stacking(self):
        return self.property(self.root, "_NET_CLIENT_LIST_STACKING") or []

    def mapped(self, window):
        return window.get_attributes().map_state == X.IsViewable

    def shown(self, window):
        """Mapped and not hidden: a compositing manager may keep a minimised
        window mapped and only mark it hidden."""
        hidden = self.atom("_NET_WM_STATE_HIDDEN") in (self.property(window, "_NET_WM_STATE") or [])
        return self.mapped(window) and not hidden

    def column(self, x, top, height):
        image = self.root.get_image(x, top, 1, height, X.ZPixmap, 0xFFFFFFFF)
        data = image.data
        return [(data[i + 2], data[i + 1], data[i]) for i in range(0, len(data), 4)]

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, capture_output=True)

    @staticmethod
    def _signal(process, sig):
        try:
            if os.getpgid(process.pid) == process.pid:
                os.killpg(process.pid, sig)
            else:
                process.send_signal(sig)
        except ProcessLookupError:
            pass

    def close(self):
        for p in reversed(self.processes):
            self._signal(p, signal.SIGTERM)
        for p in reversed(self.processes):
            try:
                p.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self._signal(p, signal.SIGKILL)
        shutil.rmtree(self.work, ignore_errors=True)


def settled(desktop, window, quiet=0.4):
    """The window's place once it has stopped moving."""
    last = None
    since = time.monotonic()
    end = since + 10
    while time.monotonic() < end:
        now = desktop.geometry(window)
        if now != last:
            last, since = now, time.monotonic()
        elif time.monotonic() - since >= quiet:
            return now
        time.sleep(0.05)
    raise AssertionError("the window does not settle")


# The top of the lowest tall cyan run in a column of pixels through the band.
def cyan_band_top(pixels, scale):
    runs, start = [], None
    for i, p in enumerate(pixels + [None]):
        if p == BAND and start is None:
            start = i
        elif p != BAND and start is not None:
            runs.append((start, i - start))
            start = None
    tall = [s for s, length in runs if length >= BAND_HEIGHT * scale * 3 // 4]
    assert tall, "no cyan band below the window's menu"
    return tall[-1]


def band_top(desktop, main, scale):
    x, y, w, h = desktop.geometry(main)
    return y + cyan_band_top(desktop.column(x + BAND_COLUMN * scale, y, h), scale)


# The main window and the wizard, once the name box and the greeting are answered.
def past_the_boxes(desktop):
    for keys in ("Luca", ""):  # the name, then the greeting
        box = desktop.one("Decalumo")
        desktop.xdotool("windowfocus", "--sync", str(box.id))
        if keys:
            desktop.xdotool("type", "--delay", "20", keys)
        desktop.xdotool("key", "Return")
        wait_for("the box to close", lambda: box.id not in [w.id for w in desktop.windows("Decalumo")])
    main = desktop.one("DECALUMO")
    wizard = desktop.one("Merlin")
    wait_for("the wizard", lambda: desktop.mapped(wizard))
    return main, wizard


def case(program, wm, scale, panel, full=True):
    desktop = Desktop(wm, scale, panel)
    tag = f"{wm} scale {scale}" + (f" panel {panel}" if panel else "")
    process = None
    try:
        env = dict(desktop.env, QT_SCALE_FACTOR=str(scale))
        env.pop("QT_QPA_PLATFORM", None)
        process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        main, wizard = past_the_boxes(desktop)
        settled(desktop, main)

        # He follows the window as soon as its frame is known, whatever he is doing. He
        # stands still while he appears, for longer than a short quiet, before gliding in.
        _, wy, _, wh = settled(desktop, wizard, quiet=1.0)
        offset = (wy + wh * FEET - band_top(desktop, main, scale)) / scale
        fx, fy, fw, fh = desktop.frame(main)
        ax, ay, aw, ah = desktop.available()
        assert ax <= fx and ay <= fy and fx + fw <= ax + aw and fy + fh <= ay + ah, \
            f"{tag}: frame {fx},{fy} {fw}x{fh} outside the free area {ax},{ay} {aw}x{ah}"
        assert abs(offset) <= TOLERANCE, f"{tag}: the wizard's feet are {offset:+.1f} px from the band's top"

        stack = desktop.stacking()
        assert stack.index(wizard.id) > stack.index(main.id), f"{tag}: the wizard is below the window"
        if not full:
            return offset

        other = desktop.other_program()
        wait_for("the other program's window", lambda: other.id in desktop.stacking())
        desktop.xdotool("windowactivate", "--sync", str(other.id))
        time.sleep(0.3)
        stack = desktop.stacking()
        assert stack.index(other.id) > stack.index(wizard.id), f"{tag}: the wizard covers another program"
        other.destroy()
        desktop.x.flush()

        desktop.xdotool("windowfocus", "--sync", str(main.id))
        desktop.xdotool("type", "--delay", "20", "1")
        desktop.xdotool("key", "Return")

        desktop.xdotool("windowminimize", "--sync", str(main.id))
        wait_for(f"{tag}: the window to go", lambda: not desktop.shown(main), timeout=5)
        wait_for(f"{tag}: the wizard to go with the window", lambda: not desktop.shown(wizard), timeout=5)
        desktop.xdotool("windowactivate", "--sync", str(main.id))
        wait_for(f"{tag}: the wizard to come back", lambda: desktop.shown(wizard), timeout=5)

        desktop.xdotool("windowfocus", "--sync", str(main.id))
        desktop.xdotool("key", "alt+x")
        goodbye = desktop.one("Decalumo")
        wait_for("the goodbye box", lambda: desktop.mapped(goodbye))
        time.sleep(0.3)
        stack = desktop.stacking()
        assert stack.index(goodbye.id) > stack.index(wizard.id), f"{tag}: the wizard covers the goodbye box"
        above = [w for w in stack[stack.index(goodbye.id) + 1:]
                 if desktop.property(desktop.x.create_resource_object("window", w), "_NET_WM_PID") == [process.pid]]
        assert not above, f"{tag}: the balloon covers the goodbye box"
        desktop.xdotool("windowfocus", "--sync", str(goodbye.id))
        desktop.xdotool("key", "Return")
        assert process.wait(timeout=10) == 0
        return offset
    finally:
        if process and process.poll() is None:
            process.kill()
            process.wait()
        desktop.close()


def main():
    program = sys.argv[1]
    if not shutil.which("Xvfb") or not shutil.which("xdotool"):
        print("no Xvfb or xdotool")
        return SKIP
    # A stacking WM, a compositing WM and KWin, whose frame comes only once
    # the window is shown, at both scales and with a panel. Every manager at
    # every scale: bench/wizard-feet.py.
    cases = [("openbox", 1, 0, True), ("openbox", 2, 28, False), ("xfwm4", 1, 28, True), ("xfwm4", 2, 0, False),
             ("kwin_x11", 1, 0, False)]
    missing = [wm for wm, *_ in cases if not shutil.which(wm)]
    if missing:
        print("missing window managers:", ", ".join(sorted(set(missing))))
        return SKIP
    for wm, scale, panel, full in cases:
        case(program, wm, scale, panel, full)
    print(f"{len(cases)} passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())

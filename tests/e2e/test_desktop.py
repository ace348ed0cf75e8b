#!/usr/bin/env python3
"""How the desktop sees Tintara on a real X server: the window's class matches the desktop entry's
StartupWMClass and it carries the program's icon; in a Wayland session the program starts on
XWayland (xcb) all the same, still samples X11 windows, and says once on standard error what it
cannot sample there; without XWayland it says why it cannot run and ends.

Usage: test_desktop.py PATH-TO-TINTARA
"""

import sys

sys.dont_write_bytecode = True  # keep the source tree clean of __pycache__
from e2e_common import App, expect, run_scenarios, titled  # noqa: E402

ROOT = "336699"
NOTICE = "colours can only be sampled from X11 windows in this session"
SETTINGS = "[Options]\r\nX=200\r\nY=150\r\nFirstRun=0\r\n"


def window_class_and_icon(x, win):
    out = x.run(["xprop", "-id", win, "WM_CLASS", "_NET_WM_ICON"]).stdout
    wm_class = next((line.split("=", 1)[1].strip() for line in out.splitlines()
                     if line.startswith("WM_CLASS")), "")
    has_icon = any(line.startswith("_NET_WM_ICON(CARDINAL)") for line in out.splitlines())
    return wm_class, has_icon


def scenario_x11_session(x, binary):
    """The class matches the desktop entry, the icon is set, and nothing is said about Wayland."""
    x.set_root_color(f"#{ROOT}")
    x.mouse_move(640, 900)
    with App(x, binary, files={"Tintara.ini": SETTINGS}) as app:
        win = app.wait_window()
        app.wait_title(win, titled(ROOT))
        wm_class, has_icon = window_class_and_icon(x, win)
        expect(wm_class, '"tintara", "Tintara"', "WM_CLASS (StartupWMClass=Tintara)")
        expect(has_icon, True, "the window carries an icon")
        app.close()
        expect(NOTICE in app.stderr(), False, "a Wayland notice outside Wayland")


def scenario_wayland_session(x, binary):
    """With a Wayland session announced and no platform chosen, the program runs on xcb, samples the
    X screen, and says once what it cannot see; it is in the status line's tool tip as well."""
    x.set_root_color(f"#{ROOT}")
    x.mouse_move(640, 900)
    env = {"XDG_SESSION_TYPE": "wayland", "WAYLAND_DISPLAY": "wayland-tintara-test", "QT_QPA_PLATFORM": ""}
    with App(x, binary, files={"Tintara.ini": SETTINGS}, env=env) as app:
        win = app.wait_window()
        app.wait_title(win, titled(ROOT))
        app.close()
        expect(app.stderr().count(NOTICE), 1, f"notices on standard error in {app.stderr()!r}")


def scenario_wayland_without_xwayland(x, binary):
    """Without DISPLAY nothing could ever be sampled: the program says why and ends, no crash."""
    env = {"XDG_SESSION_TYPE": "wayland", "WAYLAND_DISPLAY": "wayland-tintara-test", "QT_QPA_PLATFORM": "",
           "DISPLAY": ""}
    with App(x, binary, files={"Tintara.ini": SETTINGS}, env=env) as app:
        code = app.proc.wait(timeout=10)
        expect(code, 1, "exit status")
        expect(app.stderr().count(NOTICE), 1, f"Wayland notices in {app.stderr()!r}")
        expect("No X11 display (XWayland)" in app.stderr(), True, f"the reason in {app.stderr()!r}")


if __name__ == "__main__":
    sys.exit(run_scenarios([scenario_x11_session, scenario_wayland_session, scenario_wayland_without_xwayland],
                           sys.argv, __doc__))

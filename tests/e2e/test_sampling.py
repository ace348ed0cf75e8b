#!/usr/bin/env python3
"""Sampling on a real X server: the window title follows the pixel under the cursor, the arrow keys
nudge the cursor, and the Color group's copy buttons put the colour on the clipboard.

Usage: test_sampling.py PATH-TO-TINTARA
"""

import os
import re
import sys
import traceback

sys.dont_write_bytecode = True  # keep the source tree clean of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import App, Session, _wait_until as wait_until  # noqa: E402

ROOT = "FF8000"
BLUE = "1E90FF"
BLUE_RECT = (700, 300, 200, 150)  # well away from the window at 200,150 (295x595)

DEFAULT_INI = (
    "[Options]\r\nX=200\r\nY=150\r\nXOffset=0\r\nYOffset=0\r\nWidth=295\r\nHeight=595\r\n"
    "FirstRun=0\r\nIs4K=0\r\n\r\n"
    + "".join(f"[Panel{n}]\r\nClosed=0\r\n\r\n" for n in range(1, 6))
)
DEFAULT_PALETTES = '<Palettes><Palette name="Default"></Palette></Palettes>\r\n'


def expect(actual, expected, what):
    if actual != expected:
        raise AssertionError(f"{what}: expected {expected!r}, got {actual!r}")


def move(x, point):
    """x.mouse_move, except where the pointer already is (xdotool's --sync move would wait forever)."""
    if x.mouse_location() != tuple(point):
        x.mouse_move(*point)


def titled(hex_color):
    return lambda title: title == f"Tintara - {hex_color}"


def client_geometry(x, win):
    """(left, top, width, height) of the window's client area on the screen."""
    out = x.run(["xwininfo", "-id", win]).stdout
    return tuple(int(re.search(rf"{label}:\s+(-?\d+)", out).group(1))
                 for label in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))


def frame_extents(x, win):
    """(left, right, top, bottom) of the decoration openbox put around the window."""
    def read():
        out = x.run(["xprop", "-id", win, "_NET_FRAME_EXTENTS"]).stdout
        found = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", out)
        return tuple(int(v) for v in found.groups()) if found else None
    return wait_until(read, 5.0, what="_NET_FRAME_EXTENTS")


def wait_clipboard(x, expected):
    last = [None]

    def check():
        last[0] = x.clipboard()
        return last[0] == expected
    try:
        wait_until(check, 5.0, what=f"clipboard {expected!r}")
    except Exception as e:
        raise AssertionError(f"{e}; clipboard holds {last[0]!r}") from None


def scenario_first_start_sampling_and_copy(x, binary):
    """No settings, no palettes: default placement on top, title follows the cursor, the arrow
    keys move it one pixel, Alt+C / Alt+O / the Copy button fill the clipboard, and the close
    writes the default files."""
    x.set_root_color(f"#{ROOT}")
    blue = x.solid_window(*BLUE_RECT, f"#{BLUE}")
    bx, by = BLUE_RECT[0], BLUE_RECT[1]
    try:
        move(x, (1100, 900))
        with App(x, binary) as app:
            win = app.wait_window()
            app.wait_title(win, titled(ROOT))

            # Placed at the documented defaults, frame corner at 200,150, and kept above others.
            left, top, width, height = client_geometry(x, win)
            ext_left, _, ext_top, _ = frame_extents(x, win)
            expect((left - ext_left, top - ext_top, width, height), (200, 150, 295, 595),
                   "frame position and client size")
            state = x.run(["xprop", "-id", win, "_NET_WM_STATE"]).stdout
            if "_NET_WM_STATE_ABOVE" not in state:
                raise AssertionError(f"window not kept above: {state.strip()}")

            # The title follows the cursor from one colour to the other and back.
            move(x, (bx + 50, by + 50))
            app.wait_title(win, titled(BLUE))
            move(x, (bx - 40, by + 50))
            app.wait_title(win, titled(ROOT))

            # Arrow keys (the first chip has the focus after start-up) move the cursor one pixel;
            # stepping round the blue rectangle's top-left corner crosses onto it and off again.
            x.activate(win)
            move(x, (bx - 1, by - 1))
            app.wait_title(win, titled(ROOT))
            for key, position, color in (("Right", (bx, by - 1), ROOT), ("Down", (bx, by), BLUE),
                                         ("Left", (bx - 1, by), ROOT), ("Up", (bx - 1, by - 1), ROOT)):
                x.key(key)
                wait_until(lambda p=position: x.mouse_location() == p, 5.0,
                           what=f"{key} to move the cursor to {position}")
                app.wait_title(win, titled(color))

            # Alt+C copies the six hex digits, Alt+O the decimal colour (red + 256 green + 65536 blue).
            move(x, (bx + 50, by + 50))
            app.wait_title(win, titled(BLUE))
            x.key("alt+c")
            wait_clipboard(x, BLUE)
            x.key("alt+o")
            wait_clipboard(x, str(0x1E + 256 * 0x90 + 65536 * 0xFF))

            # With "#" down the hex copy carries the hash. Clicking moves the cursor onto the window,
            # so the colour is picked up again before the key copy.
            color_box = (left + 1 + 4, top + 1 + 41 + 97)  # in panMain, below the Palettes and Chips boxes
            hash_button = (color_box[0] + 226 + 8, color_box[1] + 15 + 8)
            copy_button = (color_box[0] + 186 + 19, color_box[1] + 15 + 8)
            x.click(*hash_button)
            move(x, (bx + 50, by + 50))
            app.wait_title(win, titled(BLUE))
            x.key("alt+c")
            wait_clipboard(x, f"#{BLUE}")

            # The Copy button itself copies what the title shows: with the cursor on the button,
            # the window's own pixel beneath it. The click waits until that pixel has been sampled.
            move(x, copy_button)
            app.wait_title(win, lambda t: not titled(BLUE)(t))
            x.xdotool("click", 1)  # in place: a --sync move to where the pointer already is never returns
            shown = app.title(win)
            found = re.fullmatch(r"Tintara - ([0-9A-F]{6})", shown)
            if not found:
                raise AssertionError(f"unexpected title over the Copy button: {shown!r}")
            wait_clipboard(x, f"#{found.group(1)}")

            expect(app.close(win), 0, "exit code")
            expect(app.read_file("Tintara.ini"), DEFAULT_INI, "Tintara.ini written from defaults")
            expect(app.read_file("palettes.xml"), DEFAULT_PALETTES, "palettes.xml of a first start")
    finally:
        x.remove_window(blue)


SCENARIOS = [scenario_first_start_sampling_and_copy]


def main(argv):
    if len(argv) != 2:
        print(__doc__)
        return 2
    binary = argv[1]
    results = []
    with Session(wm=True) as x:
        for scenario in SCENARIOS:
            try:
                scenario(x, binary)
                results.append(True)
                print(f"ok   {scenario.__name__}")
            except Exception:
                traceback.print_exc()
                results.append(False)
                print(f"FAIL {scenario.__name__}")
    passed = sum(results)
    print(f"{passed} passed, {len(results) - passed} failed")
    return 0 if passed == len(results) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))

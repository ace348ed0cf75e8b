#!/usr/bin/env python3
"""Sampling on a real X server: the window title, the chip and the magnifier follow the pixel under the
cursor, the arrow keys nudge the cursor, and the Color group's copy buttons put the colour on the
clipboard.

Usage: test_sampling.py PATH-TO-TINTARA
"""

import re
import sys

sys.dont_write_bytecode = True  # keep the source tree clean of __pycache__
from e2e_common import (App, client_origin, expect, frame_geometry, run_scenarios,  # noqa: E402
                        titled, wait_chips, wait_reading, wait_until)

ROOT = "FF8000"
BLUE = "1E90FF"
BLUE_RECT = (700, 300, 200, 150)  # well away from the window at 200,150 (295x595)

DEFAULT_INI = (
    "[Options]\r\nX=200\r\nY=150\r\nXOffset=0\r\nYOffset=0\r\nWidth=295\r\nHeight=595\r\n"
    "FirstRun=0\r\nIs4K=0\r\n\r\n"
    + "".join(f"[Panel{n}]\r\nClosed=0\r\n\r\n" for n in range(1, 6))
)
DEFAULT_PALETTES = '<Palettes><Palette name="Default"></Palette></Palettes>\r\n'


def wait_clipboard(x, expected):
    wait_reading(x.clipboard, lambda text: text == expected, f"clipboard {expected!r}",
                 shown="clipboard holds")


def scenario_first_start_sampling_and_copy(x, binary):
    """No settings, no palettes: default placement on top, title follows the cursor, the arrow
    keys move it one pixel, Alt+C / Alt+O / the Copy button fill the clipboard, and the close
    writes the default files."""
    x.set_root_color(f"#{ROOT}")
    blue = x.solid_window(*BLUE_RECT, f"#{BLUE}")
    bx, by = BLUE_RECT[0], BLUE_RECT[1]
    try:
        x.mouse_move(1100, 900)
        with App(x, binary) as app:
            win = app.wait_window()
            app.wait_title(win, titled(ROOT))

            # Placed at the default place, frame corner at 200,150, and kept above others.
            expect(frame_geometry(x, win), (200, 150, 295, 595), "frame position and client size")
            state = x.run(["xprop", "-id", win, "_NET_WM_STATE"]).stdout
            if "_NET_WM_STATE_ABOVE" not in state:
                raise AssertionError(f"window not kept above: {state.strip()}")

            # The title follows the cursor from one colour to the other and back.
            x.mouse_move(bx + 50, by + 50)
            app.wait_title(win, titled(BLUE))
            x.mouse_move(bx - 40, by + 50)
            app.wait_title(win, titled(ROOT))

            # Moves faster than the chip's 25 repaints a second, alternating between the colours:
            # once the cursor rests, the chip on the screen shows the colour it rests on.
            burst = [a for i in range(30)
                     for a in ("mousemove", str(bx + 50 if i % 2 else bx - 40), str(by + 50), "sleep", "0.01")]
            x.xdotool(*burst)
            app.wait_title(win, titled(BLUE))
            wait_chips(x, win, {1: (BLUE, False)})

            # Arrow keys (the first chip has the focus after start-up) move the cursor one pixel;
            # stepping round the blue rectangle's top-left corner crosses onto it and off again.
            x.activate(win)
            x.mouse_move(bx - 1, by - 1)
            app.wait_title(win, titled(ROOT))
            for key, position, color in (("Right", (bx, by - 1), ROOT), ("Down", (bx, by), BLUE),
                                         ("Left", (bx - 1, by), ROOT), ("Up", (bx - 1, by - 1), ROOT)):
                x.key(key)
                wait_until(lambda p=position: x.mouse_location() == p, 5.0,
                           what=f"{key} to move the cursor to {position}")
                app.wait_title(win, titled(color))

            # Alt+C copies the six hex digits, Alt+O the decimal colour (red + 256 green + 65536 blue).
            x.mouse_move(bx + 50, by + 50)
            app.wait_title(win, titled(BLUE))
            x.key("alt+c")
            wait_clipboard(x, BLUE)
            x.key("alt+o")
            wait_clipboard(x, str(0x1E + 256 * 0x90 + 65536 * 0xFF))

            # With "#" down the hex copy carries the hash. Clicking moves the cursor onto the window,
            # so the colour is picked up again before the key copy.
            left, top = client_origin(x, win)
            color_box = (left + 1 + 4, top + 1 + 41 + 97)  # in panMain, below the Palettes and Chips boxes
            hash_button = (color_box[0] + 226 + 8, color_box[1] + 15 + 8)
            copy_button = (color_box[0] + 186 + 19, color_box[1] + 15 + 8)
            x.click(*hash_button)
            x.mouse_move(bx + 50, by + 50)
            app.wait_title(win, titled(BLUE))
            x.key("alt+c")
            wait_clipboard(x, f"#{BLUE}")

            # The Copy button itself copies what the title shows: with the cursor on the button,
            # the window's own pixel beneath it. The click waits until that pixel has been sampled.
            x.mouse_move(*copy_button)
            app.wait_title(win, lambda t: not titled(BLUE)(t))
            x.click(*copy_button)
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


def magnifier_origin(x, win):
    """Screen position of the magnifier: in the Magnify box, below the four boxes above it."""
    left, top = client_origin(x, win)
    return left + 1 + 4 + 2, top + 1 + 41 + 97 + 58 + 195 + 36


def magnifier_colours(x, win):
    """The colours (RRGGBB) of a 24 x 24 patch near the magnifier's top-left corner, away from its
    hi-lite square."""
    left, top = magnifier_origin(x, win)
    return {f"{r:02X}{g:02X}{b:02X}" for row in x.x.get_image(left + 4, top + 4, 24, 24) for (r, g, b) in row}


def scenario_the_magnifier_follows_the_cursor_and_survives_an_expose(x, binary):
    """The magnifier on the screen shows what lies under the cursor after each move; covered by
    another window that then goes away, with the cursor resting, it shows the same again."""
    x.set_root_color(f"#{ROOT}")
    blue = x.solid_window(*BLUE_RECT, f"#{BLUE}")
    bx, by = BLUE_RECT[0], BLUE_RECT[1]
    try:
        x.mouse_move(1100, 900)
        with App(x, binary) as app:
            win = app.wait_window()
            app.wait_title(win, titled(ROOT))
            x.activate(win)
            shown = lambda: magnifier_colours(x, win)  # noqa: E731
            for point, colour in (((bx + 100, by + 75), BLUE), ((1100, 900), ROOT), ((bx + 90, by + 70), BLUE)):
                x.mouse_move(*point)
                wait_reading(shown, lambda seen, c=colour: seen == {c}, f"the magnifier to show {colour}")

            left, top = magnifier_origin(x, win)
            cover = x.solid_window(left - 10, top - 10, 120, 80, "#00FF00")
            wait_reading(shown, lambda seen: seen == {"00FF00"}, "the cover over the magnifier")
            x.remove_window(cover)
            wait_reading(shown, lambda seen: seen == {BLUE}, "the magnifier once the cover has gone")
            expect(app.close(win), 0, "exit code")
    finally:
        x.remove_window(blue)


SCENARIOS = [scenario_first_start_sampling_and_copy, scenario_the_magnifier_follows_the_cursor_and_survives_an_expose]

if __name__ == "__main__":
    sys.exit(run_scenarios(SCENARIOS, sys.argv, __doc__))

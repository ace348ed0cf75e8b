#!/usr/bin/env python3
"""The mixer on a real X server: operating a picker on each tab takes its colour into the current
chip, which stays locked while the cursor moves on over other colours.

Usage: test_mixer.py PATH-TO-TINTARA
"""

import re
import sys

sys.dont_write_bytecode = True  # keep the source tree clean of __pycache__
from e2e_common import App, client_origin, run_scenarios, wait_chips, wait_reading  # noqa: E402

ROOT = "FF8000"
INI = (
    "[Options]\r\nX=200\r\nY=150\r\nXOffset=0\r\nYOffset=0\r\nWidth=295\r\nHeight=595\r\n"
    "FirstRun=0\r\nIs4K=0\r\n\r\n"
    + "".join(f"[Panel{n}]\r\nClosed=0\r\n\r\n" for n in range(1, 6))
)

# The page control in the client area: panMain at (1, 1), the Mixer box below the Palettes (41),
# Chips (97) and Color (58) boxes, the page control at (4, 15) in the box.
PAGES = (1 + 4 + 4, 1 + 41 + 97 + 58 + 15)
# Centres of the tabs down the left side, relative to the page control.
TABS = {"Hex": (10, 14), "Rainbow": (10, 50), "Hue": (10, 88), "Sliders": (10, 124)}
# Where a tab's page starts within the page control (right of the tab strip).
PAGE_ORIGIN = (12, 2)


def title_hex(app, win):
    found = re.fullmatch(r"Tintara - ([0-9A-F]{6})", app.title(win))
    return found.group(1) if found else None


def in_pages(x, win, point):
    left, top = client_origin(x, win)
    return left + PAGES[0] + point[0], top + PAGES[1] + point[1]


def on_page(x, win, point):
    return in_pages(x, win, (PAGE_ORIGIN[0] + point[0], PAGE_ORIGIN[1] + point[1]))


def show_tab(x, win, name):
    x.click(*in_pages(x, win, TABS[name]))


def scenario_sliders_tab(x, binary):
    """With a colour grabbed, a short drag on the green slider changes only its green byte, and the
    chip stays locked when the cursor moves on."""
    x.set_root_color(f"#{ROOT}")
    patch = x.solid_window(700, 300, 200, 150, "#336699")
    try:
        x.mouse_move(800, 400)
        with App(x, binary, files={"Tintara.ini": INI}) as app:
            win = app.wait_window()
            app.wait_title(win, lambda t: t == "Tintara - 336699")
            x.activate(win)
            x.key("ctrl+g")
            wait_chips(x, win, {1: ("336699", True)})
            show_tab(x, win, "Sliders")
            # The green slider: 26 wide at x = 134, 143 high at y = 26 on its page.
            start = on_page(x, win, (134 + 13, 26 + 40))
            x.mouse_move(*start)
            x.xdotool("mousedown", "1")
            x.mouse_move(start[0], start[1] + 30)
            x.xdotool("mouseup", "1")
            wait_reading(lambda: title_hex(app, win),
                         lambda h: h is not None and h[:2] == "33" and h[4:] == "99" and h[2:4] != "66",
                         "the title to show the mixed green")
            mixed = title_hex(app, win)
            wait_chips(x, win, {1: (mixed, True)})
            x.mouse_move(1100, 900)  # over the orange background, then the blue patch
            x.mouse_move(800, 400)
            wait_chips(x, win, {1: (mixed, True)})
            if title_hex(app, win) != mixed:
                raise AssertionError(f"the locked chip was resampled: {app.title(win)!r}")
            app.close(win)
    finally:
        x.remove_window(patch)


def mix_and_move_on(x, app, win, act, what):
    """Runs act() over a picker; the title then shows a new colour that stays while the cursor moves
    on over the background, and the first chip shows it locked."""
    before = title_hex(app, win)
    act()
    wait_reading(lambda: title_hex(app, win), lambda h: h is not None and h != before, f"{what} to change the title")
    mixed = title_hex(app, win)
    wait_chips(x, win, {1: (mixed, True)})
    x.mouse_move(1100, 900)
    x.mouse_move(1000, 800)
    wait_chips(x, win, {1: (mixed, True)})
    if title_hex(app, win) != mixed:
        raise AssertionError(f"the locked chip was resampled after {what}: {app.title(win)!r}")
    return mixed


def scenario_hex_rainbow_and_hue_tabs(x, binary):
    """A click on a comb of the hexagon (the tab shown at start-up), a wheel notch over it, a short drag in
    the Rainbow field and a click in the Hue field each mix a colour into the locked chip."""
    x.set_root_color(f"#{ROOT}")
    x.mouse_move(1100, 900)
    with App(x, binary, files={"Tintara.ini": INI}) as app:
        win = app.wait_window()
        app.wait_title(win, lambda t: t == f"Tintara - {ROOT}")

        # The comb just east of the centre of the 142 x 138 hexagon at (17, 31) on its page.
        east = on_page(x, win, (17 + 69, 31 + 53))
        mixed = mix_and_move_on(x, app, win, lambda: x.click(*east), "a click on a comb")
        if mixed != "FFD4FF":
            raise AssertionError(f"the comb east of the centre gave {mixed}")

        # One notch towards the user lowers the intensity by one point; one away brings it back.
        x.mouse_move(*east)
        dimmed = mix_and_move_on(x, app, win, lambda: x.click(*east, button=5), "a wheel notch")
        x.mouse_move(*east)
        mix_and_move_on(x, app, win, lambda: x.click(*east, button=4), "a wheel notch back")
        if title_hex(app, win) != "FFD4FF" or dimmed == "FFD4FF":
            raise AssertionError(f"intensity notches gave {dimmed} and {title_hex(app, win)}")

        # The Rainbow field: 127 x 127 at (0, 8) in the composite at (10, 26) on its page.
        show_tab(x, win, "Rainbow")
        start = on_page(x, win, (10 + 30, 26 + 8 + 40))

        def drag():
            x.mouse_move(*start)
            x.xdotool("mousedown", "1")
            x.mouse_move(start[0] + 20, start[1] + 10)
            x.xdotool("mouseup", "1")
        mix_and_move_on(x, app, win, drag, "a drag in the Rainbow field")

        # The Hue tab's saturation-luminance field, same place.
        show_tab(x, win, "Hue")
        mix_and_move_on(x, app, win, lambda: x.click(*on_page(x, win, (10 + 90, 26 + 8 + 30))),
                        "a click in the Hue field")
        app.close(win)


SCENARIOS = [scenario_sliders_tab, scenario_hex_rainbow_and_hue_tabs]

if __name__ == "__main__":
    sys.exit(run_scenarios(SCENARIOS, sys.argv, __doc__))

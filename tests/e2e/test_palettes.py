#!/usr/bin/env python3
"""Palettes on a real X server: "palettes.xml" fills the chips at start, the locked chips are
written back into the chosen palette at close, a file the program cannot read is never
overwritten, a first start creates the file, and "New" appends a palette.

Usage: test_palettes.py PATH-TO-TINTARA
"""

import contextlib
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree clean of __pycache__
from e2e_common import (App, client_origin, expect, run_scenarios, titled, wait_chips,  # noqa: E402
                        wait_until)

ROOT = "2E8B57"
BLUE = "1E90FF"
WHITE = "FFFFFF"
BLUE_RECT = (700, 300, 200, 150)
ON_ROOT = (1000, 900)
ON_BLUE = (BLUE_RECT[0] + 50, BLUE_RECT[1] + 50)

WARM = ('<Palettes><Palette name="Warm"><Color COLOR="#FF8000"></Color><Color COLOR="#FFD700"></Color>'
        '</Palette><Palette name="Empty"></Palette></Palettes>\r\n')


def lock_chip(x, app, win, n, point, color):
    """F<n>, the cursor onto `point` (showing `color`), Ctrl+G; returns once chip n shows its check
    mark. The cursor must come from elsewhere: the magnifier samples only when the cursor moves."""
    x.key(f"F{n}")
    x.mouse_move(*point)
    app.wait_title(win, titled(color))
    x.key("ctrl+g")
    wait_chips(x, win, {n: (color, True)})


def scenario_palette_loads_and_round_trips(x, binary):
    """The first palette fills chips 1 and 2, locked; chip 1 is current, so the title shows its
    colour wherever the cursor is. A run that changes nothing writes the same bytes back."""
    x.mouse_move(*ON_ROOT)
    with App(x, binary, files={"palettes.xml": WARM}) as app:
        win = app.wait_window()
        app.wait_title(win, titled("FF8000"))
        wait_chips(x, win, {1: ("FF8000", True), 2: ("FFD700", True), 3: (WHITE, False)})
        x.mouse_move(*ON_BLUE)
        time.sleep(0.5)
        expect(app.title(win), "Tintara - FF8000", "title with the locked chip 1 current")
        expect(app.close(win), 0, "exit code")
        expect(app.read_file("palettes.xml"), WARM, "palettes.xml after a run that changed nothing")


def scenario_locked_chip_is_stored_and_reloaded(x, binary):
    """Locking chip 5 adds its colour as the palette's third (chip positions are not kept), and the
    next start loads it into chip 3."""
    stored = WARM.replace('<Color COLOR="#FFD700"></Color>',
                          f'<Color COLOR="#FFD700"></Color><Color COLOR="#{BLUE}"></Color>')
    x.mouse_move(*ON_ROOT)
    with App(x, binary, files={"palettes.xml": WARM}) as app:
        win = app.wait_window()
        app.wait_title(win, titled("FF8000"))
        x.activate(win)
        lock_chip(x, app, win, 5, ON_BLUE, BLUE)
        expect(app.close(win), 0, "exit code")
        expect(app.read_file("palettes.xml"), stored, "palettes.xml with chip 5 locked")

    x.mouse_move(*ON_ROOT)
    with App(x, binary, files={"palettes.xml": stored}) as app:
        win = app.wait_window()
        wait_chips(x, win, {3: (BLUE, True), 4: (WHITE, False), 5: (WHITE, False)})
        expect(app.close(win), 0, "exit code of the second run")


def scenario_malformed_file_is_kept(x, binary):
    """A file that does not parse leaves the program without palettes: it samples as usual, still
    closes (writing its settings) and leaves the file's bytes alone, even with a chip locked."""
    broken = '<Palettes><Palette name="Warm"><Color COLOR="#FF8000"></Palette></Palettes>\r\n'
    x.mouse_move(*ON_ROOT)
    with App(x, binary, files={"palettes.xml": broken}) as app:
        win = app.wait_window()
        app.wait_title(win, titled(ROOT))
        x.activate(win)
        lock_chip(x, app, win, 1, ON_BLUE, BLUE)
        expect(app.close(win), 0, "exit code")
        expect(app.read_file("palettes.xml", binary=True), broken.encode(), "bytes of the malformed file")
        if "[Options]" not in app.read_file("Tintara.ini"):
            raise AssertionError("Tintara.ini not written after the palette step")


def scenario_first_start_creates_default(x, binary):
    """Without a file the chips are stored into a fresh "Default" palette at close."""
    x.mouse_move(*ON_BLUE)
    with App(x, binary) as app:
        win = app.wait_window()
        app.wait_title(win, titled(BLUE))
        x.activate(win)
        x.key("ctrl+g")
        wait_chips(x, win, {1: (BLUE, True)})
        expect(app.close(win), 0, "exit code")
        expect(app.read_file("palettes.xml"),
               f'<Palettes><Palette name="Default"><Color COLOR="#{BLUE}"></Color></Palette></Palettes>\r\n',
               "palettes.xml of a first start with chip 1 locked")


def scenario_new_palette_from_the_button(x, binary):
    """The "New" button stores the chips, asks for a name in a box captioned "Tintara", drops the "&"
    from the name and appends the empty palette, which is the one in use at close."""
    x.mouse_move(*ON_ROOT)
    with App(x, binary, files={"palettes.xml": WARM}) as app:
        win = app.wait_window()
        app.wait_title(win, titled("FF8000"))
        left, top = client_origin(x, win)
        x.click(left + 1 + 4 + 162 + 17, top + 1 + 17 + 8)  # cmdNew in the Palettes box
        box = wait_until(lambda: next((w for w in app.windows(".*") if w != win), None), 5.0,
                         what="the name prompt")
        expect(x.window_name(box), "Tintara", "caption of the name prompt")
        x.activate(box)
        x.type_text("Black & White")
        x.key("Return")
        wait_until(lambda: box not in app.windows(".*"), 5.0, what="the name prompt to close")
        wait_chips(x, win, {1: (None, False), 2: (WHITE, False)})
        expect(app.close(win), 0, "exit code")
        expect(app.read_file("palettes.xml"),
               WARM.replace("</Palettes>", '<Palette name="Black  White"></Palette></Palettes>'),
               "palettes.xml after New")


SCENARIOS = [scenario_palette_loads_and_round_trips, scenario_locked_chip_is_stored_and_reloaded,
             scenario_malformed_file_is_kept, scenario_first_start_creates_default,
             scenario_new_palette_from_the_button]


@contextlib.contextmanager
def backdrop(x):
    """The root and the blue rectangle that every scenario here samples."""
    x.set_root_color(f"#{ROOT}")
    blue = x.solid_window(*BLUE_RECT, f"#{BLUE}")
    try:
        yield
    finally:
        x.remove_window(blue)


if __name__ == "__main__":
    sys.exit(run_scenarios(SCENARIOS, sys.argv, __doc__, backdrop))

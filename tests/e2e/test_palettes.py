#!/usr/bin/env python3
"""Palettes on a real X server: "palettes.xml" fills the chips at start, the locked chips are
written back into the chosen palette at close, a file the program cannot read is never
overwritten, a first start creates the file, and "New" appends a palette.

Usage: test_palettes.py PATH-TO-TINTARA
"""

import os
import re
import sys
import time
import traceback

sys.dont_write_bytecode = True  # keep the source tree clean of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import App, Session, _wait_until as wait_until  # noqa: E402

ROOT = "2E8B57"
BLUE = "1E90FF"
WHITE = "FFFFFF"
BLUE_RECT = (700, 300, 200, 150)
ON_ROOT = (1000, 900)
ON_BLUE = (BLUE_RECT[0] + 50, BLUE_RECT[1] + 50)

WARM = ('<Palettes><Palette name="Warm"><Color COLOR="#FF8000"></Color><Color COLOR="#FFD700"></Color>'
        '</Palette><Palette name="Empty"></Palette></Palettes>\r\n')


def expect(actual, expected, what):
    if actual != expected:
        raise AssertionError(f"{what}: expected {expected!r}, got {actual!r}")


def move(x, point):
    """x.mouse_move, except where the pointer already is (xdotool's --sync move would wait forever)."""
    if x.mouse_location() != tuple(point):
        x.mouse_move(*point)


def titled(hex_color):
    return lambda title: title == f"Tintara - {hex_color}"


def client_origin(x, win):
    """Screen position of the window's client area."""
    out = x.run(["xwininfo", "-id", win]).stdout
    return tuple(int(re.search(rf"{label}:\s+(-?\d+)", out).group(1))
                 for label in ("Absolute upper-left X", "Absolute upper-left Y"))


def chip_face(x, win, n):
    """(colour as RRGGBB, whether a check mark shows) of chip n as painted on the screen."""
    left, top = client_origin(x, win)
    row1 = (11, 43, 75, 107, 139, 171, 203, 235)
    row2 = (10, 43, 75, 107, 139, 171, 203, 235)
    chip_x = (row1[n - 1] if n <= 8 else row2[n - 9]) + 1 + 4  # chip in the Chips box, box in panMain
    chip_y = (15 if n <= 8 else 47) + 1 + 41
    pixels = [p for row in x.x.get_image(left + chip_x + 3, top + chip_y + 3, 23, 24) for p in row]
    face = max(set(pixels), key=pixels.count)
    return "%02X%02X%02X" % face, any(p != face for p in pixels)


def wait_chips(x, win, expected):
    """expected: chip number -> (RRGGBB or None for any colour, marked)."""
    last = [None]

    def check():
        last[0] = {n: chip_face(x, win, n) for n in expected}
        return all(last[0][n][1] == marked and color in (None, last[0][n][0])
                   for n, (color, marked) in expected.items())
    try:
        wait_until(check, 5.0, what=f"chips {expected}")
    except Exception as e:
        raise AssertionError(f"{e}; they show {last[0]}") from None


def lock_chip(x, app, win, n, point, color):
    """F<n>, the cursor onto `point` (showing `color`), Ctrl+G; returns once chip n shows its check
    mark. The cursor must come from elsewhere: the magnifier samples only when the cursor moves."""
    x.key(f"F{n}")
    move(x, point)
    app.wait_title(win, titled(color))
    x.key("ctrl+g")
    wait_chips(x, win, {n: (color, True)})


def scenario_palette_loads_and_round_trips(x, binary):
    """The first palette fills chips 1 and 2, locked; chip 1 is current, so the title shows its
    colour wherever the cursor is. A run that changes nothing writes the same bytes back."""
    move(x, ON_ROOT)
    with App(x, binary, files={"palettes.xml": WARM}) as app:
        win = app.wait_window()
        app.wait_title(win, titled("FF8000"))
        wait_chips(x, win, {1: ("FF8000", True), 2: ("FFD700", True), 3: (WHITE, False)})
        move(x, ON_BLUE)
        time.sleep(0.5)
        expect(app.title(win), "Tintara - FF8000", "title with the locked chip 1 current")
        expect(app.close(win), 0, "exit code")
        expect(app.read_file("palettes.xml"), WARM, "palettes.xml after a run that changed nothing")


def scenario_locked_chip_is_stored_and_reloaded(x, binary):
    """Locking chip 5 adds its colour as the palette's third (chip positions are not kept), and the
    next start loads it into chip 3."""
    stored = WARM.replace('<Color COLOR="#FFD700"></Color>',
                          f'<Color COLOR="#FFD700"></Color><Color COLOR="#{BLUE}"></Color>')
    move(x, ON_ROOT)
    with App(x, binary, files={"palettes.xml": WARM}) as app:
        win = app.wait_window()
        app.wait_title(win, titled("FF8000"))
        x.activate(win)
        lock_chip(x, app, win, 5, ON_BLUE, BLUE)
        expect(app.close(win), 0, "exit code")
        expect(app.read_file("palettes.xml"), stored, "palettes.xml with chip 5 locked")

    move(x, ON_ROOT)
    with App(x, binary, files={"palettes.xml": stored}) as app:
        win = app.wait_window()
        wait_chips(x, win, {3: (BLUE, True), 4: (WHITE, False), 5: (WHITE, False)})
        expect(app.close(win), 0, "exit code of the second run")


def scenario_malformed_file_is_kept(x, binary):
    """A file that does not parse leaves the program without palettes: it samples as usual, still
    closes (writing its settings) and leaves the file's bytes alone, even with a chip locked."""
    broken = '<Palettes><Palette name="Warm"><Color COLOR="#FF8000"></Palette></Palettes>\r\n'
    move(x, ON_ROOT)
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
    move(x, ON_BLUE)
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
    move(x, ON_ROOT)
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


def main(argv):
    if len(argv) != 2:
        print(__doc__)
        return 2
    binary = argv[1]
    results = []
    with Session(wm=True) as x:
        x.set_root_color(f"#{ROOT}")
        blue = x.solid_window(*BLUE_RECT, f"#{BLUE}")
        for scenario in SCENARIOS:
            try:
                scenario(x, binary)
                results.append(True)
                print(f"ok   {scenario.__name__}")
            except Exception:
                traceback.print_exc()
                results.append(False)
                print(f"FAIL {scenario.__name__}")
        x.remove_window(blue)
    passed = sum(results)
    print(f"{passed} passed, {len(results) - passed} failed")
    return 0 if passed == len(results) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))

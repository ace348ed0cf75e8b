#!/usr/bin/env python3
"""Chips and the settings file on a real X server: Ctrl+G locks the current chip, F1..F16 choose
chips; "Tintara.ini" places the window, sets the sampling offsets and the 4K doubling, and is
written back at close (window close or SIGTERM) in its documented form.

Usage: test_chips_settings.py PATH-TO-TINTARA
"""

import os
import re
import signal
import sys
import time
import traceback

sys.dont_write_bytecode = True  # keep the source tree clean of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import App, HarnessError, Session, _wait_until as wait_until  # noqa: E402

ROOT = "FF8000"
BLUE = "1E90FF"
GREEN = "2E8B57"
WHITE = "FFFFFF"
BLUE_RECT = (700, 300, 200, 150)
GREEN_RECT = (950, 300, 200, 150)

PANELS_OPEN = "".join(f"[Panel{n}]\r\nClosed=0\r\n\r\n" for n in range(1, 6))


def expect(actual, expected, what):
    if actual != expected:
        raise AssertionError(f"{what}: expected {expected!r}, got {actual!r}")


def move(x, point):
    """x.mouse_move, except where the pointer already is (xdotool's --sync move would wait forever)."""
    if x.mouse_location() != tuple(point):
        x.mouse_move(*point)


def titled(hex_color):
    return lambda title: title == f"Tintara - {hex_color}"


def inside(rect, dx=50, dy=50):
    return rect[0] + dx, rect[1] + dy


def client_geometry(x, win):
    """(left, top, width, height) of the window's client area on the screen."""
    out = x.run(["xwininfo", "-id", win]).stdout
    return tuple(int(re.search(rf"{label}:\s+(-?\d+)", out).group(1))
                 for label in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))


def frame_geometry(x, win):
    """(left, top) of openbox's frame and (width, height) of the client: the window's own numbers."""
    def extents():
        out = x.run(["xprop", "-id", win, "_NET_FRAME_EXTENTS"]).stdout
        found = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", out)
        return tuple(int(v) for v in found.groups()) if found else None
    ext_left, _, ext_top, _ = wait_until(extents, 5.0, what="_NET_FRAME_EXTENTS")
    left, top, width, height = client_geometry(x, win)
    return left - ext_left, top - ext_top, width, height


def chip_face(x, win, n):
    """(colour as RRGGBB, whether a check mark shows) of chip n as painted on the screen."""
    left, top, _, _ = client_geometry(x, win)
    row1 = (11, 43, 75, 107, 139, 171, 203, 235)
    row2 = (10, 43, 75, 107, 139, 171, 203, 235)
    chip_x = (row1[n - 1] if n <= 8 else row2[n - 9]) + 1 + 4  # chip in the Chips box, box in panMain
    chip_y = (15 if n <= 8 else 47) + 1 + 41
    pixels = [p for row in x.x.get_image(left + chip_x + 3, top + chip_y + 3, 23, 24) for p in row]
    face = max(set(pixels), key=pixels.count)
    return "%02X%02X%02X" % face, any(p != face for p in pixels)


def wait_chip(x, win, n, color, marked):
    """Waits until chip n shows `color` (None: any) with or without a check mark."""
    last = [None]

    def check():
        last[0] = chip_face(x, win, n)
        return last[0][1] == marked and color in (None, last[0][0])
    try:
        mark = "with" if marked else "without"
        wait_until(check, 5.0, what=f"chip {n} to show {color or 'a colour'} {mark} a check mark")
    except Exception as e:
        raise AssertionError(f"{e}; it shows {last[0]}") from None


def scenario_chips_and_exact_round_trip(x, binary):
    """Ctrl+G freezes chip 1, F2 follows the cursor, F1 shows the locked colour again; the window
    and the offsets come from the file, and a run that moves nothing writes the same bytes back."""
    ini = ("[Options]\r\nX=300\r\nY=100\r\nXOffset=7\r\nYOffset=-3\r\nWidth=320\r\nHeight=640\r\n"
           "FirstRun=0\r\nIs4K=0\r\n\r\n" + PANELS_OPEN)
    x.set_root_color(f"#{ROOT}")
    windows = [x.solid_window(*BLUE_RECT, f"#{BLUE}"), x.solid_window(*GREEN_RECT, f"#{GREEN}")]
    try:
        move(x, (600, 900))
        with App(x, binary, files={"Tintara.ini": ini}) as app:
            win = app.wait_window()
            expect(frame_geometry(x, win), (300, 100, 320, 640), "window placed from the file")
            app.wait_title(win, titled(ROOT))

            # The sampled point is the cursor plus (7, -3): just left of and below the blue
            # rectangle's corner, the cursor sits on the root while the sample falls inside.
            move(x, (BLUE_RECT[0] - 5, BLUE_RECT[1] + BLUE_RECT[3] + 1))
            app.wait_title(win, titled(BLUE))

            move(x, (600, 900))
            app.wait_title(win, titled(ROOT))
            x.activate(win)
            x.key("ctrl+g")
            wait_chip(x, win, 1, ROOT, True)

            # Locked: the cursor over blue changes nothing (fifty ticks pass meanwhile).
            move(x, inside(BLUE_RECT))
            time.sleep(0.5)
            expect(app.title(win), f"Tintara - {ROOT}", "title while chip 1 is locked")
            wait_chip(x, win, 1, ROOT, True)

            # Chip 2 follows the cursor again; back on chip 1 the locked colour returns, and the
            # unlocked chip 2 turns white as it stops being current.
            x.key("F2")
            app.wait_title(win, titled(BLUE))
            wait_chip(x, win, 2, BLUE, False)
            move(x, inside(GREEN_RECT))
            app.wait_title(win, titled(GREEN))
            x.key("F1")
            app.wait_title(win, titled(ROOT))
            wait_chip(x, win, 2, WHITE, False)

            # Ctrl+G again unlocks: the mark goes, and chip 1 follows the cursor from its next move.
            x.key("ctrl+g")
            wait_chip(x, win, 1, None, False)
            move(x, inside(BLUE_RECT))
            app.wait_title(win, titled(BLUE))
            wait_chip(x, win, 1, BLUE, False)

            expect(app.close(win), 0, "exit code")
            expect(app.read_file("Tintara.ini"), ini, "Tintara.ini after a run that moved nothing")
    finally:
        for w in windows:
            x.remove_window(w)


def scenario_hand_edited_file_and_sigterm(x, binary):
    """A hand-edited file (LF line ends, lower-case section, hex and bad numbers, a collapsed Color
    panel stored as 2, comments, an unknown section) read and rewritten whole on SIGTERM."""
    ini = ("; my settings\n[options]\nX=abc\nY = 120\nWidth=0x200\n; keep it tall\nHeight=600\n\n"
           "[Panel3]\nClosed=2\n[Extra]\nFoo = bar\nJustText\n")
    expected = ("[options]\r\nX=200\r\nY=120\r\nWidth=512\r\nHeight=600\r\nXOffset=0\r\nYOffset=0\r\n"
                "FirstRun=0\r\nIs4K=0\r\n\r\n"
                "[Panel3]\r\nClosed=1\r\n\r\n"
                "[Extra]\r\nFoo=bar\r\nJustText\r\n\r\n"
                + "".join(f"[Panel{n}]\r\nClosed=0\r\n\r\n" for n in (1, 2, 4, 5)))
    x.set_root_color(f"#{ROOT}")
    move(x, (900, 900))
    with App(x, binary, files={"Tintara.ini": ini}) as app:
        win = app.wait_window()
        app.wait_title(win, titled(ROOT))
        expect(frame_geometry(x, win), (200, 120, 512, 600), "window placed from the hand-edited file")
        app.proc.send_signal(signal.SIGTERM)
        expect(app.proc.wait(timeout=10), 0, "exit code after SIGTERM")
        expect(app.read_file("Tintara.ini"), expected, "Tintara.ini rewritten")
        expect(app.read_file("palettes.xml"), '<Palettes><Palette name="Default"></Palette></Palettes>\r\n',
               "palettes.xml written by the same close sequence")


def scenario_first_run_question(x, binary):
    """FirstRun=1 asks about a 4K monitor before the window shows; Yes doubles the sampled
    coordinates and is remembered, and the question is not asked again."""
    cursor = (560, 420)
    target = (1100, 820, 40, 40)  # holds the doubled cursor position (1120, 840)
    expected = ("[Options]\r\nFirstRun=0\r\nX=200\r\nY=150\r\nXOffset=0\r\nYOffset=0\r\nWidth=295\r\n"
                "Height=595\r\nIs4K=1\r\n\r\n" + PANELS_OPEN)
    x.set_root_color(f"#{ROOT}")
    green = x.solid_window(*target, f"#{GREEN}")
    try:
        move(x, cursor)
        with App(x, binary, files={"Tintara.ini": "[Options]\r\nFirstRun=1\r\n"}) as app:
            # The question comes first: the only window, a small one (the main window is 595 high).
            box = app.wait_window()
            box_height = client_geometry(x, box)[3]
            if box_height >= 300:
                raise AssertionError(f"the first window is {box_height} high: not the question")

            def answer_yes():
                if box not in app.windows():
                    return True
                try:
                    x.activate(box)
                    x.key("Return")  # Yes is the default button
                except HarnessError:
                    pass  # the box went away between the look and the key
                return False
            wait_until(answer_yes, 10.0, interval=0.5, what="the question to be answered")

            win = app.wait_window()
            app.wait_title(win, titled(GREEN))
            expect(app.close(win), 0, "exit code")
            expect(app.read_file("Tintara.ini"), expected, "Tintara.ini after answering Yes")
    finally:
        x.remove_window(green)


SCENARIOS = [scenario_chips_and_exact_round_trip, scenario_hand_edited_file_and_sigterm,
             scenario_first_run_question]


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

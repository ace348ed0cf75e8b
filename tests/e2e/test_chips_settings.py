#!/usr/bin/env python3
"""Chips and the settings file on a real X server: Ctrl+G locks the current chip, F1..F16 choose
chips; "Tintara.ini" places the window, sets the sampling offsets and the 4K doubling, and is
written back at close (window close or SIGTERM) in its exact file form.

Usage: test_chips_settings.py PATH-TO-TINTARA
"""

import signal
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree clean of __pycache__
from e2e_common import (App, HarnessError, client_geometry, expect, frame_geometry,  # noqa: E402
                        run_scenarios, titled, wait_chips, wait_until)

ROOT = "FF8000"
BLUE = "1E90FF"
GREEN = "2E8B57"
WHITE = "FFFFFF"
BLUE_RECT = (700, 300, 200, 150)
GREEN_RECT = (950, 300, 200, 150)

PANELS_OPEN = "".join(f"[Panel{n}]\r\nClosed=0\r\n\r\n" for n in range(1, 6))


def inside(rect, dx=50, dy=50):
    return rect[0] + dx, rect[1] + dy


def scenario_chips_and_exact_round_trip(x, binary):
    """Ctrl+G freezes chip 1, F2 follows the cursor, F1 shows the locked colour again; the window
    and the offsets come from the file, and a run that moves nothing writes the same bytes back."""
    ini = ("[Options]\r\nX=300\r\nY=100\r\nXOffset=7\r\nYOffset=-3\r\nWidth=320\r\nHeight=640\r\n"
           "FirstRun=0\r\nIs4K=0\r\n\r\n" + PANELS_OPEN)
    x.set_root_color(f"#{ROOT}")
    windows = [x.solid_window(*BLUE_RECT, f"#{BLUE}"), x.solid_window(*GREEN_RECT, f"#{GREEN}")]
    try:
        x.mouse_move(600, 900)
        with App(x, binary, files={"Tintara.ini": ini}) as app:
            win = app.wait_window()
            expect(frame_geometry(x, win), (300, 100, 320, 640), "window placed from the file")
            app.wait_title(win, titled(ROOT))

            # The sampled point is the cursor plus (7, -3): just left of and below the blue
            # rectangle's corner, the cursor sits on the root while the sample falls inside.
            x.mouse_move(BLUE_RECT[0] - 5, BLUE_RECT[1] + BLUE_RECT[3] + 1)
            app.wait_title(win, titled(BLUE))

            x.mouse_move(600, 900)
            app.wait_title(win, titled(ROOT))
            x.activate(win)
            x.key("ctrl+g")
            wait_chips(x, win, {1: (ROOT, True)})

            # Locked: the cursor over blue changes nothing (fifty ticks pass meanwhile).
            x.mouse_move(*inside(BLUE_RECT))
            time.sleep(0.5)
            expect(app.title(win), f"Tintara - {ROOT}", "title while chip 1 is locked")
            wait_chips(x, win, {1: (ROOT, True)})

            # Chip 2 follows the cursor again; back on chip 1 the locked colour returns, and the
            # unlocked chip 2 turns white as it stops being current.
            x.key("F2")
            app.wait_title(win, titled(BLUE))
            wait_chips(x, win, {2: (BLUE, False)})
            x.mouse_move(*inside(GREEN_RECT))
            app.wait_title(win, titled(GREEN))
            x.key("F1")
            app.wait_title(win, titled(ROOT))
            wait_chips(x, win, {2: (WHITE, False)})

            # Ctrl+G again unlocks: the mark goes, and chip 1 follows the cursor from its next move.
            x.key("ctrl+g")
            wait_chips(x, win, {1: (None, False)})
            x.mouse_move(*inside(BLUE_RECT))
            app.wait_title(win, titled(BLUE))
            wait_chips(x, win, {1: (BLUE, False)})

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
    x.mouse_move(900, 900)
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
        x.mouse_move(*cursor)
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

if __name__ == "__main__":
    sys.exit(run_scenarios(SCENARIOS, sys.argv, __doc__))

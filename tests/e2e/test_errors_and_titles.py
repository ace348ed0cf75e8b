#!/usr/bin/env python3
"""Faults only a real X server shows: an error that leaves a handler (the cursor on another X
screen) is reported in an error box and the program carries on; entering the palette list saves
once, not again when focus comes back to it; the taskbar title comes back after a restore while
the cursor stays still; and the keyboard reaches the window once from an edit field: Ctrl+G in the
hex field locks the chip, so a typed colour stays.

Usage: test_errors_and_titles.py PATH-TO-TINTARA
"""

import os
import re
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree clean of __pycache__
from e2e_common import (App, chip_face, client_origin, expect, run_scenarios, titled,  # noqa: E402
                        wait_chips, wait_reading, wait_until)

ROOT = "336699"


def magnify_box(x, win):
    """Screen position of the Magnify box: in panMain, below the four boxes of designed height."""
    left, top = client_origin(x, win)
    return left + 1 + 4, top + 1 + 41 + 97 + 58 + 195


def error_boxes(app):
    """The program's error boxes: its windows titled just "Tintara" (the main window's title
    carries the colour)."""
    return app.windows("^Tintara$")


def dismiss_error_box(x, app, what):
    """Waits for the error box that `what` must have caused and answers it with Enter."""
    boxes = wait_until(lambda: error_boxes(app), 5.0, what=f"an error box after {what}")
    if not app.running():
        raise AssertionError(f"Tintara ended after {what}")
    x.activate(boxes[0])
    x.key("Return")
    wait_until(lambda: not error_boxes(app), 5.0, what=f"the error box of {what} to close")


def icon_name(x, win):
    out = x.run(["xprop", "-id", win, "_NET_WM_ICON_NAME"]).stdout
    found = re.search(r'=\s*"(.*)"', out)
    return found.group(1) if found else None


def scenario_an_unreadable_cursor_is_reported_and_the_program_goes_on(x, binary):
    """With the pointer on the second X screen the cursor cannot be read: F2, a zoom change and
    the Hi-Lite and Grid toggles each show one error box and the program goes on; the sampling
    loop says nothing; a chip click works again, and closing writes both files."""
    x.set_root_color(f"#{ROOT}")
    x.mouse_move(1100, 900)
    with App(x, binary) as app:
        win = app.wait_window()
        app.wait_title(win, titled(ROOT))
        x.activate(win)

        # Give the zoom slider the keyboard focus with a press on its handle (position 5 of 1..36
        # sits at the left end), which leaves its value alone.
        box_left, box_top = magnify_box(x, win)
        x.click(box_left + 2 + 221 + 11, box_top + 14 + 8)

        x.mouse_to_screen(1, 300, 300)
        expect(x.pointer_screen(), 1, "screen with the pointer")
        time.sleep(0.3)  # many ticks with an unreadable cursor: none of them reports
        expect(error_boxes(app), [], "error boxes from the sampling loop")

        for keys, what in (("F2", "F2"), ("Right", "a zoom change"), ("alt+l", "the Hi-Lite toggle"),
                           ("alt+g", "the Grid toggle")):
            x.activate(win)
            x.key(keys)
            dismiss_error_box(x, app, what)
        time.sleep(0.3)
        expect(error_boxes(app), [], "error boxes from the sampling loop")
        if not app.running():
            raise AssertionError("Tintara ended")

        # Back on screen 0 everything works: a chip click selects the chip and it follows the cursor.
        left, top = client_origin(x, win)
        x.click(left + 1 + 4 + 107 + 10, top + 1 + 41 + 15 + 10)  # chip 4
        x.mouse_move(1100, 900)
        app.wait_title(win, titled(ROOT))
        wait_chips(x, win, {4: (ROOT, False)})
        expect(error_boxes(app), [], "error boxes after the cursor came back")

        expect(app.close(win), 0, "exit code")
        if "terminate" in app.stderr():
            raise AssertionError(f"stderr: {app.stderr()}")
        if not app.read_file("Tintara.ini").startswith("[Options]"):
            raise AssertionError("Tintara.ini not written")
        expect(app.read_file("palettes.xml"), '<Palettes><Palette name="Default"></Palette></Palettes>\r\n',
               "palettes.xml")


def scenario_the_taskbar_title_comes_back_after_a_restore(x, binary):
    """Minimising shows "Tintara" on the taskbar; restoring with the cursor still brings the
    colour back with the first tick."""
    x.set_root_color(f"#{ROOT}")
    x.mouse_move(1100, 900)
    with App(x, binary) as app:
        win = app.wait_window()
        app.wait_title(win, titled(ROOT))
        wait_reading(lambda: icon_name(x, win), titled(ROOT), "the taskbar title")
        x.xdotool("windowminimize", "--sync", win)
        wait_reading(lambda: icon_name(x, win), lambda t: t == "Tintara", "the taskbar title when minimised")
        x.activate(win)
        wait_reading(lambda: icon_name(x, win), titled(ROOT), "the taskbar title after the restore")
        expect(app.title(win), f"Tintara - {ROOT}", "window title")
        expect(app.close(win), 0, "exit code")


def scenario_ctrl_g_in_the_hex_field_locks_the_chip_for_a_typed_colour(x, binary):
    """Click into the hex field, Ctrl+G, type a colour: the chip is locked with that colour and
    keeps it while the cursor moves over other colours."""
    x.set_root_color(f"#{ROOT}")
    x.mouse_move(1100, 900)
    with App(x, binary) as app:
        win = app.wait_window()
        app.wait_title(win, titled(ROOT))
        left, top = client_origin(x, win)
        hex_field = (left + 1 + 4 + 124 + 20, top + 1 + 41 + 97 + 15 + 8)
        x.click(*hex_field)
        x.key("ctrl+g")
        wait_chips(x, win, {1: (None, True)})
        x.key("ctrl+a")
        x.type_text("C0FFEE")
        x.mouse_move(1100, 900)
        app.wait_title(win, titled("C0FFEE"))
        wait_chips(x, win, {1: ("C0FFEE", True)})
        time.sleep(0.2)
        expect(chip_face(x, win, 1), ("C0FFEE", True), "chip 1 after the cursor moved")
        expect(app.close(win), 0, "exit code")


def scenario_entering_the_palette_list_saves_once(x, binary):
    """With a palettes.xml that cannot be replaced every save shows an error box, so the saves can
    be counted: clicking into the list saves once; closing that box (the window becomes active
    again) and opening and closing the list's drop-down save nothing more."""
    import os
    x.set_root_color(f"#{ROOT}")
    x.mouse_move(1100, 900)
    with App(x, binary) as app:
        win = app.wait_window()
        app.wait_title(win, titled(ROOT))
        os.mkdir(app.path("palettes.xml"))  # a folder in its place: the save's rename fails
        left, top = client_origin(x, win)
        x.click(left + 1 + 4 + 8 + 75, top + 1 + 16 + 9)
        dismiss_error_box(x, app, "entering the list")
        time.sleep(1.0)
        expect(error_boxes(app), [], "error boxes after the one save of entering the list")
        x.activate(win)
        x.key("Escape")  # the drop-down, if the box left it open
        x.key("alt+Down")
        time.sleep(0.3)
        x.key("Escape")
        time.sleep(1.0)
        expect(error_boxes(app), [], "error boxes after the drop-down closed")
        os.rmdir(app.path("palettes.xml"))
        expect(app.close(win), 0, "exit code")
        expect(app.read_file("palettes.xml"), '<Palettes><Palette name="Default"></Palette></Palettes>\r\n',
               "palettes.xml")


SCENARIOS = [scenario_an_unreadable_cursor_is_reported_and_the_program_goes_on,
             scenario_entering_the_palette_list_saves_once,
             scenario_the_taskbar_title_comes_back_after_a_restore,
             scenario_ctrl_g_in_the_hex_field_locks_the_chip_for_a_typed_colour]

if __name__ == "__main__":
    sys.exit(run_scenarios(SCENARIOS, sys.argv, __doc__, screens=2))

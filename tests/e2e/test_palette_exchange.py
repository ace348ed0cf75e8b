#!/usr/bin/env python3
"""Palette export and import on a real X server: the palette list's context menu exports the
selected palette through Qt's file dialog, and importing that file back adds a palette that holds
the same colours, selected and locked in the chips.

Usage: test_palette_exchange.py PATH-TO-TINTARA
"""

import contextlib
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree clean of __pycache__
from e2e_common import (App, client_origin, expect, run_scenarios, titled, wait_chips,  # noqa: E402
                        wait_until)

ROOT = "2E8B57"
WHITE = "FFFFFF"
ON_ROOT = (1000, 900)

WARM = ('<Palettes><Palette name="Warm"><Color COLOR="#FF8000"></Color><Color COLOR="#FFD700"></Color>'
        '</Palette><Palette name="Empty"></Palette></Palettes>\r\n')


def list_centre(x, win):
    """Screen point in the middle of cboPalettes (8, 16, 150 x 19 in the Palettes box)."""
    left, top = client_origin(x, win)
    return left + 1 + 4 + 8 + 75, top + 1 + 16 + 9


def run_menu_command(x, app, win, downs, caption, path, menu_key=False):
    """A right click on the list (or, with menu_key, Shift+Tab from the first chip onto the list and
    the menu key), the menu's command `downs` steps down, then the file dialog titled `caption`
    answered by typing `path`."""
    if menu_key:
        x.activate(win)
        x.key("shift+Tab")  # every list command leaves the focus on the first chip
        x.key("Menu")
    else:
        x.click(*list_centre(x, win), button=3)
    menu = wait_until(lambda: next((w for w in app.windows(".*") if w != win), None), 5.0,
                      what="the context menu")
    x.key(*["Down"] * downs, "Return")
    wait_until(lambda: menu not in app.windows(".*"), 5.0, what="the context menu to close")
    dialog = wait_until(lambda: next(iter(app.windows(f"^{caption}$")), None), 10.0, what=f"the {caption} dialog")
    x.activate(dialog)
    x.key("ctrl+a")
    x.type_text(path)
    # The file name field's completer may still be catching up with the typing and take the first
    # Return for itself; the dialog then stays open with the whole path in the field.
    for attempt in range(3):
        x.key("Return")
        try:
            wait_until(lambda: dialog not in app.windows(".*"), 5.0, what=f"the {caption} dialog to close")
            return
        except Exception:
            if attempt == 2:
                raise


def scenario_export_then_import_through_the_menu(x, binary):
    """Warm goes out as an Adobe Swatch Exchange file and comes back as "Warm (2)" with the same
    colours. Chip 1 is unlocked before the export: opening the menu stores the chips into Warm first,
    and the import fills the chips from the file, locked again."""
    x.mouse_move(*ON_ROOT)
    with App(x, binary, files={"palettes.xml": WARM}) as app:
        win = app.wait_window()
        app.wait_title(win, titled("FF8000"))
        x.activate(win)
        x.key("ctrl+g")  # chip 1 unlocked: it follows the screen again
        wait_chips(x, win, {1: (ROOT, False), 2: ("FFD700", True)})

        exported = app.path("warm export.ase")
        run_menu_command(x, app, win, 1, "Export Palette", exported)
        wait_until(lambda: os.path.exists(exported), 5.0, what="the exported file")
        data = app.read_file("warm export.ase", binary=True)
        expect(data[:8], b"ASEF\x00\x01\x00\x00", "signature and version of the export")
        expect(data.count(b"RGB "), 1, "one RGB entry: Warm held only the locked chip")

        # Lock chip 1 on the root colour, so the imported palette has something to replace.
        x.activate(win)
        x.mouse_move(*ON_ROOT)
        wait_chips(x, win, {1: (ROOT, False)})
        x.key("ctrl+g")
        wait_chips(x, win, {1: (ROOT, True)})
        run_menu_command(x, app, win, 2, "Import Palette", exported)
        wait_chips(x, win, {1: ("FFD700", True), 2: (WHITE, False)})
        app.wait_title(win, titled("FFD700"))
        expect(app.close(win), 0, "exit code")
        expect(app.read_file("palettes.xml"),
               f'<Palettes><Palette name="Warm"><Color COLOR="#{ROOT}"></Color><Color COLOR="#FFD700"></Color>'
               '</Palette><Palette name="Empty"></Palette>'
               '<Palette name="Warm (2)"><Color COLOR="#FFD700"></Color></Palette></Palettes>\r\n',
               "palettes.xml after export and import")


def scenario_gimp_round_trip_keeps_every_colour(x, binary):
    """A GIMP palette of the two locked chips goes out and back (the import from the keyboard's menu
    key): the new palette holds both."""
    x.mouse_move(*ON_ROOT)
    with App(x, binary, files={"palettes.xml": WARM}) as app:
        win = app.wait_window()
        app.wait_title(win, titled("FF8000"))
        exported = app.path("warm.gpl")
        run_menu_command(x, app, win, 1, "Export Palette", exported)
        wait_until(lambda: os.path.exists(exported), 5.0, what="the exported file")
        expect(app.read_file("warm.gpl"),
               "GIMP Palette\nName: Warm\nColumns: 8\n#\n255 128   0\t#FF8000\n255 215   0\t#FFD700\n",
               "the exported GIMP palette")
        x.mouse_move(*ON_ROOT)
        run_menu_command(x, app, win, 2, "Import Palette", exported, menu_key=True)
        wait_chips(x, win, {1: ("FF8000", True), 2: ("FFD700", True), 3: (WHITE, False)})
        expect(app.title(win), "Tintara - FF8000", "title with the imported palette's chip 1")
        expect(app.close(win), 0, "exit code")
        expect(app.read_file("palettes.xml"),
               WARM.replace("</Palettes>", '<Palette name="Warm (2)"><Color COLOR="#FF8000"></Color>'
                                           '<Color COLOR="#FFD700"></Color></Palette></Palettes>'),
               "palettes.xml after the round trip")


SCENARIOS = [scenario_export_then_import_through_the_menu, scenario_gimp_round_trip_keeps_every_colour]


@contextlib.contextmanager
def backdrop(x):
    x.set_root_color(f"#{ROOT}")
    yield


if __name__ == "__main__":
    sys.exit(run_scenarios(SCENARIOS, sys.argv, __doc__, backdrop))

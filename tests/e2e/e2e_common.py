"""What the end-to-end tests of the tintara binary share: the checks, reading the window's place and
its chips off the screen, and the runner that plays a file's scenarios on one X session."""

import contextlib
import re
import sys
import traceback

sys.dont_write_bytecode = True  # keep the source tree clean of __pycache__
from harness import App, HarnessError, Session, _wait_until as wait_until  # noqa: E402,F401


def expect(actual, expected, what):
    if actual != expected:
        raise AssertionError(f"{what}: expected {expected!r}, got {actual!r}")


def titled(hex_color):
    return lambda title: title == f"Tintara - {hex_color}"


def wait_reading(read, accept, what, shown="it shows", timeout=5.0):
    """Waits until accept(read()); a time-out fails the test with the last value read."""
    last = [None]

    def check():
        last[0] = read()
        return accept(last[0])
    try:
        wait_until(check, timeout, what=what)
    except Exception as e:
        raise AssertionError(f"{e}; {shown} {last[0]!r}") from None


def client_geometry(x, win):
    """(left, top, width, height) of the window's client area on the screen."""
    out = x.run(["xwininfo", "-id", win]).stdout
    return tuple(int(re.search(rf"{label}:\s+(-?\d+)", out).group(1))
                 for label in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))


def client_origin(x, win):
    """Screen position of the window's client area."""
    return client_geometry(x, win)[:2]


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
    def accept(faces):
        return all(faces[n][1] == marked and color in (None, faces[n][0])
                   for n, (color, marked) in expected.items())
    wait_reading(lambda: {n: chip_face(x, win, n) for n in expected}, accept,
                 f"chips {expected}", shown="they show")


def run_scenarios(scenarios, argv, doc, backdrop=None, screens=1):
    """Plays each scenario(x, binary) in turn on one X session with a window manager, printing
    "ok"/"FAIL" per scenario and a closing count; returns the exit status. backdrop(x), a context
    manager, sets up the screen that all of the file's scenarios expect; screens > 1 gives the
    session further X screens."""
    if len(argv) != 2:
        print(doc)
        return 2
    binary = argv[1]
    results = []
    with Session(wm=True, screens=screens) as x, (backdrop(x) if backdrop else contextlib.nullcontext()):
        for scenario in scenarios:
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

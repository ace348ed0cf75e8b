#!/usr/bin/env python3
"""Checks of what a desktop and a software centre read from an installed Tintara.

    check_package.py desktop FILE      desktop-file-validate, plus the keys menus and docks rely on
    check_package.py metainfo FILE     appstreamcli validate --no-net, plus the parts we promise
    check_package.py deb BUILD_DIR     builds the .deb with CPack, unpacks it into a scratch root
                                       (dpkg -x) and checks every file lands where the desktop looks

Python 3 standard library only.
"""

import configparser
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

APP_ID = "org.example.Tintara"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

failures = []


def check(ok, message):
    if not ok:
        failures.append(message)


def run(cmd, **kw):
    result = subprocess.run(cmd, capture_output=True, text=True, **kw)
    out = (result.stdout + result.stderr).strip()
    return result.returncode, out


def read_desktop(path):
    parser = configparser.RawConfigParser(strict=True, interpolation=None)
    parser.optionxform = str  # keys are case-sensitive
    with open(path, encoding="utf-8") as f:
        parser.read_file(f)
    return parser["Desktop Entry"]


def check_desktop(path):
    rc, out = run(["desktop-file-validate", path])
    # Hints are advice; warnings and errors make the entry wrong somewhere.
    check(rc == 0 and "error" not in out and "warning" not in out, f"desktop-file-validate {path}: {out}")
    entry = read_desktop(path)
    check(entry.get("Type") == "Application", "Type is not Application")
    check(entry.get("Exec", "").split()[0] == "tintara", f"Exec is {entry.get('Exec')!r}")
    check(entry.get("Icon") == APP_ID, f"Icon is {entry.get('Icon')!r}, not the icon's theme name")
    check("Graphics" in entry.get("Categories", "").split(";"), "not in the Graphics menu")
    # The window's WM_CLASS class is the application name the program sets ("Tintara").
    check(entry.get("StartupWMClass") == "Tintara", f"StartupWMClass is {entry.get('StartupWMClass')!r}")
    check(os.path.basename(path) == APP_ID + ".desktop", "the file name is not the application id")
    return entry


def check_metainfo(path):
    rc, out = run(["appstreamcli", "validate", "--no-net", path])
    check(rc == 0, f"appstreamcli validate {path}: {out}")
    root = ET.parse(path).getroot()
    check(root.tag == "component" and root.get("type") == "desktop-application", "not a desktop application")
    check(root.findtext("id") == APP_ID, f"id is {root.findtext('id')!r}")
    launchable = root.find("launchable[@type='desktop-id']")
    check(launchable is not None and launchable.text == APP_ID + ".desktop", "launchable does not name the desktop entry")
    check(root.findtext("summary"), "no summary")
    check(root.find("description") is not None, "no description")
    check(root.find("screenshots/screenshot/image") is not None, "no screenshot")
    check(root.find("content_rating") is not None, "no content rating")
    check(os.path.basename(path) == APP_ID + ".metainfo.xml", "the file name is not the application id")


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def check_deb(build_dir):
    scratch = tempfile.mkdtemp(prefix="tintara-deb-", dir=build_dir)
    try:
        rc, out = run(["cpack", "--config", os.path.join(build_dir, "CPackConfig.cmake"), "-B", scratch])
        if rc != 0:
            failures.append(f"cpack failed: {out}")
            return
        debs = [f for f in os.listdir(scratch) if f.endswith(".deb")]
        if len(debs) != 1:
            failures.append(f"expected one .deb, found {debs}")
            return
        deb = os.path.join(scratch, debs[0])
        root = os.path.join(scratch, "root")
        rc, out = run(["dpkg", "-x", deb, root])
        if rc != 0:
            failures.append(f"dpkg -x failed: {out}")
            return

        exe = os.path.join(root, "usr/bin/tintara")
        check(os.path.isfile(exe) and os.access(exe, os.X_OK), "no executable /usr/bin/tintara")

        desktop = os.path.join(root, "usr/share/applications", APP_ID + ".desktop")
        if os.path.isfile(desktop):
            check_desktop(desktop)
        else:
            failures.append("no desktop entry in /usr/share/applications")

        metainfo = os.path.join(root, "usr/share/metainfo", APP_ID + ".metainfo.xml")
        if os.path.isfile(metainfo):
            check_metainfo(metainfo)
        else:
            failures.append("no metainfo in /usr/share/metainfo")

        hicolor = os.path.join(root, "usr/share/icons/hicolor")
        svg = os.path.join(hicolor, "scalable/apps", APP_ID + ".svg")
        check(os.path.isfile(svg), "no scalable icon")
        if os.path.isfile(svg):
            check(ET.parse(svg).getroot().tag.endswith("svg"), "the scalable icon is no SVG")
        for size in ICON_SIZES:
            png = os.path.join(hicolor, f"{size}x{size}/apps", APP_ID + ".png")
            if not os.path.isfile(png):
                failures.append(f"no {size}x{size} icon")
                continue
            check(png_size(png) == (size, size), f"the {size}x{size} icon is {png_size(png)}")

        # Nothing beyond /usr, and nothing of the build (tests, benchmarks, static libraries) inside it.
        for dirpath, _, files in os.walk(root):
            for name in files:
                rel = os.path.relpath(os.path.join(dirpath, name), root)
                check(rel.startswith("usr/share/") or rel == "usr/bin/tintara", f"unexpected file /{rel}")

        rc, depends = run(["dpkg-deb", "--field", deb, "Depends"])
        check(rc == 0, f"dpkg-deb --field: {depends}")
        for needed in ("libc6", "libqt6widgets6", "libqt6gui6", "libx11-6", "fonts-liberation"):
            check(needed in depends, f"Depends lacks {needed}: {depends}")
        rc, package = run(["dpkg-deb", "--field", deb, "Package"])
        check(package == "tintara", f"the package is named {package!r}")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("desktop", "metainfo", "deb"):
        print(__doc__, file=sys.stderr)
        return 2
    mode, arg = sys.argv[1:]
    {"desktop": check_desktop, "metainfo": check_metainfo, "deb": check_deb}[mode](arg)
    for f in failures:
        print("FAIL:", f, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

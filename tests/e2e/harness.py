#!/usr/bin/env python3
"""End-to-end fixture for Tintara: a private Xvfb (optionally with openbox), the real binary run
from a fresh directory, and the few desktop actions a test needs.

Python 3 standard library only; the X tools it drives are Xvfb, xdotool, xclip, xsetroot, xprop
and openbox. Screen pixels, solid colour windows and the polite close request speak the X11
protocol directly over the server's Unix socket, so no extra X client program is needed.

Typical use in a test::

    from harness import Session, App
    with Session(wm=True) as x:
        x.set_root_color("#336699")
        with App(x, binary, files={"Tintara.ini": "..."}) as app:
            win = app.wait_window()
            x.mouse_move(640, 900)
            app.wait_title(win, lambda t: t.endswith("336699"))
            app.close()                  # WM_DELETE_WINDOW, waits for the exit
            ini = app.read_file("Tintara.ini")

Everything a Session or App started is ended by its PID when the `with` block leaves, also on
failure; an App that leaves with an exception prints the program's stderr and its directory
(kept for inspection when TINTARA_E2E_KEEP is set).

Command line:
    harness.py run [--wm] [--size 1280x1024x24] [--screens N] -- COMMAND [ARGS...]
        runs COMMAND on a fresh Xvfb (DISPLAY and QT_QPA_PLATFORM=xcb set) and exits with its code;
        --screens 2 gives the server a second screen (:N.1) of the same size
    harness.py selftest
        exercises the fixture with a stand-in program (xmessage); not part of the test suite
"""

import ctypes
import os
import select
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
import zlib

DEFAULT_SIZE = (1280, 1024, 24)
FIRST_DISPLAY = 90


class HarnessError(RuntimeError):
    pass


def _wait_until(condition, timeout, interval=0.05, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise HarnessError(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(interval)


def _die_with_us():
    """preexec_fn: the child gets SIGTERM when the harness dies, even by SIGKILL (a test runner's
    time-out), so no Xvfb or program outlives it."""
    try:
        ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM, 0, 0, 0)  # PR_SET_PDEATHSIG
    except (OSError, AttributeError):
        pass


def _end_process(proc, grace=3.0):
    """Ends one process we started, by its PID: SIGTERM, then SIGKILL after `grace` seconds."""
    if proc is None or proc.poll() is not None:
        return
    try:
        proc.send_signal(signal.SIGTERM)
        proc.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(timeout=5)
    except ProcessLookupError:
        pass


def parse_color(color):
    """'#rrggbb' or 'rrggbb' or an int 0xRRGGBB -> (r, g, b)."""
    if isinstance(color, int):
        return (color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF
    text = color.lstrip("#")
    if len(text) != 6:
        raise ValueError(f"colour must be #rrggbb: {color!r}")
    value = int(text, 16)
    return (value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF


# --------------------------------------------------------------------------------------------
# A minimal X11 protocol client: enough for solid windows, screen pixels, pointer warps and a
# WM_DELETE_WINDOW request.

class XConnection:
    """One connection to an X server over its Unix socket (no authorisation: our Xvfb has none)."""

    def __init__(self, display_number, timeout=5.0):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.settimeout(timeout)
        self.sock.connect(f"/tmp/.X11-unix/X{display_number}")
        self.sock.sendall(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0))
        head = self._read(8)
        status, _, _, _, extra = struct.unpack("<BBHHH", head)
        body = self._read(extra * 4)
        if status != 1:
            raise HarnessError(f"X server refused the connection: {body[: head[1]]!r}")
        (_release, self.rid_base, self.rid_mask, _motion, vendor_len, _max_req, n_screens, n_formats,
         self.image_byte_order, _bitmap_order, _unit, _pad, _minkc, _maxkc) = struct.unpack_from(
            "<IIIIHHBBBBBBBB", body, 0)
        offset = 32 + vendor_len + (-vendor_len % 4)
        self.formats = {}
        for _ in range(n_formats):
            depth, bpp, pad = struct.unpack_from("<BBB", body, offset)
            self.formats[depth] = (bpp, pad)
            offset += 8
        if n_screens < 1:
            raise HarnessError("X server has no screen")
        (self.root, _cmap, _white, _black, _masks, self.width, self.height, _mmw, _mmh, _minm, _maxm,
         self.root_visual, _bs, _su, self.root_depth, n_depths) = struct.unpack_from(
            "<IIIIIHHHHHHIBBBB", body, offset)
        offset += 40
        self.masks = (0xFF0000, 0x00FF00, 0x0000FF)
        for _ in range(n_depths):
            _depth, n_visuals = struct.unpack_from("<BxH", body, offset)
            offset += 8
            for _ in range(n_visuals):
                vid, _cls, _bits, _entries, rm, gm, bm = struct.unpack_from("<IBBHIII", body, offset)
                if vid == self.root_visual:
                    self.masks = (rm, gm, bm)
                offset += 24
        self._next_id = 0
        self._atoms = {}

    def close(self):
        try:
            self.sock.close()
        except OSError:
            pass

    def _read(self, n):
        data = bytearray()
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise HarnessError("X server closed the connection")
            data += chunk
        return bytes(data)

    def _request(self, data):
        self.sock.sendall(data)

    def _reply(self):
        """Reads packets until a reply; X errors raise, events are skipped."""
        while True:
            packet = self._read(32)
            kind = packet[0]
            if kind == 0:
                code, _seq, value, minor, major = struct.unpack_from("<xBHIHB", packet)
                raise HarnessError(f"X error {code} (request {major}.{minor}, value {value:#x})")
            if kind == 1:
                extra = struct.unpack_from("<I", packet, 4)[0]
                return packet + self._read(extra * 4)

    def sync(self):
        """GetInputFocus as a round trip: everything sent before has been processed."""
        self._request(struct.pack("<BxH", 43, 1))
        self._reply()

    def new_id(self):
        self._next_id += 1
        return self.rid_base | (self._next_id & self.rid_mask)

    def pixel_of(self, color):
        r, g, b = parse_color(color)
        out = 0
        for value, mask in ((r, self.masks[0]), (g, self.masks[1]), (b, self.masks[2])):
            shift = (mask & -mask).bit_length() - 1
            bits = bin(mask).count("1")
            out |= ((value >> (8 - bits)) if bits < 8 else (value << (bits - 8))) << shift
        return out

    def create_solid_window(self, x, y, width, height, color):
        """A mapped override-redirect window whose background the server paints: exact place and
        colour, untouched by any window manager."""
        wid = self.new_id()
        mask = 0x0002 | 0x0200  # background-pixel, override-redirect
        values = struct.pack("<II", self.pixel_of(color), 1)
        req = struct.pack("<BBHIIhhHHHHII", 1, 0, 8 + len(values) // 4, wid, self.root, x, y, width,
                          height, 0, 1, 0, mask) + values
        self._request(req)
        self._request(struct.pack("<BxHI", 8, 2, wid))  # MapWindow
        self.sync()
        return wid

    def destroy_window(self, wid):
        self._request(struct.pack("<BxHI", 4, 2, wid))
        self.sync()

    def warp_pointer(self, x, y, sync=False):
        self._request(struct.pack("<BxHIIhhHHhh", 41, 6, 0, self.root, 0, 0, 0, 0, x, y))
        if sync:
            self.sync()

    def query_pointer(self):
        self._request(struct.pack("<BxHI", 38, 2, self.root))
        reply = self._reply()
        root_x, root_y = struct.unpack_from("<hh", reply, 16)
        return root_x, root_y

    def intern_atom(self, name):
        if name not in self._atoms:
            raw = name.encode()
            req = struct.pack("<BBHHxx", 16, 0, 2 + (len(raw) + 3) // 4, len(raw)) + raw + b"\0" * (-len(raw) % 4)
            self._request(req)
            self._atoms[name] = struct.unpack_from("<I", self._reply(), 8)[0]
        return self._atoms[name]

    def send_delete_window(self, wid):
        """What a window manager sends for the close button: WM_PROTOCOLS / WM_DELETE_WINDOW."""
        protocols = self.intern_atom("WM_PROTOCOLS")
        delete = self.intern_atom("WM_DELETE_WINDOW")
        event = struct.pack("<BBHII5I", 33, 32, 0, wid, protocols, delete, 0, 0, 0, 0)
        self._request(struct.pack("<BBHII", 25, 0, 11, wid, 0) + event)  # SendEvent, no propagation
        self.sync()

    def get_image(self, x, y, width, height):
        """Root-window pixels as rows of (r, g, b) tuples. The rectangle must lie on the screen."""
        self._request(struct.pack("<BBHIhhHHI", 73, 2, 5, self.root, x, y, width, height, 0xFFFFFFFF))
        reply = self._reply()
        depth = reply[1]
        bpp, pad = self.formats[depth]
        if bpp not in (24, 32) or self.image_byte_order != 0:
            raise HarnessError(f"unsupported image format: {bpp} bpp, byte order {self.image_byte_order}")
        data = reply[32:]
        stride = ((width * bpp + pad - 1) // pad) * pad // 8
        step = bpp // 8
        rm, gm, bm = self.masks
        rs, gs, bs = ((m & -m).bit_length() - 1 for m in (rm, gm, bm))
        rows = []
        for row in range(height):
            line = data[row * stride: row * stride + width * step]
            out = []
            for col in range(width):
                p = int.from_bytes(line[col * step: col * step + step], "little")
                out.append(((p & rm) >> rs, (p & gm) >> gs, (p & bm) >> bs))
            rows.append(out)
        return rows


def write_png(path, rows):
    """Rows of (r, g, b) tuples to an 8-bit RGB PNG."""
    height = len(rows)
    width = len(rows[0]) if rows else 0
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        f.write(chunk(b"IEND", b""))


# --------------------------------------------------------------------------------------------

class Session:
    """A private X display: Xvfb on the first free number from :90, optionally openbox on it.
    screens > 1 adds further X screens of the same size (:N.1, ...); programs, openbox and the
    harness's own drawing stay on screen 0."""

    def __init__(self, wm=False, size=DEFAULT_SIZE, first_display=FIRST_DISPLAY, verbose=False, screens=1):
        self.wm = wm
        self.size = size
        self.screens = screens
        self.first_display = first_display
        self.verbose = verbose
        self.number = None
        self.xvfb = None
        self.openbox = None
        self.x = None  # XConnection of the harness itself
        self._holders = []
        self._tmp = None

    # -- lifecycle --
    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    @property
    def display(self):
        return f":{self.number}"

    def env(self, extra=None):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env.pop("WAYLAND_DISPLAY", None)
        env["QT_QPA_PLATFORM"] = "xcb"
        env.pop("XAUTHORITY", None)
        env["XDG_RUNTIME_DIR"] = self._runtime_dir()
        if extra:
            env.update(extra)
        return env

    def _runtime_dir(self):
        if self._tmp is None:
            self._tmp = tempfile.mkdtemp(prefix="tintara-x-")
            os.chmod(self._tmp, 0o700)
        return self._tmp

    @staticmethod
    def _taken(n):
        return os.path.exists(f"/tmp/.X11-unix/X{n}") or os.path.exists(f"/tmp/.X{n}-lock")

    def start(self, timeout=15.0):
        w, h, depth = self.size
        n = self.first_display
        for _attempt in range(50):
            while self._taken(n):
                n += 1
            read_fd, write_fd = os.pipe()
            cmd = ["Xvfb", f":{n}"]
            for screen in range(self.screens):
                cmd += ["-screen", str(screen), f"{w}x{h}x{depth}"]
            cmd += ["-noreset", "-nolisten", "tcp", "-displayfd", str(write_fd)]
            proc = subprocess.Popen(cmd, pass_fds=(write_fd,), stdin=subprocess.DEVNULL, preexec_fn=_die_with_us,
                                    stdout=subprocess.DEVNULL,
                                    stderr=None if self.verbose else subprocess.DEVNULL)
            os.close(write_fd)
            # Xvfb writes the display number once it accepts connections, or dies (lock taken by a
            # concurrent starter) and closes the pipe.
            ready = b""
            deadline = time.monotonic() + timeout
            while not ready.endswith(b"\n") and time.monotonic() < deadline:
                r, _, _ = select.select([read_fd], [], [], 0.2)
                if r:
                    chunk = os.read(read_fd, 64)
                    if not chunk:
                        break
                    ready += chunk
                elif proc.poll() is not None:
                    break
            os.close(read_fd)
            if ready.strip() == str(n).encode() and proc.poll() is None:
                self.number, self.xvfb = n, proc
                break
            _end_process(proc)
            n += 1
        else:
            raise HarnessError("could not start Xvfb on any display")
        self.x = XConnection(self.number)
        if self.wm:
            self.openbox = subprocess.Popen(["openbox", "--sm-disable"], env=self.env(), preexec_fn=_die_with_us,
                                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                            stderr=None if self.verbose else subprocess.DEVNULL)
            _wait_until(self._wm_running, timeout, what="openbox to manage the screen")

    def _wm_running(self):
        if self.openbox.poll() is not None:
            raise HarnessError(f"openbox exited with {self.openbox.returncode}")
        out = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False).stdout
        return "window id" in out

    def stop(self):
        for proc in self._holders:
            _end_process(proc)
        self._holders = []
        if self.x is not None:
            self.x.close()
            self.x = None
        _end_process(self.openbox)
        self.openbox = None
        _end_process(self.xvfb)
        self.xvfb = None
        if self._tmp is not None:
            shutil.rmtree(self._tmp, ignore_errors=True)
            self._tmp = None

    # -- running X tools --
    def run(self, cmd, check=True, timeout=10.0, input=None):
        result = subprocess.run(cmd, env=self.env(), capture_output=True, text=True, timeout=timeout,
                                input=input)
        if check and result.returncode != 0:
            raise HarnessError(f"{' '.join(cmd)} failed ({result.returncode}): {result.stderr.strip()}")
        return result

    def xdotool(self, *args, check=True, timeout=10.0):
        return self.run(["xdotool", *map(str, args)], check=check, timeout=timeout).stdout.strip()

    # -- desktop actions --
    def set_root_color(self, color):
        r, g, b = parse_color(color)
        self.run(["xsetroot", "-solid", f"#{r:02x}{g:02x}{b:02x}"])

    def solid_window(self, x, y, width, height, color):
        """Shows a window of one colour at an exact place; returns its id (see remove_window)."""
        return self.x.create_solid_window(x, y, width, height, color)

    def remove_window(self, wid):
        self.x.destroy_window(wid)

    def pixel(self, x, y):
        """(r, g, b) of the screen at (x, y)."""
        return self.x.get_image(x, y, 1, 1)[0][0]

    def screenshot(self, path, rect=None):
        """Writes the screen (or rect = (x, y, w, h)) as a PNG."""
        x, y, w, h = rect or (0, 0, self.x.width, self.x.height)
        write_png(path, self.x.get_image(x, y, w, h))

    def mouse_move(self, x, y):
        """Moves the pointer like a user would (XTest motion, through xdotool)."""
        if self.mouse_location() == (x, y):
            return  # --sync waits for a motion that never comes when the pointer is already there
        self.xdotool("mousemove", "--sync", x, y)

    def mouse_to_screen(self, screen, x, y):
        """Moves the pointer onto another X screen of the display (see screens)."""
        self.xdotool("mousemove", "--screen", screen, x, y)

    def pointer_screen(self):
        """The number of the X screen that has the pointer."""
        out = self.xdotool("getmouselocation", "--shell")
        return int(dict(line.split("=", 1) for line in out.splitlines() if "=" in line)["SCREEN"])

    def warp(self, x, y):
        """Moves the pointer with a bare WarpPointer request: cheap enough for 50 moves a second."""
        self.x.warp_pointer(x, y)

    def mouse_location(self):
        return self.x.query_pointer()

    def click(self, x, y, button=1):
        self.mouse_move(x, y)
        self.xdotool("click", button)

    def key(self, *keys, window=None):
        """xdotool key names, e.g. key('ctrl+g'), key('F5'). Without a window they go to the focused
        window as real (XTest) key presses; with one they are sent to it as synthetic events."""
        args = ["key", "--clearmodifiers"]
        if window is not None:
            args += ["--window", window]
        self.xdotool(*args, *keys)

    def type_text(self, text):
        self.xdotool("type", "--delay", "20", "--clearmodifiers", text)

    def activate(self, window):
        """Gives the window the focus through the window manager (needs wm=True)."""
        self.xdotool("windowactivate", "--sync", window, timeout=10.0)

    def active_window(self):
        return self.xdotool("getactivewindow", check=False)

    def window_name(self, window):
        return self.xdotool("getwindowname", window)

    def clipboard(self, selection="clipboard", timeout=5.0):
        """Text of the clipboard ('' when nobody owns it)."""
        result = self.run(["xclip", "-o", "-selection", selection], check=False, timeout=timeout)
        return result.stdout if result.returncode == 0 else ""

    def set_clipboard(self, text, selection="clipboard"):
        """Puts text on the clipboard as another application would; returns the serving process,
        which stop() ends if the caller does not."""
        # xclip serves the selection until someone else takes it or stop() ends it; -quiet keeps it
        # in the foreground, so the process we end is the one serving.
        proc = subprocess.Popen(["xclip", "-i", "-quiet", "-selection", selection], env=self.env(),
                                stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                text=True, preexec_fn=_die_with_us)
        proc.stdin.write(text)
        proc.stdin.close()
        self._holders.append(proc)
        _wait_until(lambda: self.clipboard(selection) == text, 5.0, what="xclip to own the selection")
        return proc

    def send_close(self, window):
        """Asks the window to close, exactly as a window manager's close button does."""
        self.x.send_delete_window(int(window))


class App:
    """The program under test, copied with its files into a fresh directory and run there.
    files: name -> str (text, written as UTF-8 without newline translation), bytes, or a
    pathlib.Path to copy."""

    def __init__(self, session, binary, files=None, args=(), name=None, env=None, keep_dir=False,
                 match_pid=True):
        self.session = session
        self.binary = os.path.abspath(binary)
        self.files = files or {}
        self.args = list(args)
        self.name = name or os.path.basename(binary)
        self.extra_env = env or {}
        self.keep_dir = keep_dir
        self.match_pid = match_pid  # Qt sets _NET_WM_PID; programs that do not need False
        self.dir = None
        self.proc = None
        self._out = None
        self._err = None

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop(failed=True)
            raise
        return self

    def __exit__(self, exc_type, exc, tb):
        self.stop(failed=exc_type is not None)
        return False

    @property
    def pid(self):
        return self.proc.pid

    def path(self, name):
        return os.path.join(self.dir, name)

    def start(self):
        self.dir = tempfile.mkdtemp(prefix="tintara-e2e-")
        exe = self.path(self.name)
        shutil.copy2(self.binary, exe)
        for name, content in self.files.items():
            target = self.path(name)
            if isinstance(content, bytes):
                with open(target, "wb") as f:
                    f.write(content)
            elif isinstance(content, os.PathLike):
                shutil.copy2(content, target)
            else:
                with open(target, "w", encoding="utf-8", newline="") as f:
                    f.write(content)
        self._out = open(self.path(".stdout"), "w+b")
        self._err = open(self.path(".stderr"), "w+b")
        self.proc = subprocess.Popen([exe, *self.args], cwd=self.dir, env=self.session.env(self.extra_env),
                                     stdin=subprocess.DEVNULL, stdout=self._out, stderr=self._err,
                                     preexec_fn=_die_with_us)

    def stderr(self):
        if self._err is None:
            return ""
        self._err.flush()
        with open(self._err.name, "rb") as f:
            return f.read().decode(errors="replace")

    def stdout(self):
        if self._out is None:
            return ""
        self._out.flush()
        with open(self._out.name, "rb") as f:
            return f.read().decode(errors="replace")

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def read_file(self, name, binary=False):
        """A file of the program's directory, as text (UTF-8, line ends kept) or bytes."""
        if binary:
            with open(self.path(name), "rb") as f:
                return f.read()
        with open(self.path(name), "r", encoding="utf-8", newline="") as f:
            return f.read()

    def windows(self, pattern="^Tintara"):
        """Visible top-level windows of this process whose title matches the pattern."""
        pid = ["--pid", self.pid] if self.match_pid else []
        out = self.session.xdotool("search", "--all", "--onlyvisible", *pid, "--name", pattern, check=False)
        return [w for w in out.split() if w]

    def wait_window(self, pattern="^Tintara", timeout=15.0):
        """Waits for the first visible window of the program whose title matches; returns its id."""
        def found():
            if not self.running():
                raise HarnessError(f"{self.name} exited with {self.proc.returncode} before showing a window")
            ws = self.windows(pattern)
            return ws[0] if ws else None
        return _wait_until(found, timeout, what=f"a window titled {pattern!r}")

    def title(self, window):
        return self.session.window_name(window)

    def wait_title(self, window, predicate, timeout=5.0):
        """Waits until predicate(title) holds; returns the title."""
        last = [None]

        def check():
            last[0] = self.title(window)
            return predicate(last[0])
        try:
            _wait_until(check, timeout, what="the window title")
        except HarnessError as e:
            raise HarnessError(f"{e}; last title {last[0]!r}") from None
        return last[0]

    def close(self, window=None, timeout=10.0, via_wm=False):
        """Closes the program politely and waits for it to exit; returns the exit code.
        Default: WM_DELETE_WINDOW to its window (what the close button does). via_wm: activate the
        window and press Alt+F4 for openbox to do the same."""
        window = window or self.wait_window()
        deadline = time.monotonic() + timeout
        if via_wm:
            # openbox closes the window that has its focus; right after activation that can still be
            # on its way, so a key press that went nowhere is repeated.
            while True:
                if self.running():
                    try:
                        self.session.activate(window)
                        self.session.key("alt+F4")
                    except (HarnessError, subprocess.TimeoutExpired):
                        pass  # the window may be going away already
                try:
                    return self.proc.wait(timeout=min(2.0, max(deadline - time.monotonic(), 0.01)))
                except subprocess.TimeoutExpired:
                    if time.monotonic() >= deadline:
                        break
        else:
            self.session.send_close(window)
            try:
                return self.proc.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                pass
        raise HarnessError(f"{self.name} did not exit within {timeout} s of the close request")

    def stop(self, failed=False):
        if self.proc is not None:
            _end_process(self.proc)
        for f in (self._out, self._err):
            if f is not None:
                f.flush()
        if failed:
            code = self.proc.returncode if self.proc is not None else None
            keep = "kept" if os.environ.get("TINTARA_E2E_KEEP") else "removed; TINTARA_E2E_KEEP=1 keeps it"
            sys.stderr.write(f"--- {self.name} (exit {code}) in {self.dir} ({keep}): stderr ---\n{self.stderr()}"
                             f"--- end of stderr ---\n")
        for f in (self._out, self._err):
            if f is not None:
                f.close()
        self._out = self._err = None
        if self.dir and not (self.keep_dir or failed and os.environ.get("TINTARA_E2E_KEEP")):
            shutil.rmtree(self.dir, ignore_errors=True)


# --------------------------------------------------------------------------------------------

def _cli_run(argv):
    wm = False
    size = DEFAULT_SIZE
    screens = 1
    while argv and argv[0] != "--":
        opt = argv.pop(0)
        if opt == "--wm":
            wm = True
        elif opt == "--size":
            w, h, d = argv.pop(0).split("x")
            size = (int(w), int(h), int(d))
        elif opt == "--screens":
            screens = int(argv.pop(0))
        else:
            raise SystemExit(f"unknown option {opt}")
    if not argv or argv[0] != "--" or len(argv) < 2:
        raise SystemExit("usage: harness.py run [--wm] [--size WxHxD] [--screens N] -- COMMAND [ARGS...]")
    command = argv[1:]
    with Session(wm=wm, size=size, screens=screens) as x:
        proc = subprocess.Popen(command, env=x.env(), preexec_fn=_die_with_us)
        try:
            return proc.wait()
        finally:
            _end_process(proc)


def _selftest():
    """By hand: python3 tests/e2e/harness.py selftest. Uses xmessage as a stand-in program."""
    stand_in = shutil.which("xmessage")
    if not stand_in:
        raise SystemExit("selftest needs xmessage (x11-utils)")
    checks = []

    def check(what, ok, detail=""):
        checks.append(ok)
        print(f"{'ok  ' if ok else 'FAIL'} {what}{'' if ok else ': ' + str(detail)}")

    with Session(wm=True) as x:
        check("display from :90 up", x.number >= FIRST_DISPLAY, x.display)
        x.set_root_color("#336699")
        check("root colour", x.pixel(5, 5) == (0x33, 0x66, 0x99), x.pixel(5, 5))
        wid = x.solid_window(100, 200, 30, 20, "#e01020")
        inside, below = x.pixel(129, 219), x.pixel(129, 220)
        check("solid window", inside == (0xE0, 0x10, 0x20) and below == (0x33, 0x66, 0x99), (inside, below))
        x.remove_window(wid)
        check("window removed", x.pixel(110, 210) == (0x33, 0x66, 0x99), x.pixel(110, 210))
        x.mouse_move(321, 123)
        check("xdotool mouse move", x.mouse_location() == (321, 123), x.mouse_location())
        x.warp(50, 60)
        check("warp", x.mouse_location() == (50, 60), x.mouse_location())
        holder = x.set_clipboard("hello #ABCDEF")
        check("clipboard", x.clipboard() == "hello #ABCDEF", x.clipboard())
        _end_process(holder)

        with App(x, stand_in, args=["-name", "Tintara", "-title", "Tintara - 123456", "stand-in"],
                 name="standin", match_pid=False, files={"Tintara.ini": "[Settings]\nIs4K=0\n"}) as app:
            win = app.wait_window()
            check("window found", bool(win))
            check("title", app.title(win) == "Tintara - 123456", app.title(win))
            check("file beside the binary", app.read_file("Tintara.ini").startswith("[Settings]"))
            x.activate(win)
            check("activate", x.active_window() == win, x.active_window())
            shot = os.path.join(app.dir, "shot.png")
            x.screenshot(shot, (0, 0, 200, 100))
            check("screenshot", os.path.getsize(shot) > 50)
            code = app.close(win)  # xmessage exits 1 when its window is closed rather than answered
            check("polite close", code == 1, code)

        with App(x, stand_in, args=["-title", "Tintara via wm", "x"], name="standin", match_pid=False) as app:
            win = app.wait_window()
            code = app.close(win, via_wm=True)
            check("close through openbox", code == 1, code)

        # A program that never shows a window: the fixture reports it instead of hanging.
        with App(x, "/bin/true", name="true") as app:
            try:
                app.wait_window(timeout=3)
                check("early exit reported", False, "no error")
            except HarnessError as e:
                check("early exit reported", "exited" in str(e), e)

        xvfb = x.xvfb
    check("Xvfb ended", xvfb.poll() is not None, xvfb.poll())
    passed = sum(checks)
    print(f"{passed} passed, {len(checks) - passed} failed")
    return 0 if passed == len(checks) else 1


def main(argv):
    if len(argv) >= 2 and argv[1] == "run":
        return _cli_run(argv[2:])
    if len(argv) >= 2 and argv[1] == "selftest":
        return _selftest()
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))

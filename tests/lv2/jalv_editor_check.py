#!/usr/bin/env python3
"""TAVO's editor in a real LV2 host: under Xvfb (display :74, or the number in
TAVO_LV2_DISPLAY when several builds test on one machine) with a JACK dummy server,
jalv.gtk3 opens the stereo plug-in with its X11 UI embedded in jalv's window; a screenshot (xwd,
turned into PNG here) shows the panel; a synthetic drag on the Drive knob (xdotool) moves the
Drive port, and the state jalv saves through its File menu reports the new value, in the port
list and in the plug-in's own chunk.

Usage: jalv_editor_check.py BUNDLE SCREENSHOT.png
Exits 77 (skipped) when a tool is missing.
"""
import base64
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

DISPLAY = ":" + os.environ.get("TAVO_LV2_DISPLAY", "74")
STEREO = "urn:quenstrel:tavo:stereo"
SCHEMA_ROOT = "/usr/lib/lv2"
DRIVE_KNOB = (84, 168)   # the Drive knob's centre in the editor
DRAG_PIXELS = 60         # upwards: 60 of the knob's 400-pixel travel (gearing 4) is Drive 1.5
FILE_MENU = (19, 12)     # jalv's menu bar, in its top-level window at the screen's corner
SAVE_ITEM = (30, 37)


def need(*tools):
    for tool in tools:
        if not shutil.which(tool):
            print(f"{tool} is not installed: skipped (scripts/install-deps.sh installs it)")
            sys.exit(77)


def wait_for(what, probe, seconds=20.0):
    end = time.time() + seconds
    while time.time() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    sys.exit(f"timed out waiting for {what}")


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True,
                          env=dict(os.environ, DISPLAY=DISPLAY)).stdout.strip()


def window_named(name):
    ids = xdotool("search", "--name", name).split()
    return ids[0] if ids else None


def geometry(window):
    """Where a window is on the screen (absolute, whatever its parents) and its size."""
    text = subprocess.run(["xwininfo", "-id", window, "-display", DISPLAY], capture_output=True,
                          text=True).stdout
    field = lambda name: int(re.search(rf"{name}:\s+(-?\d+)", text).group(1))
    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
            field("Height"))


def screenshot_png(path, crop):
    """The screen through xwd, cut to crop (x, y, width, height) and written as PNG without any
    imaging library. Answers the number of distinct colours in the picture (sampled)."""
    xwd = subprocess.run(["xwd", "-root", "-silent", "-display", DISPLAY], capture_output=True,
                         check=True).stdout
    f = struct.unpack(">25I", xwd[:100])
    header_size, depth, width, height = f[0], f[3], f[4], f[5]
    byte_order, bpp, line = f[7], f[11], f[12]
    ncolors = f[19]
    if bpp not in (24, 32) or depth != 24:
        sys.exit(f"xwd gave {bpp}-bit pixels of depth {depth}; expected 24 or 32 and 24")
    pixels = xwd[header_size + 12 * ncolors:]
    rows, colours = [], set()
    step = bpp // 8
    cx, cy, cw, ch = crop
    cw, ch = min(cw, width - cx), min(ch, height - cy)
    for y in range(cy, cy + ch):
        row = pixels[y * line + step * cx:y * line + step * (cx + cw)]
        rgb = bytearray()
        for px in range(0, step * cw, step):
            b, g, r = (row[px], row[px + 1], row[px + 2]) if byte_order == 0 else (
                row[px + step - 1], row[px + step - 2], row[px + step - 3])
            rgb += bytes((r, g, b))
        rows.append(b"\0" + bytes(rgb))
        colours.update(bytes(rgb[i:i + 3]) for i in range(0, len(rgb), 21))
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", cw, ch, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)
    return len(colours)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    bundle, shot = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    need("Xvfb", "jackd", "jalv.gtk3", "xdotool", "xwd", "xwininfo")
    work = tempfile.mkdtemp(prefix="tavo-jalv-")
    search = os.path.join(work, "lv2")
    os.mkdir(search)
    os.symlink(bundle, os.path.join(search, "TAVO.lv2"))
    for vocabulary in ("core", "ui", "units"):
        if os.path.isdir(os.path.join(SCHEMA_ROOT, f"{vocabulary}.lv2")):
            os.symlink(os.path.join(SCHEMA_ROOT, f"{vocabulary}.lv2"), os.path.join(search, f"{vocabulary}.lv2"))
    server = f"tavo-lv2-{os.getpid()}"
    env = dict(os.environ, DISPLAY=DISPLAY, LV2_PATH=search, JACK_DEFAULT_SERVER=server,
               JACK_NO_AUDIO_RESERVATION="1")
    env.pop("LD_PRELOAD", None)
    started = []

    def start(cmd, log):
        process = subprocess.Popen(cmd, env=env, stdin=subprocess.DEVNULL,
                                   stdout=open(os.path.join(work, log), "w"),
                                   stderr=subprocess.STDOUT)
        started.append(process)
        return process

    try:
        xvfb = start(["Xvfb", DISPLAY, "-screen", "0", "800x600x24", "-nolisten", "tcp"], "xvfb.log")
        wait_for("Xvfb", lambda: xvfb.poll() is None and os.path.exists(f"/tmp/.X11-unix/X{DISPLAY[1:]}"))
        jack = start(["jackd", "-n", server, "--no-realtime", "-d", "dummy", "-r", "44100",
                      "-p", "256"], "jackd.log")
        time.sleep(1.5)
        if jack.poll() is not None:
            sys.exit("jackd did not start:\n" + open(os.path.join(work, "jackd.log")).read())
        jalv = start(["jalv.gtk3", STEREO], "jalv.log")
        editor = wait_for("the editor's window inside jalv's",
                          lambda: jalv.poll() is None and window_named("^TAVO editor$"))
        x, y, width, height = geometry(editor)
        if (width, height) != (304, 416):
            sys.exit(f"the editor's window is {width}x{height}, not 304x416")
        time.sleep(1.0)  # a few redraw ticks

        # Drag the Drive knob upwards with the pointer, as a person would.
        kx, ky = x + DRIVE_KNOB[0], y + DRIVE_KNOB[1]
        xdotool("mousemove", str(kx), str(ky), "mousedown", "1")
        for step in range(1, 7):
            xdotool("mousemove", str(kx), str(ky - DRAG_PIXELS * step // 6))
            time.sleep(0.05)
        xdotool("mouseup", "1")
        time.sleep(1.0)
        # The picture is jalv's whole window: its menu bar and the editor embedded below it.
        colours = screenshot_png(shot, geometry(window_named("^TAVO \\(Stereo\\)$")))
        if colours < 50:
            sys.exit(f"the screenshot holds {colours} colours: no panel on screen")

        # jalv reports the port values in the state it saves.
        saved = os.path.join(work, "saved")
        xdotool("mousemove", *map(str, FILE_MENU), "click", "1")
        time.sleep(1.0)
        xdotool("mousemove", *map(str, SAVE_ITEM), "click", "1")
        dialog = wait_for("jalv's save dialog", lambda: window_named("^Save State$"))
        time.sleep(1.5)  # the dialog fills in its folder view before it takes keys
        xdotool("mousemove", "400", "300")
        xdotool("windowfocus", "--sync", dialog)
        xdotool("key", "ctrl+a")
        xdotool("type", "--delay", "20", saved)
        time.sleep(1.0)  # the name field completes what was typed before it takes Return
        xdotool("key", "Return")
        state = os.path.join(saved, "state.ttl")
        wait_for("jalv's saved state", lambda: os.path.exists(state) and os.path.getsize(state))
        time.sleep(0.5)
        text = open(state).read()
        port = re.search(r'lv2:symbol "drive" ;\s*pset:value ([-0-9.eE]+)', text)
        chunk = re.search(r'<urn:quenstrel:tavo:state> """([^"]+)"""', text)
        if not port or not chunk:
            sys.exit("jalv's state has no Drive port value or no TAVO chunk:\n" + text)
        drive = float(port.group(1))
        chunk_drive = struct.unpack("<8d", base64.b64decode(chunk.group(1)))[1]
        print(f"editor at {x},{y} in jalv's window; screenshot {shot} ({colours} colours)")
        print(f"after a {DRAG_PIXELS}-pixel drag on the Drive knob jalv reports drive = {drive}; "
              f"the plug-in's state holds Drive {chunk_drive}")
        if not 1.0 <= drive <= 2.0 or abs(chunk_drive - drive) > 1e-6:
            sys.exit("the drag did not move the Drive port as expected (about 1.5)")
    finally:
        for process in reversed(started):
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()

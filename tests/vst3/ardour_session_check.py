#!/usr/bin/env python3
"""TAVO inside Debian's Ardour 7, headless (ardour7-lua on its Dummy backend), once on a stereo
and once on a mono track, each in a session of its own (every TAVO instance of a process drifts
from a seed of its own, and tavo-host renders through the first):

1. a session gets a track with a region over a source file that this script then fills with its
   own test signal (the headless session has no import; the file is written as Ardour wrote it,
   header untouched);
2. the session is reloaded, TAVO inserted, its eight parameters and latency read, Drive and Input
   Trim set, and the track bounced through TAVO; the session is saved;
3. the session is reloaded again: TAVO must hold both settings, and a second bounce is made.

Both bounces must equal `tavo-host render` of the same signal to -80 dB from frame 16384 on
(the drive smoother has settled by then), and the mono track's bounce must match tavo-host's
mono render — TAVO's mono path; the stereo path with a silent or copied second input sounds
different. The bundle is found as Ardour finds one: in ~/.vst3 (a scratch home), through the
scanner's cache entry. Exits 77 (skipped) when Ardour is not installed.

Usage: ardour_session_check.py <TAVO.vst3> <tavo-host>
"""
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

ARDOUR = "/usr/lib/ardour7"
SCANNER = os.path.join(ARDOUR, "ardour-vst3-scanner")
LUA = "/usr/bin/ardour7-lua"
PROCESSOR_CID = "6A0C1F523B9E4D71A2C85E1347D06B29"
NAMES = ["Input Trim", "Drive", "Output Compensation", "Asymmetry", "Freq Response",
         "Crosstalk Level", "VU Mode", "Bypass"]
DRIVE, TRIM = 7.5, -4.0
RATE, FRAMES, SETTLED = 48000, 48000, 16384
LIMIT_DB = -80.0

START = """
AudioEngine:set_backend("None (Dummy)", "", "")
AudioEngine:start(false)
"""

# The bounce runs the track's chain up to (not including) its main outputs: the fader at unity,
# then TAVO. Ardour drops the plug-in's latency from the bounce itself.
BOUNCE = """
local function bounce(track, name)
  local r = track:bounce_range(0, {frames}, ARDOUR.InterThreadInfo(), track:main_outs(), false,
                               name)
  assert(not r:isnil(), "no bounce")
  for i = 0, r:to_audioregion():n_channels() - 1 do
    print("file", name, i, r:source(i):to_filesource():path())
  end
end
"""

FEED = START + BOUNCE + """
local s = create_session("{session}", "tavo", {rate})
assert(s, "no session")
print("rate", s:nominal_sample_rate())
local track = s:new_audio_track({channels}, 2, nil, 1, "track", ARDOUR.PresentationInfo.max_order,
                                ARDOUR.TrackMode.Normal, true):front()
-- A bounce of the empty track leaves a silent region over new files, filled in afterwards.
-- Strict I/O (the default of tracks made in the editor): TAVO's outputs follow the track's inputs.
track:set_strict_io(true)
local r = track:bounce_range(0, {frames}, ARDOUR.InterThreadInfo(), track:main_outs(), false, "feed")
-- No fades: the region plays the file as it is from its first frame to its last.
r:to_audioregion():set_fade_in_active(false)
r:to_audioregion():set_fade_out_active(false)
track:playlist():add_region(r, Temporal.timepos_t(0), 1, false, 0, 0, false)
for i = 0, r:to_audioregion():n_channels() - 1 do
  print("file", "feed", i, r:source(i):to_filesource():path())
end
s:save_state("")
close_session()
"""

INSERT = START + BOUNCE + """
local s = load_session("{session}", "tavo")
assert(s, "the session does not load")
local track = s:route_by_name("track"):to_track()
local p = ARDOUR.LuaAPI.new_plugin(s, "{cid}", ARDOUR.PluginType.VST3, "")
assert(not p:isnil(), "TAVO not found")
assert(track:add_processor_by_index(p, 0, nil, true) == 0, "not inserted")
local plug = p:to_insert():plugin(0)
for i = 0, plug:parameter_count() - 1 do print("param", i, plug:parameter_label(i)) end
print("latency", p:signal_latency())
ARDOUR.LuaAPI.set_processor_param(p, 1, {drive})
ARDOUR.LuaAPI.set_processor_param(p, 0, {trim})
-- The processor hears the values in the engine's next cycles (the host sends them with the
-- audio): two seconds of them, enough on a loaded machine.
ARDOUR.LuaAPI.usleep(2000000)
bounce(track, "first")
s:save_state("")
close_session()
"""

RELOAD = START + BOUNCE + """
local s = load_session("{session}", "tavo")
assert(s, "the session does not load")
local track = s:route_by_name("track"):to_track()
local p = track:nth_plugin(0)
print("loaded", p:isnil() and "none" or p:display_name(),
      ARDOUR.LuaAPI.get_processor_param(p, 1, true), ARDOUR.LuaAPI.get_processor_param(p, 0, true))
ARDOUR.LuaAPI.usleep(1000000)
bounce(track, "second")
close_session()
"""


def signal(channels):
    """Two seconds' worth of a chirp per channel with a loud burst: every stage of TAVO hears it."""
    frames = []
    for i in range(FRAMES):
        t = i / RATE
        level = 0.9 if 0.5 < t < 0.75 else 0.35
        frames.append([level * math.sin(2 * math.pi * (60 + 900 * t * (c + 1)) * t)
                       for c in range(channels)])
    return frames


def data_chunk(blob):
    """Offset and size of a WAV file's sample data."""
    pos = 12
    while pos + 8 <= len(blob):
        kind, size = blob[pos:pos + 4], struct.unpack("<I", blob[pos + 4:pos + 8])[0]
        if kind == b"data":
            return pos + 8, size
        pos += 8 + size + (size & 1)
    raise ValueError("no data chunk")


def float_wav_format(blob):
    pos = 12
    while pos + 8 <= len(blob):
        kind, size = blob[pos:pos + 4], struct.unpack("<I", blob[pos + 4:pos + 8])[0]
        if kind == b"fmt ":
            return struct.unpack("<HHI", blob[pos + 8:pos + 16])
        pos += 8 + size + (size & 1)
    raise ValueError("no fmt chunk")


def read_mono(path):
    with open(path, "rb") as f:
        blob = f.read()
    tag, channels, rate = float_wav_format(blob)
    if (tag, channels, rate) != (3, 1, RATE):
        raise ValueError(f"{path}: format {tag}, {channels} channels at {rate} Hz")
    start, size = data_chunk(blob)
    return struct.unpack(f"<{size // 4}f", blob[start:start + size - size % 4])


def fill_mono(path, samples):
    """Overwrites a float WAV file's samples in place, keeping Ardour's header as it is."""
    with open(path, "r+b") as f:
        blob = f.read()
        start, size = data_chunk(blob)
        if size != 4 * len(samples):
            raise ValueError(f"{path}: {size} bytes of samples, expected {4 * len(samples)}")
        f.seek(start)
        f.write(struct.pack(f"<{len(samples)}f", *samples))


def write_wav(path, frames):
    channels = len(frames[0])
    data = b"".join(struct.pack(f"<{channels}f", *frame) for frame in frames)
    fmt = struct.pack("<HHIIHH", 3, channels, RATE, RATE * 4 * channels, 4 * channels, 32)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<I", len(fmt)) + fmt)
        f.write(b"data" + struct.pack("<I", len(data)) + data)


def read_wav(path):
    with open(path, "rb") as f:
        blob = f.read()
    _, channels, _ = float_wav_format(blob)
    start, size = data_chunk(blob)
    samples = struct.unpack(f"<{size // 4}f", blob[start:start + size - size % 4])
    return [samples[c::channels] for c in range(channels)]


def peak_difference_db(a, b):
    """The largest difference from SETTLED on, in dB of full scale."""
    peak = max(abs(x - y) for x, y in zip(a[SETTLED:], b[SETTLED:]))
    return -math.inf if peak == 0 else 20 * math.log10(peak)


def run_lua(script, env, folder, name):
    path = os.path.join(folder, name + ".lua")
    with open(path, "w") as f:
        f.write(script)
    run = subprocess.run([LUA, path], env=env, capture_output=True, text=True, timeout=300)
    if run.returncode != 0 or "Error" in run.stdout + run.stderr:
        print(run.stdout[-4000:] + run.stderr[-4000:])
    return run.stdout


def files(output, name):
    return [path for _, path in sorted(
        (int(i), path) for i, path in re.findall(rf"^file {name} (\d+) (.+)$", output, re.M))]


def check_track(kind, channels, env, scratch, tavo_host, faults):
    folder = os.path.join(scratch, kind)
    os.makedirs(folder)
    session = os.path.join(folder, "session")
    values = dict(session=session, cid=PROCESSOR_CID, drive=DRIVE, trim=TRIM, rate=RATE,
                  frames=FRAMES, channels=channels)
    fed = run_lua(FEED.format(**values), env, folder, "feed")
    feed_files = files(fed, "feed")
    if len(feed_files) != channels or not re.search(rf"^rate {RATE}$", fed, re.M):
        faults.append(f"{kind}: the session's feed region has files {feed_files}")
        return
    source = signal(channels)
    for c, path in enumerate(feed_files):
        fill_mono(path, [frame[c] for frame in source])
    inserted = run_lua(INSERT.format(**values), env, folder, "insert")
    reloaded = run_lua(RELOAD.format(**values), env, folder, "reload")

    names = re.findall(r"^param \d+ (.+)$", inserted, re.M)
    if names != NAMES:
        faults.append(f"{kind}: parameters {names}")
    if not re.search(r"^latency 6$", inserted, re.M):
        faults.append(f"{kind}: latency is not 6")
    match = re.search(r"^loaded TAVO (\S+) (\S+)", reloaded, re.M)
    if not match:
        faults.append(f"{kind}: no TAVO after reloading")
    elif abs(float(match.group(1)) - DRIVE) > 1e-5 or abs(float(match.group(2)) - TRIM) > 1e-5:
        faults.append(f"{kind}: reloaded with Drive {match.group(1)}, Input Trim "
                      f"{match.group(2)}")

    wav = os.path.join(folder, "signal.wav")
    rendered = os.path.join(folder, "tavo-host.wav")
    write_wav(wav, source)
    subprocess.run([tavo_host, "render", wav, "-o", rendered, "--sample-type", "float",
                    "--set", f"Drive={DRIVE}", "--set", f"Input Trim={TRIM}"], check=True)
    expected = read_wav(rendered)
    for name in ("first", "second"):
        bounced = [read_mono(path) for path in files(inserted + reloaded, name)]
        if len(bounced) != channels or any(len(b) != FRAMES for b in bounced):
            faults.append(f"{kind}: the {name} bounce has {len(bounced)} channels, "
                          f"{[len(b) for b in bounced]} frames")
            continue
        worst = max(peak_difference_db(b, e) for b, e in zip(bounced, expected))
        print(f"{kind} track, {name} bounce: {worst:.1f} dB from tavo-host render")
        if worst > LIMIT_DB:
            faults.append(f"{kind}: the {name} bounce differs from tavo-host render by "
                          f"{worst:.1f} dB")


def main():
    bundle = os.path.abspath(sys.argv[1])
    tavo_host = os.path.abspath(sys.argv[2])
    if not (os.access(SCANNER, os.X_OK) and os.access(LUA, os.X_OK)):
        print("skipped: Ardour 7 is not installed (Debian package ardour)")
        return 77
    faults = []
    with tempfile.TemporaryDirectory() as scratch:
        home = os.path.join(scratch, "home")
        os.makedirs(os.path.join(home, ".vst3"))
        installed = os.path.join(home, ".vst3", "TAVO.vst3")
        # A copy dated a minute back: the session lists a module only when the scanner's cache
        # entry, stamped to the second, is newer than it, and a freshly built one may not be.
        shutil.copytree(bundle, installed)
        earlier = time.time() - 60
        for folder, _, names in os.walk(installed):
            for name in names:
                os.utime(os.path.join(folder, name), (earlier, earlier))
        env = dict(os.environ, HOME=home, XDG_CACHE_HOME=os.path.join(scratch, "cache"),
                   XDG_CONFIG_HOME=os.path.join(scratch, "config"))
        env.pop("DISPLAY", None)
        scan = subprocess.run([SCANNER, "-q", installed],
                              env=dict(env, LD_LIBRARY_PATH=ARDOUR), timeout=120)
        if scan.returncode != 0:
            print("the scanner failed")
            return 1
        check_track("stereo", 2, env, scratch, tavo_host, faults)
        check_track("mono", 1, env, scratch, tavo_host, faults)
    for fault in faults:
        print(fault)
    if not faults:
        print("Ardour's headless session inserts TAVO on a stereo and a mono track, reads its "
              "eight parameters and 6 frames of latency, keeps Drive and Input Trim through "
              "save and reload, and bounces as tavo-host renders, before and after reloading")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""The LV2 bundle through Debian's LV2 tools, one check per command:

  lv2_tools_check.py list     BUNDLE           lv2info lists both plug-ins with their ports
  lv2_tools_check.py validate BUNDLE           sord_validate: the bundle against the LV2 schemas
  lv2_tools_check.py apply    BUNDLE TAVO_HOST lv2apply renders the suite's signals as tavo-host

Exits 77 (skipped) when a tool is not installed. A plug-in built with AddressSanitizer is loaded
into the tools with the sanitizer runtimes that TAVO_LV2_PRELOAD names.
"""
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

MONO = "urn:quenstrel:tavo:mono"
STEREO = "urn:quenstrel:tavo:stereo"
CONTROL_SYMBOLS = ["input_trim", "drive", "output_compensation", "asymmetry", "freq_response",
                   "crosstalk_level", "vu_mode", "enable", "latency", "level"]
SCHEMA_ROOT = "/usr/lib/lv2"


def need(*tools):
    for tool in tools:
        if not shutil.which(tool):
            print(f"{tool} is not installed: skipped (scripts/install-deps.sh installs it)")
            sys.exit(77)


def tool_env(bundle):
    """The tools see our bundle and nothing else: a search folder holding only a link to it."""
    env = dict(os.environ)
    search = tempfile.mkdtemp(prefix="tavo-lv2-path-")
    os.symlink(os.path.abspath(bundle), os.path.join(search, "TAVO.lv2"))
    # …and the core vocabulary, which names the plug-in classes.
    core = os.path.join(SCHEMA_ROOT, "core.lv2")
    if os.path.isdir(core):
        os.symlink(core, os.path.join(search, "core.lv2"))
    env["LV2_PATH"] = search
    preload = os.environ.get("TAVO_LV2_PRELOAD", "")
    if preload:
        env["LD_PRELOAD"] = preload
        # The tools' own allocations at exit are not ours to judge.
        env["ASAN_OPTIONS"] = "detect_leaks=0"
    return env


def run(cmd, env=None):
    done = subprocess.run(cmd, env=env, capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"{' '.join(cmd)} failed ({done.returncode}):\n{done.stdout}\n{done.stderr}")
    return done.stdout


def check_list(bundle):
    need("lv2info")
    env = tool_env(bundle)
    for uri, audio in ((MONO, ["in", "out"]), (STEREO, ["in_l", "in_r", "out_l", "out_r"])):
        text = run(["lv2info", uri], env)
        symbols = re.findall(r"^\s*Symbol:\s*(\S+)\s*$", text, re.M)
        if symbols != audio + CONTROL_SYMBOLS:
            sys.exit(f"lv2info {uri} lists the ports {symbols}:\n{text}")
        for pattern in (r"Class:\s+Distortion", r"Author:\s+Quenstrel", r"Has latency:\s+yes",
                        r"Designation:\s+http://lv2plug.in/ns/lv2core#enabled",
                        r'1.0 = "RMS Difference Out-In"', r"Extension Data:\s+\S+state#interface"):
            if not re.search(pattern, text):
                sys.exit(f"lv2info {uri} does not show {pattern!r}:\n{text}")
    print("lv2info lists both plug-ins with their ports")


def check_validate(bundle):
    need("sord_validate")
    schemas = []
    for vocabulary in ("core", "atom", "buf-size", "log", "options", "state", "units", "urid",
                       "port-props", "ui", "schemas"):
        folder = os.path.join(SCHEMA_ROOT, f"{vocabulary}.lv2")
        if os.path.isdir(folder):
            schemas += [os.path.join(folder, f) for f in sorted(os.listdir(folder))
                        if f.endswith(".ttl")]
    if not schemas:
        print("no LV2 schemas under /usr/lib/lv2: skipped (lv2-dev ships them)")
        sys.exit(77)
    ours = [os.path.join(bundle, "manifest.ttl"), os.path.join(bundle, "TAVO.ttl")]
    done = subprocess.run(["sord_validate"] + schemas + ours, capture_output=True, text=True)
    found = re.search(r"Found (\d+) errors", done.stdout + done.stderr)
    if done.returncode != 0 or not found or found.group(1) != "0":
        sys.exit("sord_validate finds faults:\n" + done.stdout + done.stderr)
    print(f"sord_validate: the bundle validates against {len(schemas)} schema files")


# ---- 32-bit float WAV, written and read without any library ----

def write_wav(path, channels, frames, rate=44100):
    data = b"".join(struct.pack(f"<{channels}f", *frame) for frame in frames)
    fmt = struct.pack("<HHIIHH", 3, channels, rate, rate * 4 * channels, 4 * channels, 32)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<I", len(fmt)) + fmt)
        f.write(b"data" + struct.pack("<I", len(data)) + data)


def read_wav(path):
    with open(path, "rb") as f:
        blob = f.read()
    if blob[:4] != b"RIFF" or blob[8:12] != b"WAVE":
        sys.exit(f"{path} is not a WAV file")
    pos, channels, tag, data = 12, 0, 0, None
    while pos + 8 <= len(blob):
        kind, size = blob[pos:pos + 4], struct.unpack("<I", blob[pos + 4:pos + 8])[0]
        body = blob[pos + 8:pos + 8 + size]
        if kind == b"fmt ":
            tag, channels = struct.unpack("<HH", body[:4])
            bits = struct.unpack("<H", body[14:16])[0]
            if tag == 0xFFFE:
                tag = struct.unpack("<H", body[24:26])[0]
            if tag != 3 or bits != 32:
                sys.exit(f"{path}: not 32-bit float samples")
        elif kind == b"data":
            data = body
        pos += 8 + size + (size & 1)
    count = len(data) // 4
    samples = struct.unpack(f"<{count}f", data[:count * 4])
    return channels, [samples[i:i + channels] for i in range(0, count, channels)]


def signal(channels, seconds=1.0, rate=44100):
    """A rising chirp, a burst of loud tone, then silence to hear the noise floor and the tail."""
    frames = []
    n = int(seconds * rate)
    for i in range(n):
        t = i / rate
        level = 0.9 if 0.3 < t < 0.6 else 0.4 if t < 0.8 else 0.0
        frame = [level * math.sin(2 * math.pi * (80 + 1500 * t * (c + 1)) * t) for c in range(channels)]
        frames.append(frame)
    return frames


# tavo-host moves its controls through the host's 32-bit control values, which land exactly on a
# continuous parameter's plain value only at the ends of its range; everywhere else (the defaults
# 5 and -90 of Asymmetry and Crosstalk Level, 0 dB of the trims included) the value the effect
# sees is off by up to one part in 2^32 of the range (Asymmetry 5 becomes 5.0000000011641532),
# while an LV2 port hands over the float itself. So the exact cases put every continuous
# parameter at an end of its range; the defaults are compared within a bound and reported.
HOT = {"input_trim": 20, "drive": 10, "output_compensation": -20, "asymmetry": 10,
       "freq_response": -10, "crosstalk_level": -60}
COLD = {"input_trim": -20, "drive": 0, "output_compensation": 20, "asymmetry": 0,
        "freq_response": 10, "crosstalk_level": -120}
NAMES = {"input_trim": "Input Trim", "drive": "Drive", "output_compensation": "Output Compensation",
         "asymmetry": "Asymmetry", "freq_response": "Freq Response",
         "crosstalk_level": "Crosstalk Level"}


def case(name, values, bypass=False, exact=True):
    controls = [(symbol, str(v)) for symbol, v in values.items()]
    settings = [f"{NAMES[symbol]}={v}" for symbol, v in values.items()]
    if bypass:
        controls.append(("enable", "0"))
        settings.append("Bypass=on")
    return name, controls, settings, exact


CASES = [case("hot", HOT), case("cold", COLD), case("hot-bypassed", HOT, bypass=True),
         case("defaults", {}, exact=False)]
DEFAULTS_BOUND = 1e-6


def check_apply(bundle, tavo_host):
    need("lv2apply")
    env = tool_env(bundle)
    with tempfile.TemporaryDirectory() as tmp:
        worst = 0.0
        for channels, uri in ((1, MONO), (2, STEREO)):
            source = os.path.join(tmp, f"signal-{channels}.wav")
            write_wav(source, channels, signal(channels))
            for name, controls, settings, exact in CASES:
                ours = os.path.join(tmp, f"lv2-{channels}-{name}.wav")
                ref = os.path.join(tmp, f"host-{channels}-{name}.wav")
                cmd = ["lv2apply", "-i", source, "-o", ours]
                for symbol, value in controls:
                    cmd += ["-c", symbol, value]
                run(cmd + [uri], env)
                cmd = [tavo_host, "render", source, "-o", ref, "--sample-type", "float",
                       "--no-delay-compensation", "--quiet"]
                for setting in settings:
                    cmd += ["--set", setting]
                run(cmd)
                _, a = read_wav(ours)
                _, b = read_wav(ref)
                if len(a) != len(b):
                    sys.exit(f"{name}/{channels}: {len(a)} frames from lv2apply, {len(b)} from tavo-host")
                differing = sum(1 for x, y in zip(a, b) if x != y)
                diff = max(abs(p - q) for x, y in zip(a, b) for p, q in zip(x, y))
                print(f"{'mono' if channels == 1 else 'stereo'} {name}: {len(a)} frames, "
                      f"{differing} differ, largest difference {diff:g}")
                if exact and differing:
                    sys.exit("lv2apply and tavo-host disagree")
                if not exact:
                    worst = max(worst, diff)
                    if diff > DEFAULTS_BOUND:
                        sys.exit("lv2apply and tavo-host differ by more than the control values "
                                 "explain")
        print("lv2apply equals tavo-host render bit for bit with the parameters at their range's "
              f"ends; at the defaults they differ by at most {worst:g}")


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    command, bundle = sys.argv[1], sys.argv[2]
    if command == "list":
        check_list(bundle)
    elif command == "validate":
        check_validate(bundle)
    elif command == "apply":
        check_apply(bundle, sys.argv[3])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""lv2bench at a block of 32 frames on TAVO's stereo LV2 plug-in and, when installed, its peers
in Debian: the Saturator of calf-plugins, and x42-plugins' stereo peak limiter and compressor
(x42 has no saturator; they are the nearest stereo inserts). Best of three runs each, in one run
of this script, written to bench-lv2.json beside build/bench.json for bench-summary.py.

Usage: bench-lv2.py BUILD_DIR [OUT_JSON]
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

TAVO = "urn:quenstrel:tavo:stereo"
PEERS = [
    ("calf Saturator", "http://calf.sourceforge.net/plugins/Saturator"),
    ("x42 dpl (stereo peak limiter)", "http://gareus.org/oss/lv2/dpl#stereo"),
    ("x42 darc (stereo compressor)", "http://gareus.org/oss/lv2/darc#stereo"),
]
BLOCK = 32
FRAMES = 44100 * 30
SYSTEM_LV2 = "/usr/lib/lv2"


def bench(uri, env):
    """Seconds lv2bench reports for FRAMES frames, best of three; None when it cannot run it."""
    best = None
    for _ in range(3):
        done = subprocess.run(["lv2bench", "-b", str(BLOCK), "-n", str(FRAMES), uri], env=env,
                              capture_output=True, text=True)
        for line in done.stdout.splitlines():
            fields = line.split()
            if len(fields) == 2 and fields[1] == uri:
                seconds = float(fields[0])
                best = seconds if best is None else min(best, seconds)
    return best


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = sys.argv[1]
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join("build", "bench-lv2.json")
    bundle = os.path.abspath(os.path.join(build, "lv2", "TAVO.lv2"))
    if not shutil.which("lv2bench") or not os.path.isdir(bundle):
        print("lv2bench or the LV2 bundle is missing: no LV2 figures")
        return
    search = tempfile.mkdtemp(prefix="tavo-lv2-bench-")
    os.symlink(bundle, os.path.join(search, "TAVO.lv2"))
    env = dict(os.environ, LV2_PATH=f"{search}:{SYSTEM_LV2}")  # not ~/.lv2: no installed TAVO

    results = []
    for name, uri in [("TAVO (Stereo)", TAVO)] + PEERS:
        seconds = bench(uri, env)
        if seconds is None:
            print(f"  {name}: not installed or not run by lv2bench")
            continue
        results.append({"name": name, "uri": uri, "seconds": seconds,
                        "ns_per_frame": seconds * 1e9 / FRAMES})
    shutil.rmtree(search, ignore_errors=True)
    with open(out, "w") as f:
        json.dump({"block": BLOCK, "frames": FRAMES, "plugins": results}, f, indent=2)
    for r in results:
        print(f"  lv2bench -b {BLOCK} {r['name']}: {r['ns_per_frame']:.1f} ns per frame")


if __name__ == "__main__":
    main()

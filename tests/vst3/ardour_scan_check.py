#!/usr/bin/env python3
"""Debian's Ardour 7 indexes the bundle: its VST 3 scanner loads TAVO.vst3 (in a scratch cache
folder) and writes a cache entry naming TAVO's processor class, vendor, category and stereo buses.
Exits 77 (skipped) when the scanner is not installed.

Usage: ardour_scan_check.py <TAVO.vst3>
"""
import glob
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

ARDOUR = "/usr/lib/ardour7"
SCANNER = os.path.join(ARDOUR, "ardour-vst3-scanner")
PROCESSOR_CID = "6A0C1F523B9E4D71A2C85E1347D06B29"


def main():
    bundle = os.path.abspath(sys.argv[1])
    if not os.access(SCANNER, os.X_OK):
        print(f"skipped: {SCANNER} is not installed (Debian package ardour)")
        return 77
    with tempfile.TemporaryDirectory() as scratch:
        env = dict(os.environ, LD_LIBRARY_PATH=ARDOUR, HOME=scratch,
                   XDG_CACHE_HOME=os.path.join(scratch, "cache"),
                   XDG_CONFIG_HOME=os.path.join(scratch, "config"))
        run = subprocess.run([SCANNER, "-f", "-v", bundle], env=env, capture_output=True,
                             text=True, timeout=120)
        print(run.stdout + run.stderr)
        if run.returncode != 0:
            print(f"the scanner failed with {run.returncode}")
            return 1
        caches = glob.glob(os.path.join(scratch, "cache", "ardour7", "vst", "*.v3i"))
        if len(caches) != 1:
            print(f"expected one cache entry, found {caches}")
            return 1
        infos = ET.parse(caches[0]).getroot().findall("VST3Info")
    expected = {"uid": PROCESSOR_CID, "name": "TAVO", "vendor": "Quenstrel",
                "category": "Fx|Distortion", "version": "1.0.0", "n_inputs": "2",
                "n_outputs": "2", "n_aux_inputs": "0", "n_midi_inputs": "0"}
    if len(infos) != 1:
        print(f"expected one indexed class, found {len(infos)}")
        return 1
    wrong = {k: (infos[0].get(k), v) for k, v in expected.items() if infos[0].get(k) != v}
    if wrong:
        print(f"the index differs (found, expected): {wrong}")
        return 1
    print("Ardour's scanner indexes TAVO: " +
          ", ".join(f"{k}={v}" for k, v in expected.items()))
    return 0


if __name__ == "__main__":
    sys.exit(main())

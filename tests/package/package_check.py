#!/usr/bin/env python3
"""The Debian package, unpacked with dpkg-deb -x into a scratch folder: lv2ls (LV2_PATH on the
scratch /usr/lib/lv2) lists TAVO's two plug-ins, Ardour's VST 3 scanner indexes the scratch
/usr/lib/vst3/TAVO.vst3, the scratch /usr/bin/tavo-host finds its module and renders, the manual
page is there, and lintian reports no error. Exits 77 (skipped) when a tool is missing.

Usage: package_check.py <tavo_*.deb> <ardour_scan_check.py>
"""
import os
import shutil
import subprocess
import sys
import tempfile

EXPECTED_FILES = [
    "usr/bin/tavo-host",
    "usr/lib/lv2/TAVO.lv2/manifest.ttl",
    "usr/lib/lv2/TAVO.lv2/TAVO.ttl",
    "usr/lib/lv2/TAVO.lv2/TAVO.so",
    "usr/lib/vst3/TAVO.vst3/Contents/x86_64-linux/TAVO.so",
    "usr/share/man/man1/tavo-host.1.gz",
    "usr/share/doc/tavo/copyright",
    "usr/share/doc/tavo/changelog.gz",
]
PLUGINS = ["urn:quenstrel:tavo:mono", "urn:quenstrel:tavo:stereo"]


def run(cmd, **kwargs):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=240, **kwargs)


def main():
    package, scan_check = sys.argv[1], sys.argv[2]
    for tool in ("dpkg-deb", "lv2ls", "lintian", "man"):
        if not shutil.which(tool):
            print(f"skipped: {tool} is not installed")
            return 77
    if not os.path.isfile(package):
        print(f"no package at {package}")
        return 1
    faults = []
    with tempfile.TemporaryDirectory() as root:
        if run(["dpkg-deb", "-x", package, root]).returncode != 0:
            print("dpkg-deb cannot unpack the package")
            return 1
        missing = [f for f in EXPECTED_FILES if not os.path.lexists(os.path.join(root, f))]
        if missing:
            faults.append(f"not in the package: {missing}")

        listed = run(["lv2ls"], env=dict(os.environ, LV2_PATH=os.path.join(root, "usr/lib/lv2")))
        if listed.stdout.split() != PLUGINS:
            faults.append(f"lv2ls on the unpacked /usr/lib/lv2 lists {listed.stdout.split()}")

        scanned = run([sys.executable, scan_check,
                       os.path.join(root, "usr/lib/vst3/TAVO.vst3")])
        print(scanned.stdout[-600:])
        if scanned.returncode not in (0, 77):
            faults.append("Ardour's scanner does not index the unpacked /usr/lib/vst3/TAVO.vst3")

        # The link in /usr/bin leads tavo-host to its module in /usr/lib/tavo.
        info = run([os.path.join(root, "usr/bin/tavo-host"), "info"],
                   env={k: v for k, v in os.environ.items() if k != "TAVO_MODULE"})
        module = os.path.join(root, "usr/lib/tavo/TAVO.so")
        if info.returncode != 0 or module not in info.stdout:
            faults.append(f"the unpacked tavo-host does not run from its module: {info.stderr}")

        page = run(["man", "-l", os.path.join(root, "usr/share/man/man1/tavo-host.1.gz")],
                   env=dict(os.environ, MANWIDTH="80"))
        if page.returncode != 0 or "tavo-host render" not in page.stdout.replace("\u2010", "-"):
            faults.append(f"the manual page does not read: {page.stderr}")

    lint = run(["lintian", "--fail-on", "error", package])
    print(lint.stdout + lint.stderr)
    if lint.returncode != 0:
        faults.append("lintian reports errors")
    for fault in faults:
        print(fault)
    if not faults:
        print("the package unpacks into /usr/lib/lv2, /usr/lib/vst3 and /usr/bin, where lv2ls, "
              "Ardour's scanner and a shell find TAVO, and lintian reports no error")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

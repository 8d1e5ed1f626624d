#!/usr/bin/env python3
"""Fails unless the binary's dynamic symbol table defines exactly the named functions.

Usage: check_exports.py <binary> <name>...
"""
import subprocess
import sys


def main():
    binary, expected = sys.argv[1], sorted(sys.argv[2:])
    listing = subprocess.run(["nm", "-D", "--defined-only", binary], check=True,
                             capture_output=True, text=True).stdout
    exported = sorted(line.split()[-1] for line in listing.splitlines() if line.strip())
    if exported != expected:
        print(f"{binary} exports {exported}, expected {expected}")
        return 1
    print(f"{binary} exports exactly {', '.join(expected)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

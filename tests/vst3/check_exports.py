#!/usr/bin/env python3
"""Fails unless the binary exports exactly the named functions: an ELF shared object's dynamic
symbol table (nm -D), or a Windows DLL's export table (objdump -p of the target's binutils), where
a name must appear exactly as written, without a calling convention's decoration. A DLL must
also import nothing but the system's own DLLs: a host's machine has no compiler runtime DLLs.

Usage: check_exports.py [--objdump OBJDUMP] <binary> <name>...
"""
import re
import subprocess
import sys


SYSTEM_DLL = re.compile(r"^(kernel32|user32|gdi32|advapi32|shell32|comdlg32|comctl32|ole32|"
                        r"oleaut32|wininet|shlwapi|msimg32|winmm|msvcrt|ucrtbase|"
                        r"api-ms-win-[a-z0-9-]+)\.dll$", re.I)


def pe_listing(objdump, binary):
    return subprocess.run([objdump, "-p", binary], check=True, capture_output=True,
                          text=True).stdout


def pe_foreign_imports(listing):
    """The imported DLLs that are not the system's."""
    dlls = re.findall(r"^\s*DLL Name: (\S+)", listing, re.M)
    return [dll for dll in dlls if not SYSTEM_DLL.match(dll)] if dlls else ["(no import table)"]


def pe_exports(listing):
    """The names of the export table's name pointer table."""
    table = listing.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) < 2:
        return []
    names = []
    for line in table[1].splitlines()[1:]:
        match = re.match(r"\s*\[\s*\d+\]\s+(\S+)", line)
        if not match:
            break
        names.append(match.group(1))
    return names


def elf_exports(binary):
    listing = subprocess.run(["nm", "-D", "--defined-only", binary], check=True,
                             capture_output=True, text=True).stdout
    return [line.split()[-1] for line in listing.splitlines() if line.strip()]


def main():
    args = sys.argv[1:]
    objdump = "objdump"
    if args[:1] == ["--objdump"]:
        objdump, args = args[1], args[2:]
    binary, expected = args[0], sorted(args[1:])
    with open(binary, "rb") as f:
        is_pe = f.read(2) == b"MZ"
    listing = pe_listing(objdump, binary) if is_pe else ""
    exported = sorted(pe_exports(listing) if is_pe else elf_exports(binary))
    if exported != expected:
        print(f"{binary} exports {exported}, expected {expected}")
        return 1
    foreign = pe_foreign_imports(listing) if is_pe else []
    if foreign:
        print(f"{binary} imports DLLs a host's machine may not have: {foreign}")
        return 1
    print(f"{binary} exports exactly {', '.join(expected)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

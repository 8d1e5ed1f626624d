#!/usr/bin/env python3
"""Fails when an #include "..." points upward: every quoted include in the tree must name a file
of the including file's own layer or of a layer that layer may use, as the layer table in
docs/ARCHITECTURE.md says. The same holds for the layers' CMake targets: a tavo_<layer> target
named in a folder's tavo_library(...) or target_link_libraries(...) must be one the folder's
layer may use. Prints file:line for each offence and exits 1; exits 0 when none.

Usage: check-layers.py [source root]   (the root defaults to the folder above this script)
"""
import os
import re
import sys

TABLE_START = "<!-- layer-table -->"
TABLE_END = "<!-- /layer-table -->"
SOURCE_SUFFIXES = (".h", ".hpp", ".inl", ".c", ".cc", ".cpp")
SKIPPED_DIRS = {".git", "build", ".cache"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
LINK_CALL = re.compile(r"\b(tavo_library|target_link_libraries)\s*\(([^)]*)\)", re.S)
TARGET = re.compile(r"\btavo_(\w+)")
CODE = re.compile(r"`([^`]+)`")


def read_table(doc_path):
    """{layer: [what it may use]} from the rows between the table markers."""
    with open(doc_path, encoding="utf-8") as f:
        text = f.read()
    if TABLE_START not in text or TABLE_END not in text:
        sys.exit(f"{doc_path}: no layer table between {TABLE_START} and {TABLE_END}")
    body = text.split(TABLE_START, 1)[1].split(TABLE_END, 1)[0]
    table = {}
    for row in body.splitlines():
        cells = [c.strip() for c in row.strip().strip("|").split("|")]
        if len(cells) < 2:
            continue
        names = CODE.findall(cells[0])
        if len(names) != 1:
            continue  # the header and the separator row
        table[names[0].rstrip("/")] = [u.rstrip("/") for u in CODE.findall(cells[1])]
    if not table:
        sys.exit(f"{doc_path}: the layer table has no rows")
    return table


def covers(entry, path):
    """A table entry names a folder (covering everything below it) or a single file."""
    return path == entry or path.startswith(entry + "/")


def layer_of(path, table):
    """The longest table entry that covers the path, or None."""
    best = None
    for layer in table:
        if covers(layer, path) and (best is None or len(layer) > len(best)):
            best = layer
    return best


def resolve(root, including, name):
    """The included file relative to the root: beside the including file first, as the compiler
    looks, then from the root, which is every target's include directory."""
    beside = os.path.normpath(os.path.join(os.path.dirname(including), name))
    if os.path.isfile(os.path.join(root, beside)):
        return beside.replace(os.sep, "/")
    return os.path.normpath(name).replace(os.sep, "/")


def source_files(root):
    for folder, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs if d not in SKIPPED_DIRS and not d.startswith("build"))
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")


def link_faults(root, table):
    """Targets a folder's CMakeLists links against the layer table (tests link what they test)."""
    faults = []
    for layer in sorted(table):
        cmake = os.path.join(root, layer, "CMakeLists.txt")
        if layer.startswith("tests") or not os.path.isfile(cmake):
            continue
        with open(cmake, encoding="utf-8") as f:
            text = f.read()
        for call in LINK_CALL.finditer(text):
            names = TARGET.findall(call.group(2))
            if not names:
                continue
            # The first name is the target being defined or linked: a folder may link another
            # layer's target too (that is how graphics/ once tied the framework to itself).
            subject = names[0] if names[0] in table else layer
            for name in names[1:]:
                if name in table and name != subject and not any(
                        covers(entry, name) for entry in table[subject]):
                    line = text.count("\n", 0, call.start()) + 1
                    faults.append(f"{layer}/CMakeLists.txt:{line}: links tavo_{name} to "
                                  f"tavo_{subject}, which {subject} may not use")
    return faults


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    table = read_table(os.path.join(root, "docs", "ARCHITECTURE.md"))
    faults = []
    checked = 0
    for path in source_files(root):
        own = layer_of(path, table)
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            lines = f.readlines()
        for number, line in enumerate(lines, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            checked += 1
            target = resolve(root, path, match.group(1))
            if own is None:
                faults.append(f"{path}:{number}: the file's folder is not in the layer table")
                continue
            used = layer_of(target, table)
            if used == own or any(covers(entry, target) for entry in table[own]):
                continue
            where = f"layer {used}" if used else "no layer in the table"
            faults.append(f"{path}:{number}: includes \"{match.group(1)}\" ({where}), "
                          f"which {own} may not use")
    faults += link_faults(root, table)
    for fault in faults:
        print(fault)
    print(f"{checked} includes and the layers' CMake links checked against {len(table)} "
          f"layers; {len(faults)} point the wrong way")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Checks which folders of src/ each folder may include from.

Folders sit on floors (platform, logstore, setup, program, then the
subsystems); a lower folder reaches an upper one only through an interface
it may include. Each rule below names the folders it covers, the include
prefixes they must not use, and what to use instead. The rules are checked
over every .h and .cpp file of the folders; the test fails on the first
breach it lists.

Usage: include_rules.py SRC_DIR
"""
import pathlib
import re
import sys

# (folders under src/, forbidden include prefixes, what to use instead)
RULES = [
    (
        ("rig", "spotting", "keyers", "scoring", "setup", "logstore", "platform"),
        ("mainwindow/",),
        "reach the main window through Program or its proxy Form1 (program/main_window_proxy.h)",
    ),
]

# Files that still break a rule while their contents move to their own
# folder; each entry names the file and the include it still has. An entry
# that no longer matches fails the check too, so the list shrinks as they go.
PENDING = {
    ("scoring/multipliers.cpp", "mainwindow/state_province_table.h"),
    ("scoring/worked.cpp", "mainwindow/state_province_table.h"),
    ("logstore/contact_edit_dialog.cpp", "mainwindow/main_window.h"),
}

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]')


def breaches(src):
    found = []
    for folders, forbidden, instead in RULES:
        for folder in folders:
            for path in sorted((src / folder).rglob("*")):
                if path.suffix not in (".h", ".cpp"):
                    continue
                name = path.relative_to(src).as_posix()
                for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                    match = INCLUDE.match(line)
                    if match and match.group(1).startswith(forbidden):
                        found.append((name, match.group(1), number, instead))
    return found


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    src = pathlib.Path(argv[1])
    failed = False
    seen = set()
    for name, header, number, instead in breaches(src):
        seen.add((name, header))
        if (name, header) in PENDING:
            continue
        print(f"src/{name}:{number}: includes \"{header}\"; {instead}")
        failed = True
    for name, header in sorted(PENDING - seen):
        print(f"src/{name} no longer includes \"{header}\": remove it from PENDING in {__file__}")
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

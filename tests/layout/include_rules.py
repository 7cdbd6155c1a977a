#!/usr/bin/env python3
"""Checks which folders of src/ each folder may include from.

Folders sit on floors (platform, logstore, setup, program, then the
subsystems); a lower folder reaches an upper one only through an interface
it may include. Each rule below names the folders it covers, the include
prefixes they must not use, and what to use instead; the log store may
include from nothing but itself and the platform layer; and only the main
window's folder defines members of MainWindow. The rules are checked over
every .h and .cpp file; the test lists every breach it finds.

Usage: include_rules.py SRC_DIR
"""
import pathlib
import re
import sys

# (folders under src/, forbidden include prefixes, what to use instead)
RULES = [
    (
        ("entry", "rig", "spotting", "keyers", "scoring", "setup", "logstore", "platform"),
        ("mainwindow/",),
        "reach the main window through Program or its proxy Form1 (program/main_window_proxy.h)",
    ),
]

# (folder under src/, the only folders its quoted includes may name)
ONLY_FROM = [
    ("logstore", ("logstore/", "platform/")),
]

# Only this folder defines members of the main window's class.
MAIN_WINDOW_FOLDER = "mainwindow"
MAIN_WINDOW_MEMBER = re.compile(r"\bMainWindow::")

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]')
QUOTED_INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def sources(folder):
    return [p for p in sorted(folder.rglob("*")) if p.suffix in (".h", ".cpp")]


def lines(path):
    return enumerate(path.read_text(encoding="utf-8").splitlines(), 1)


def breaches(src):
    """Every breach, as "src/<file>:<line>: <what is wrong>"."""
    found = []
    for folders, forbidden, instead in RULES:
        for folder in folders:
            for path in sources(src / folder):
                for number, line in lines(path):
                    match = INCLUDE.match(line)
                    if match and match.group(1).startswith(forbidden):
                        found.append(f"src/{path.relative_to(src).as_posix()}:{number}: "
                                     f"includes \"{match.group(1)}\"; {instead}")
    for folder, allowed in ONLY_FROM:
        for path in sources(src / folder):
            for number, line in lines(path):
                match = QUOTED_INCLUDE.match(line)
                if match and not match.group(1).startswith(allowed):
                    found.append(f"src/{path.relative_to(src).as_posix()}:{number}: "
                                 f"includes \"{match.group(1)}\"; {folder}/ uses only "
                                 + ", ".join(allowed))
    for path in sources(src):
        if path.relative_to(src).parts[0] == MAIN_WINDOW_FOLDER:
            continue
        for number, line in lines(path):
            if MAIN_WINDOW_MEMBER.search(line):
                found.append(f"src/{path.relative_to(src).as_posix()}:{number}: "
                             f"defines or names a MainWindow member outside src/{MAIN_WINDOW_FOLDER}/")
    return found


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    found = breaches(pathlib.Path(argv[1]))
    for breach in found:
        print(breach)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

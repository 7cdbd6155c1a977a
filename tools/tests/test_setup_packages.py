"""scripts/setup installs every Debian package that the tools in tools/ call,
so that each tool runs on a machine that setup prepared."""

import os
import re
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.dirname(HERE)
TOP = os.path.dirname(TOOLS)
SETUP = os.path.join(TOP, "scripts", "setup")

# A program or file a tool may use, and the Debian package that brings it.
PROVIDERS = {
    "Xvfb": "xvfb",
    "openbox": "openbox",
    "xdotool": "xdotool",
    "xwd": "x11-apps",
    "xwdtopnm": "netpbm",
    "pnmtopng": "netpbm",
    "espeak-ng": "espeak-ng",
    "sox": "sox",
    "python3": "python3",
    "/usr/share/hamradio-files/": "hamradio-files",
}


def setup_packages():
    """The package names of setup's lists (packages=( ... ), packages+=( ... ))."""
    names = set()
    for block in re.findall(r"\bpackages\+?=\((.*?)\)", code_of(SETUP), re.S):
        names.update(block.split())
    return names


def tool_files():
    """The tools' own scripts: tools/ and its folders, but tests and npm's."""
    for folder, subfolders, files in os.walk(TOOLS):
        subfolders[:] = [d for d in subfolders if d not in ("tests", "node_modules")]
        for name in files:
            if name.endswith((".sh", ".py", ".js")) or "." not in name:
                yield os.path.join(folder, name)


def code_of(path):
    """The file's text without its comments (a "#" at a line start or after a
    blank), so that a program the comments only mention does not count."""
    with open(path, encoding="utf-8") as f:
        return "\n".join(re.sub(r"(^|\s)#.*$", "", line) for line in f)


def used(name, code):
    """Whether the code names the program as a whole word, or the path."""
    if "/" in name:
        return name in code
    return re.search(r"(?<![\w-])" + re.escape(name) + r"(?![\w-])", code) is not None


class SetupPackagesTest(unittest.TestCase):
    def test_setup_installs_what_the_tools_call(self):
        installed = setup_packages()
        self.assertIn("xvfb", installed)  # the list was read at all
        for path in tool_files():
            code = code_of(path)
            for name, package in PROVIDERS.items():
                if used(name, code):
                    with self.subTest(tool=os.path.relpath(path, TOP), uses=name):
                        self.assertIn(package, installed)


if __name__ == "__main__":
    unittest.main()

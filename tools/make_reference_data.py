#!/usr/bin/env python3
"""Build the shipped prefix table data/arrlpre2.txt and the DXCC number table
data/ADIFCnt.txt from a cty.csv country file (Debian package hamradio-files).

Usage: tools/make_reference_data.py [CTY_CSV] [--out DATA_DIR]
       (defaults: /usr/share/hamradio-files/cty.csv and data/ beside tools/)

cty.csv has one entity per line, ten comma-separated columns: primary prefix,
country name, DXCC number, continent, CQ zone, ITU zone, latitude (north
positive), longitude (WEST positive), GMT offset, and a blank-separated list of
prefixes and exact calls ending in ";".

arrlpre2.txt, one row per prefix, items in the program's record form (text in
double quotes, numbers bare, CRLF):
    "prefix","country","continent",longitude,latitude,dxcc,cqzone,ituzone
The program reads the first five items and skips the other three.

How the prefix list is turned into rows:
  * Overrides are stripped from each prefix: "(CQ)", "[ITU]", "<lat/lon>",
    "{continent}" and "~offset~". The row carries the entity's own position,
    continent and zones, never the override values.
  * Exact calls (beginning with "=") are left out: the table matches prefixes
    only, and a full call as a "prefix" would also match longer calls.
  * Anything that is not made only of A-Z and 0-9 is left out (reported on
    stderr); the call-sign lookup compares plain prefixes.
  * A prefix listed twice under one entity gives one row. A prefix listed under
    two entities keeps the first entity in file order; the later one is
    reported on stderr.
  * Rows are sorted by prefix in ascending character-code order (digits before
    letters). The lookup starts near the block of a call's first character and
    stops at its end, so this order is required, not cosmetic.
  * At most 10,000 rows: the program's table holds no more, so the tool fails
    instead of writing a file the program cannot load.

Entities whose primary prefix begins with "*" count only for the WAE award
(Sicily, African Italy, European Turkey, Shetland, Bear Island, Vienna Intl
Ctr). For the DXCC list they are part of another entity with the same DXCC
number, so they get no country of their own in the table. Their prefixes are
not simply thrown away: for each one the tool checks what the remaining table
would answer for it (the longest prefix that it begins with). When that answer
already is the entity of the same DXCC number (e.g. IT9 -> I, Italy; TA1 ->
TA, Asiatic Turkey) the prefix adds nothing and is dropped. Otherwise it is
added as a row of that DXCC entity, with its name and position, so that no
prefix lookup falls to a wrong country or to nothing. When no ordinary entity
has that DXCC number the prefix is dropped and reported.

Country names are the ones the program compares with: "United States" becomes
"USA" (the lookups and the ADIF export compare with "USA"), and "Fed. Rep. of
Germany" becomes the plain "Germany". "Canada", "Alaska" and "Hawaii" are
already spelled so in cty.csv; the tool fails if any of the four is missing.
Names must not hold a double quote or a comma (the record form cannot carry
them) and must be longer than two characters (a contact's two-character
location field means a state or province code, not a country). They must fit
the 30 characters of the entry line's country box: a longer name would be cut
there and logged as a name that ADIFCnt.txt does not know. The few longer
names of cty.csv get a shorter spelling in NAME_MAP ("Tristan da Cunha &
Gough Islands" becomes "Tristan da Cunha & Gough Is.", as cty.csv shortens
"Amsterdam & St. Paul Is."); any other name over 30 characters makes the tool
fail.

ADIFCnt.txt holds one row per distinct country name of arrlpre2.txt,
"name",dxcc, sorted by name (character-code order), CRLF.

Both files are plain ASCII.
"""

import argparse
import os
import re
import sys

DEFAULT_CTY = "/usr/share/hamradio-files/cty.csv"
MAX_PREFIX_ROWS = 10000
MAX_DXCC_ROWS = 1000

# cty.csv name -> name used by the program.
NAME_MAP = {
    "United States": "USA",
    "Fed. Rep. of Germany": "Germany",
    "Tristan da Cunha & Gough Islands": "Tristan da Cunha & Gough Is.",
}
# The width of the country box of the in-state entry line (and of the
# set-up dialog's country the box is completed from).
MAX_NAME_LENGTH = 30
# Names the program compares with literally; each must be in the table.
REQUIRED_NAMES = ("USA", "Canada", "Alaska", "Hawaii")

OVERRIDE_RE = re.compile(r"\([^)]*\)|\[[^\]]*\]|<[^>]*>|\{[^}]*\}|~[^~]*~")
PREFIX_RE = re.compile(r"^[A-Z0-9]+$")


class DataError(Exception):
    pass


def warn(msg):
    print("make_reference_data: " + msg, file=sys.stderr)


def format_number(text):
    """Write a cty.csv number as a bare decimal: no blanks, no "+", no
    superfluous zeros ("-12.40" -> "-12.4", "5.00" -> "5", "-0.0" -> "0")."""
    text = text.strip()
    if not re.fullmatch(r"[-+]?\d+(\.\d+)?", text):
        raise DataError("not a number: %r" % text)
    negative = text.startswith("-")
    text = text.lstrip("+-")
    if "." in text:
        whole, frac = text.split(".", 1)
        frac = frac.rstrip("0")
    else:
        whole, frac = text, ""
    whole = whole.lstrip("0") or "0"
    out = whole + ("." + frac if frac else "")
    if negative and out != "0":
        out = "-" + out
    return out


def strip_overrides(token):
    return OVERRIDE_RE.sub("", token)


class Entity:
    def __init__(self, line_no, fields):
        (primary, name, dxcc, continent, cq, itu, lat, lon, _gmt,
         prefixes) = fields
        self.line_no = line_no
        self.primary = primary.strip()
        self.wae_only = self.primary.startswith("*")
        self.cty_name = name.strip()
        self.name = NAME_MAP.get(self.cty_name, self.cty_name)
        if not dxcc.strip().isdigit():
            raise DataError("line %d: DXCC number %r is not a whole number"
                            % (line_no, dxcc))
        self.dxcc = int(dxcc)
        self.continent = continent.strip()
        self.cq = format_number(cq)
        self.itu = format_number(itu)
        self.latitude = format_number(lat)
        self.longitude = format_number(lon)
        self.prefix_field = prefixes.strip()

    def prefixes(self):
        """The entity's plain prefixes in list order, each once."""
        field = self.prefix_field
        if not field.endswith(";"):
            raise DataError("line %d: prefix list does not end in ';'"
                            % self.line_no)
        seen = set()
        out = []
        for token in field[:-1].split():
            if token.startswith("="):
                continue
            prefix = strip_overrides(token)
            if not PREFIX_RE.match(prefix):
                warn("line %d (%s): skipped %r, not a plain prefix"
                     % (self.line_no, self.cty_name, token))
                continue
            if prefix not in seen:
                seen.add(prefix)
                out.append(prefix)
        return out


def read_entities(path):
    entities = []
    with open(path, "r", encoding="ascii", newline="") as f:
        for line_no, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip():
                continue
            fields = line.split(",")
            if len(fields) != 10:
                raise DataError("line %d: %d columns, expected 10"
                                % (line_no, len(fields)))
            entities.append(Entity(line_no, fields))
    if not entities:
        raise DataError("%s holds no entity" % path)
    return entities


def check_name(entity):
    name = entity.name
    if '"' in name or "," in name:
        raise DataError("line %d: country name %r holds a double quote or a "
                        "comma" % (entity.line_no, name))
    if len(name) <= 2:
        raise DataError("line %d: country name %r is not longer than two "
                        "characters" % (entity.line_no, name))
    if len(name) > MAX_NAME_LENGTH:
        raise DataError("line %d: country name %r is %d characters long, the "
                        "country box holds %d; give it a shorter name in "
                        "NAME_MAP" % (entity.line_no, name, len(name),
                                      MAX_NAME_LENGTH))
    if not all(32 <= ord(c) < 127 for c in name):
        raise DataError("line %d: country name %r is not plain ASCII"
                        % (entity.line_no, name))


def longest_match(call, rows):
    """The row whose prefix is the longest that `call` begins with, or None."""
    best = None
    for n in range(len(call), 0, -1):
        best = rows.get(call[:n])
        if best is not None:
            return best
    return None


def build_rows(entities):
    """Returns {prefix: entity}, the entity that each prefix row stands for."""
    rows = {}
    for entity in entities:
        if entity.wae_only:
            continue
        check_name(entity)
        for prefix in entity.prefixes():
            owner = rows.get(prefix)
            if owner is None:
                rows[prefix] = entity
            elif owner is not entity:
                warn("prefix %s listed under %s (line %d) and %s (line %d); "
                     "kept %s" % (prefix, owner.cty_name, owner.line_no,
                                  entity.cty_name, entity.line_no,
                                  owner.cty_name))

    # Entities by DXCC number among the ordinary (non-WAE-only) ones; the
    # first in file order stands for the number.
    parents = {}
    for entity in entities:
        if not entity.wae_only:
            parents.setdefault(entity.dxcc, entity)

    added = {}
    for entity in entities:
        if not entity.wae_only:
            continue
        parent = parents.get(entity.dxcc)
        for prefix in entity.prefixes():
            if prefix in rows:
                continue  # an ordinary entity lists it itself
            found = longest_match(prefix, rows)
            if parent is None:
                warn("WAE-only %s: prefix %s dropped, no DXCC entity %d in "
                     "the file" % (entity.cty_name, prefix, entity.dxcc))
                continue
            if found is not None and found.dxcc == entity.dxcc:
                continue  # the shorter prefix already gives the same entity
            if prefix in added:
                continue
            warn("WAE-only %s: prefix %s added under %s" %
                 (entity.cty_name, prefix, parent.name))
            added[prefix] = parent
    rows.update(added)
    return rows


def record(items):
    """One record of the program's text record form: text items quoted,
    numbers bare, joined by commas, ended by CR LF."""
    parts = []
    for kind, value in items:
        if kind == "t":
            if '"' in value or "\r" in value or "\n" in value:
                raise DataError("text item %r cannot be written" % value)
            parts.append('"' + value + '"')
        else:
            parts.append(value)
    return ",".join(parts) + "\r\n"


def prefix_table_lines(rows):
    if len(rows) > MAX_PREFIX_ROWS:
        raise DataError("%d prefix rows, the program holds at most %d"
                        % (len(rows), MAX_PREFIX_ROWS))
    lines = []
    for prefix in sorted(rows):  # str order = character-code order
        e = rows[prefix]
        lines.append(record([("t", prefix), ("t", e.name), ("t", e.continent),
                             ("n", e.longitude), ("n", e.latitude),
                             ("n", str(e.dxcc)), ("n", e.cq), ("n", e.itu)]))
    return lines


def dxcc_table_lines(rows):
    numbers = {}
    for e in rows.values():
        old = numbers.setdefault(e.name, e.dxcc)
        if old != e.dxcc:
            raise DataError("country name %r stands for DXCC %d and %d"
                            % (e.name, old, e.dxcc))
    missing = [n for n in REQUIRED_NAMES if n not in numbers]
    if missing:
        raise DataError("no prefix row for %s" % ", ".join(missing))
    folded = {}
    for name in numbers:
        other = folded.setdefault(name.upper(), name)
        if other != name:
            raise DataError("country names %r and %r differ only in letter "
                            "case" % (other, name))
    if len(numbers) > MAX_DXCC_ROWS:
        raise DataError("%d countries, the program holds at most %d"
                        % (len(numbers), MAX_DXCC_ROWS))
    return [record([("t", name), ("n", str(numbers[name]))])
            for name in sorted(numbers)]


def write_lines(path, lines):
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="ascii", newline="") as f:
        f.writelines(lines)
    os.replace(tmp, path)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("cty", nargs="?", default=DEFAULT_CTY,
                        help="cty.csv to read (default %(default)s)")
    parser.add_argument("--out", default=os.path.join(here, "..", "data"),
                        help="folder to write into (default: data/)")
    args = parser.parse_args(argv)

    try:
        entities = read_entities(args.cty)
        rows = build_rows(entities)
        prefix_lines = prefix_table_lines(rows)
        dxcc_lines = dxcc_table_lines(rows)
    except (DataError, OSError, UnicodeDecodeError) as err:
        print("make_reference_data: error: %s" % err, file=sys.stderr)
        return 1

    os.makedirs(args.out, exist_ok=True)
    write_lines(os.path.join(args.out, "arrlpre2.txt"), prefix_lines)
    write_lines(os.path.join(args.out, "ADIFCnt.txt"), dxcc_lines)
    print("arrlpre2.txt: %d rows, ADIFCnt.txt: %d rows"
          % (len(prefix_lines), len(dxcc_lines)), file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

#!/usr/bin/env python3
"""Build the shipped county table data/county2.txt from the party state's
county list.

Usage: tools/make_county_table.py [COUNTY_LIST] [--out DATA_DIR]
       (defaults: ../shared/data/party-counties.txt beside the repository and data/ beside tools/)

The list has one county per line, "Full Name,ABBR"; lines beginning with "#"
and blank lines are skipped. county2.txt holds one record per county in the
program's record form (text items in double quotes, comma-separated, CRLF):
    "WI<Full Name>","<ABBR>"
The program keeps a record when its first two characters are the party state
code and takes the rest of item 1, unchanged, as the county name, so nothing
may stand between the code and the name. The abbreviation is written in upper
case because the program upper-cases what the operator types and compares it
exactly.

The tool fails on a malformed line, on a name or abbreviation that the record
form cannot carry (double quote, comma) or that has blanks at its ends, on a
name or abbreviation given twice, and on more than 1,000 counties (the
program's table limit). The file is plain ASCII, counties in list order.
"""

import argparse
import os
import sys

# The shared project data lies beside the repository.
DEFAULT_LIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                            "shared", "data", "party-counties.txt")
PARTY_STATE = "WI"
MAX_COUNTIES = 1000


class DataError(Exception):
    pass


def read_counties(path):
    counties = []
    names = set()
    abbrevs = set()
    with open(path, "r", encoding="ascii", newline="") as f:
        for line_no, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split(",")
            if len(parts) != 2:
                raise DataError("line %d: expected 'Name,ABBR': %r"
                                % (line_no, line))
            name, abbrev = parts
            abbrev = abbrev.upper()
            for what, value in (("name", name), ("abbreviation", abbrev)):
                if not value or value != value.strip():
                    raise DataError("line %d: empty %s or blanks around it"
                                    % (line_no, what))
                if '"' in value:
                    raise DataError("line %d: %s holds a double quote"
                                    % (line_no, what))
            if abbrev in abbrevs:
                raise DataError("line %d: abbreviation %s given twice"
                                % (line_no, abbrev))
            if name in names:
                raise DataError("line %d: county %s given twice"
                                % (line_no, name))
            names.add(name)
            abbrevs.add(abbrev)
            counties.append((name, abbrev))
    if not counties:
        raise DataError("%s lists no county" % path)
    if len(counties) > MAX_COUNTIES:
        raise DataError("%d counties, the program holds at most %d"
                        % (len(counties), MAX_COUNTIES))
    return counties


def county_lines(counties, state=PARTY_STATE):
    return ['"%s%s","%s"\r\n' % (state, name, abbrev)
            for name, abbrev in counties]


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("counties", nargs="?", default=DEFAULT_LIST,
                        help="county list to read (default %(default)s)")
    parser.add_argument("--out", default=os.path.join(here, "..", "data"),
                        help="folder to write into (default: data/)")
    args = parser.parse_args(argv)
    try:
        counties = read_counties(args.counties)
    except (DataError, OSError, UnicodeDecodeError) as err:
        print("make_county_table: error: %s" % err, file=sys.stderr)
        return 1
    os.makedirs(args.out, exist_ok=True)
    path = os.path.join(args.out, "county2.txt")
    with open(path + ".tmp", "w", encoding="ascii", newline="") as f:
        f.writelines(county_lines(counties))
    os.replace(path + ".tmp", path)
    print("county2.txt: %d rows" % len(counties), file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

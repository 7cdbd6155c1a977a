#!/usr/bin/env python3
"""Write the shipped state-position table data/states.txt.

Usage: tools/make_states.py [--out DATA_DIR]   (default: data/ beside tools/)

One record per U.S. state, 50 in all (no District of Columbia), sorted by
state code, in the program's record form (CRLF):
    "WI",44.4,89.8
state code, latitude in degrees (positive north), longitude in degrees
(positive WEST, as every position in the program). The program reads exactly
50 records, latitude before longitude.

Each position is the state's approximate geographic centre (after the U.S.
Geological Survey's list of state centres), rounded to a tenth of a degree.
It serves the bearing and distance shown for a typed state code, for which a
tenth of a degree (about 7 miles) is ample.
"""

import argparse
import os
import sys

# code: (latitude north, longitude west)
STATE_CENTRES = {
    "AK": (63.8, 152.0),
    "AL": (32.8, 86.6),
    "AR": (34.9, 92.5),
    "AZ": (34.6, 111.9),
    "CA": (37.2, 119.4),
    "CO": (39.0, 105.5),
    "CT": (41.6, 72.7),
    "DE": (39.0, 75.5),
    "FL": (28.6, 82.4),
    "GA": (32.6, 83.4),
    "HI": (20.9, 157.3),
    "IA": (42.0, 93.5),
    "ID": (44.4, 114.6),
    "IL": (40.0, 89.3),
    "IN": (39.9, 86.3),
    "KS": (38.5, 98.8),
    "KY": (37.4, 85.3),
    "LA": (31.0, 92.5),
    "MA": (42.4, 71.9),
    "MD": (39.0, 76.7),
    "ME": (45.4, 69.2),
    "MI": (44.3, 85.6),
    "MN": (46.4, 94.2),
    "MO": (38.6, 92.4),
    "MS": (32.7, 89.5),
    "MT": (47.1, 109.6),
    "NC": (35.6, 79.4),
    "ND": (47.5, 100.5),
    "NE": (41.5, 99.9),
    "NH": (43.6, 71.6),
    "NJ": (40.1, 74.6),
    "NM": (34.5, 106.1),
    "NV": (39.3, 116.6),
    "NY": (42.9, 75.5),
    "OH": (40.4, 82.7),
    "OK": (35.6, 97.5),
    "OR": (44.0, 120.6),
    "PA": (40.9, 77.8),
    "RI": (41.7, 71.6),
    "SC": (33.8, 80.9),
    "SD": (44.4, 100.2),
    "TN": (35.9, 86.4),
    "TX": (31.1, 99.3),
    "UT": (39.3, 111.7),
    "VA": (37.5, 78.6),
    "VT": (44.1, 72.7),
    "WA": (47.4, 120.5),
    "WI": (44.4, 89.8),
    "WV": (38.6, 80.7),
    "WY": (43.0, 107.6),
}


def check(table):
    if len(table) != 50:
        raise ValueError("%d states, expected 50" % len(table))
    for code, (lat, lon) in table.items():
        if len(code) != 2 or not code.isalpha() or not code.isupper():
            raise ValueError("bad state code %r" % code)
        # All 50 states lie north of 18 N and west of 66 W; a sign slip
        # (east-positive longitude, say) lands outside these bounds.
        if not (18.0 <= lat <= 72.0 and 66.0 <= lon <= 180.0):
            raise ValueError("%s: position %s,%s out of range"
                             % (code, lat, lon))


def state_lines(table=STATE_CENTRES):
    check(table)
    return ['"%s",%.1f,%.1f\r\n' % (code, lat, lon)
            for code, (lat, lon) in sorted(table.items())]


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "data"),
                        help="folder to write into (default: data/)")
    args = parser.parse_args(argv)
    lines = state_lines()
    os.makedirs(args.out, exist_ok=True)
    path = os.path.join(args.out, "states.txt")
    with open(path + ".tmp", "w", encoding="ascii", newline="") as f:
        f.writelines(lines)
    os.replace(path + ".tmp", path)
    print("states.txt: %d rows" % len(lines), file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

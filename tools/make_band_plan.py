#!/usr/bin/env python3
"""Write the shipped band plan data/BandPlan.txt.

Usage: tools/make_band_plan.py [--out DATA_DIR]   (default: data/ beside tools/)

The file holds the United States amateur frequency privileges of each licence
class (47 CFR 97.301 for the bands and classes, 97.305 for where CW and where
phone may be used), in the program's record form (CRLF):

    "January 8, 2024"                 the effective date, free text
    "40","O","PH",7,7.3               band, class, mode, lower MHz, upper MHz
    "40","E","CW",7,7.125
    ...

Each band's outline row (class "O") gives its full extent and comes first;
the class rows follow, classes in the order E, A, G, P, T, N. Mode "CW" marks
a segment where only CW and data may be sent, "PH" one where phone is allowed
as well; the five 60 m channels carry "USB", the only phone mode they allow,
each 2.8 kHz wide from its carrier (dial) frequency. Technician Plus holds
the Technician privileges (the classes were merged in 2007).

The date is that of the last change to the rules these segments come from.
"""

import argparse
import os
import sys

EFFECTIVE = "January 8, 2024"

HF_CW_ONLY = "CW"
PHONE = "PH"

# band: (outline lower, outline upper, {class: [(mode, lower, upper), ...]})
T_HF = {
    "80": [(HF_CW_ONLY, 3.525, 3.6)],
    "40": [(HF_CW_ONLY, 7.025, 7.125)],
    "15": [(HF_CW_ONLY, 21.025, 21.2)],
    "10": [(HF_CW_ONLY, 28.0, 28.3), (PHONE, 28.3, 28.5)],
}
SIXTY = [5.3305, 5.3465, 5.357, 5.3715, 5.4035]


def sixty_rows():
    return [("USB", f, round(f + 0.0028, 4)) for f in SIXTY]


def vhf(lower, upper, cw_upper=None):
    if cw_upper is None:
        return [(PHONE, lower, upper)]
    return [(HF_CW_ONLY, lower, cw_upper), (PHONE, cw_upper, upper)]


def band_plan():
    plan = []

    def band(name, lower, upper, classes):
        plan.append((name, lower, upper, classes))

    gae = lambda rows: {"E": rows, "A": rows, "G": rows}  # noqa: E731
    band("160", 1.8, 2.0, gae([(PHONE, 1.8, 2.0)]))
    band("80", 3.5, 4.0, {
        "E": [(HF_CW_ONLY, 3.5, 3.6), (PHONE, 3.6, 4.0)],
        "A": [(HF_CW_ONLY, 3.525, 3.6), (PHONE, 3.7, 4.0)],
        "G": [(HF_CW_ONLY, 3.525, 3.6), (PHONE, 3.8, 4.0)],
        "P": T_HF["80"], "T": T_HF["80"], "N": T_HF["80"]})
    band("60", 5.3305, 5.4063, gae(sixty_rows()))
    band("40", 7.0, 7.3, {
        "E": [(HF_CW_ONLY, 7.0, 7.125), (PHONE, 7.125, 7.3)],
        "A": [(HF_CW_ONLY, 7.025, 7.125), (PHONE, 7.125, 7.3)],
        "G": [(HF_CW_ONLY, 7.025, 7.125), (PHONE, 7.175, 7.3)],
        "P": T_HF["40"], "T": T_HF["40"], "N": T_HF["40"]})
    band("30", 10.1, 10.15, gae([(HF_CW_ONLY, 10.1, 10.15)]))
    band("20", 14.0, 14.35, {
        "E": [(HF_CW_ONLY, 14.0, 14.15), (PHONE, 14.15, 14.35)],
        "A": [(HF_CW_ONLY, 14.025, 14.15), (PHONE, 14.175, 14.35)],
        "G": [(HF_CW_ONLY, 14.025, 14.15), (PHONE, 14.225, 14.35)]})
    band("17", 18.068, 18.168, gae([(HF_CW_ONLY, 18.068, 18.11), (PHONE, 18.11, 18.168)]))
    band("15", 21.0, 21.45, {
        "E": [(HF_CW_ONLY, 21.0, 21.2), (PHONE, 21.2, 21.45)],
        "A": [(HF_CW_ONLY, 21.025, 21.2), (PHONE, 21.225, 21.45)],
        "G": [(HF_CW_ONLY, 21.025, 21.2), (PHONE, 21.275, 21.45)],
        "P": T_HF["15"], "T": T_HF["15"], "N": T_HF["15"]})
    band("12", 24.89, 24.99, gae([(HF_CW_ONLY, 24.89, 24.93), (PHONE, 24.93, 24.99)]))
    band("10", 28.0, 29.7, {
        "E": [(HF_CW_ONLY, 28.0, 28.3), (PHONE, 28.3, 29.7)],
        "A": [(HF_CW_ONLY, 28.0, 28.3), (PHONE, 28.3, 29.7)],
        "G": [(HF_CW_ONLY, 28.0, 28.3), (PHONE, 28.3, 29.7)],
        "P": T_HF["10"], "T": T_HF["10"], "N": T_HF["10"]})
    tech_up = lambda rows: {c: rows for c in "EAGPT"}  # noqa: E731
    band("6", 50.0, 54.0, tech_up(vhf(50.0, 54.0, 50.1)))
    band("2", 144.0, 148.0, tech_up(vhf(144.0, 148.0, 144.1)))
    band("1.25", 222.0, 225.0, {**tech_up(vhf(222.0, 225.0)), "N": vhf(222.0, 225.0)})
    band("70cm", 420.0, 450.0, tech_up(vhf(420.0, 450.0)))
    band("33cm", 902.0, 928.0, tech_up(vhf(902.0, 928.0)))
    band("23cm", 1240.0, 1300.0, {**tech_up(vhf(1240.0, 1300.0)), "N": vhf(1270.0, 1295.0)})
    return plan


def number(v):
    text = ("%.4f" % v).rstrip("0").rstrip(".")
    return text


def rows(plan):
    out = []
    for name, lower, upper, classes in plan:
        out.append((name, "O", PHONE, lower, upper))
        for cls in "EAGPTN":
            for mode, lo, hi in classes.get(cls, []):
                out.append((name, cls, mode, lo, hi))
    return out


def render(plan):
    lines = ['"%s"' % EFFECTIVE]
    for name, cls, mode, lo, hi in rows(plan):
        lines.append('"%s","%s","%s",%s,%s' % (name, cls, mode, number(lo), number(hi)))
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(os.path.dirname(os.path.dirname(
        os.path.abspath(__file__))), "data"))
    args = parser.parse_args()
    plan = band_plan()
    count = len(rows(plan))
    if count > 200:
        sys.exit("make_band_plan: %d rows, more than the 200 the program keeps" % count)
    path = os.path.join(args.out, "BandPlan.txt")
    with open(path, "wb") as f:
        f.write(render(plan))
    print("make_band_plan: wrote %s (%d rows)" % (path, count), file=sys.stderr)


if __name__ == "__main__":
    main()

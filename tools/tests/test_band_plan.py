"""The shipped band plan: what the generator writes, and the rules the
program's readers rely on (outline row first, segments inside their band,
no empty segment, at most 200 rows)."""

import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.dirname(HERE)
DATA = os.path.join(os.path.dirname(TOOLS), "data")
sys.path.insert(0, TOOLS)

import make_band_plan  # noqa: E402


def shipped_rows():
    with open(os.path.join(DATA, "BandPlan.txt"), "rb") as f:
        lines = f.read().decode("ascii").split("\r\n")
    assert lines[-1] == ""
    date = lines[0].strip('"')
    rows = []
    for line in lines[1:-1]:
        band, cls, mode, lo, hi = line.split(",")
        rows.append((band.strip('"'), cls.strip('"'), mode.strip('"'), float(lo), float(hi)))
    return date, rows


class BandPlanTest(unittest.TestCase):
    def test_shipped_file_is_what_the_generator_writes(self):
        with open(os.path.join(DATA, "BandPlan.txt"), "rb") as f:
            self.assertEqual(f.read(), make_band_plan.render(make_band_plan.band_plan()))

    def test_rows_follow_the_readers_rules(self):
        date, rows = shipped_rows()
        self.assertTrue(date)
        self.assertLessEqual(len(rows), 200)
        outline = None
        seen_bands = []
        for band, cls, mode, lo, hi in rows:
            self.assertIn(cls, "OEAGPTN")
            self.assertIn(mode, ("CW", "PH", "USB"))
            self.assertLess(lo, hi, (band, cls, lo, hi))
            if cls == "O":
                self.assertNotIn(band, seen_bands, "each band's rows stand together")
                seen_bands.append(band)
                outline = (band, lo, hi)
                continue
            self.assertEqual(band, outline[0], "a class row follows its band's outline row")
            self.assertGreaterEqual(lo, outline[1])
            self.assertLessEqual(hi, outline[2])

    def test_privileges_an_operator_knows(self):
        _, rows = shipped_rows()
        extra = [(b, m, lo, hi) for b, c, m, lo, hi in rows if c == "E"]
        self.assertIn(("20", "PH", 14.15, 14.35), extra)
        self.assertIn(("40", "PH", 7.125, 7.3), extra)
        self.assertIn(("20", "CW", 14.0, 14.15), extra)
        sixty = [(lo, hi) for b, m, lo, hi in extra if b == "60"]
        self.assertEqual([lo for lo, _ in sixty], [5.3305, 5.3465, 5.357, 5.3715, 5.4035])
        self.assertTrue(all(m == "USB" for b, m, _, _ in extra if b == "60"))
        general_20 = [(m, lo, hi) for b, c, m, lo, hi in rows if b == "20" and c == "G"]
        self.assertEqual(general_20, [("CW", 14.025, 14.15), ("PH", 14.225, 14.35)])
        self.assertFalse([r for r in rows if r[0] == "20" and r[1] in "TPN"])


if __name__ == "__main__":
    unittest.main()

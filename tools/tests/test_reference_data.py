"""Tests of the reference-data tools and of the shipped files in data/.

Run from the repository root:  python3 -m unittest discover -s tools/tests
"""

import contextlib
import io
import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.dirname(HERE)
DATA = os.path.join(os.path.dirname(TOOLS), "data")
sys.path.insert(0, TOOLS)

import make_county_table  # noqa: E402
import make_reference_data  # noqa: E402
import make_states  # noqa: E402


# --- A reader of the program's text record form, as the program reads it ---

def read_items(data):
    """Split file text into items the way the program's reader does: an item
    ends at a comma or a line end; a text item that begins with a double
    quote runs to the next double quote. Returns (value, was_quoted)."""
    items = []
    i, n = 0, len(data)
    while i < n:
        if data[i] == '"':
            j = data.index('"', i + 1)
            items.append((data[i + 1:j], True))
            i = j + 1
        else:
            j = i
            while j < n and data[j] not in ",\r\n":
                j += 1
            items.append((data[i:j], False))
            i = j
        if i < n and data[i] == ",":
            i += 1
        elif data.startswith("\r\n", i):
            i += 2
        elif i < n and data[i] == "\n":
            i += 1
        elif i < n:
            raise AssertionError("junk after an item at offset %d" % i)
    return items


def read_records(path, width):
    with open(path, "rb") as f:
        raw = f.read()
    raw.decode("ascii")  # plain ASCII only
    items = read_items(raw.decode("ascii"))
    if len(items) % width:
        raise AssertionError("%s: %d items, not a multiple of %d"
                             % (path, len(items), width))
    return [items[k:k + width] for k in range(0, len(items), width)]


def as_number(item):
    value, quoted = item
    if quoted:
        raise AssertionError("number item %r is quoted" % value)
    return float(value)


# --- The program's prefix search, by character code ---

def searched_call(call):
    """Portable rule: a short part after the first "/" is searched alone."""
    p = call.find("/") + 1
    if p > 0:
        n = len(call) - p
        if 1 < n < len(call) / 2:
            return call[-n:]
    return call


def country_from_call(table, call):
    """table: list of (prefix, country), row 1 at index 0."""
    call = searched_call(call)
    if not call:
        return ""
    count = len(table)

    def first(row):
        if 1 <= row <= count:
            return table[row - 1][0][:1]
        return ""

    a = max(ord(call[0]), 65)
    s = int(count * ((a - 64) / 26))
    while first(s) == call[0]:
        s -= 5
        if s < 1:
            s = 1
        if s <= 1:
            break
    best, best_len = None, 0
    up = not (first(s) > call[0])
    rows = range(s, count + 1) if up else range(s, 0, -1)
    for row in rows:
        if row < 1:
            continue
        prefix, country = table[row - 1]
        if call.startswith(prefix) and len(prefix) > best_len:
            best, best_len = country, len(prefix)
        f = prefix[:1]
        if (up and f > call[0]) or (not up and f < call[0]):
            break
    if best is None:
        return ""
    if call.startswith("KG4") and len(call) > 5:
        return "USA"
    return best


# --- Tool tests on small made-up country files ---

CTY_HEAD = "1A,Sov Mil Order of Malta,246,EU,15,28,41.90,-12.43,-1.0,1A;\n"
CTY_USA = ("K,United States,291,NA,05,08,37.60,91.87,5.0,"
           "AA0(4)[7] K N W KG4 =K1ABC =W1AW/7;\n")
CTY_CANADA = "VE,Canada,1,NA,05,09,44.35,78.75,5.0,VE VE1(5)[9] VO1;\n"
CTY_ALASKA = "KL,Alaska,6,NA,01,01,61.40,148.87,8.0,AL KL NL WL;\n"
CTY_HAWAII = "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,KH6 KH7;\n"
CTY_BASE = CTY_HEAD + CTY_USA + CTY_CANADA + CTY_ALASKA + CTY_HAWAII


class ToolRun:
    """Runs make_reference_data on given cty.csv text in a scratch folder."""

    def __init__(self, cty_text):
        self.tmp = tempfile.TemporaryDirectory()
        self.cty = os.path.join(self.tmp.name, "cty.csv")
        self.out = os.path.join(self.tmp.name, "data")
        with open(self.cty, "w", newline="") as f:
            f.write(cty_text)
        err = io.StringIO()
        with contextlib.redirect_stderr(err):
            self.rc = make_reference_data.main([self.cty, "--out", self.out])
        self.stderr = err.getvalue()

    def prefixes(self):
        return [(r[0][0], r[1][0], r[2][0], as_number(r[3]), as_number(r[4]),
                 int(as_number(r[5])))
                for r in read_records(os.path.join(self.out, "arrlpre2.txt"),
                                      8)]

    def countries(self):
        return {r[0][0]: int(as_number(r[1])) for r in
                read_records(os.path.join(self.out, "ADIFCnt.txt"), 2)}

    def close(self):
        self.tmp.cleanup()


class ReferenceDataToolTest(unittest.TestCase):
    def run_tool(self, cty_text):
        run = ToolRun(cty_text)
        self.addCleanup(run.close)
        return run

    def test_overrides_stripped_exact_calls_left_out(self):
        run = self.run_tool(CTY_BASE)
        self.assertEqual(run.rc, 0, run.stderr)
        rows = {r[0]: r for r in run.prefixes()}
        self.assertIn("AA0", rows)
        self.assertIn("VE1", rows)
        self.assertNotIn("K1ABC", rows)
        self.assertNotIn("W1AW/7", rows)
        with open(os.path.join(run.out, "arrlpre2.txt"), "rb") as f:
            raw = f.read()
        for bad in (b"=", b"(", b"[", b"/"):
            self.assertNotIn(bad, raw)
        # The entity's position, not an override's, and west positive kept.
        self.assertEqual(rows["AA0"][1:5], ("USA", "NA", 91.87, 37.6))
        self.assertEqual(rows["1A"][3:5], (-12.43, 41.9))

    def test_exact_record_text(self):
        run = self.run_tool(CTY_BASE)
        with open(os.path.join(run.out, "arrlpre2.txt"), "rb") as f:
            first = f.readline()
        self.assertEqual(
            first, b'"1A","Sov Mil Order of Malta","EU",-12.43,41.9,246,15,28'
                   b'\r\n')
        with open(os.path.join(run.out, "ADIFCnt.txt"), "rb") as f:
            self.assertEqual(f.read(), b'"Alaska",6\r\n"Canada",1\r\n'
                             b'"Hawaii",110\r\n"Sov Mil Order of Malta",246'
                             b'\r\n"USA",291\r\n')

    def test_sorted_by_character_code(self):
        run = self.run_tool(CTY_BASE)
        prefixes = [r[0] for r in run.prefixes()]
        self.assertEqual(prefixes, sorted(prefixes))
        self.assertEqual(prefixes[0], "1A")  # digits before letters
        self.assertLess(prefixes.index("K"), prefixes.index("KG4"))
        self.assertLess(prefixes.index("KL"), prefixes.index("N"))

    def test_duplicates(self):
        text = CTY_BASE + ("KG4,Guantanamo Bay,105,NA,08,11,20.00,75.00,5.0,"
                           "KG4 KG4 KG44;\n")
        run = self.run_tool(text.replace("KH6 KH7;", "KH6 KH7 KH6(31);"))
        self.assertEqual(run.rc, 0, run.stderr)
        rows = run.prefixes()
        names = [r[0] for r in rows]
        self.assertEqual(names.count("KH6"), 1)
        self.assertEqual(names.count("KG4"), 1)
        # Listed first under the USA line, so the USA row stands.
        self.assertEqual([r[1] for r in rows if r[0] == "KG4"], ["USA"])
        self.assertIn("KG4", run.stderr)
        self.assertIn("Guantanamo Bay", run.stderr)
        self.assertIn("KG44", names)

    def test_non_plain_prefix_skipped(self):
        run = self.run_tool(CTY_BASE.replace("VO1;", "VO1 VE/X vo2;"))
        self.assertEqual(run.rc, 0, run.stderr)
        names = [r[0] for r in run.prefixes()]
        self.assertNotIn("VE/X", names)
        self.assertNotIn("vo2", names)
        self.assertIn("VE/X", run.stderr)

    def test_wae_only_entities(self):
        text = CTY_BASE + (
            "I,Italy,248,EU,15,28,42.82,-12.58,-1.0,I;\n"
            "*IT9,Sicily,248,EU,15,28,37.50,-14.00,-1.0,IT9 =IT9ABC/LH;\n"
            "TA,Asiatic Turkey,390,AS,20,39,39.18,-35.65,-2.0,TA;\n"
            "*TA1,European Turkey,390,EU,20,39,41.02,-28.97,-2.0,TA1 YM1;\n"
            "*4U1V,Vienna Intl Ctr,206,EU,15,28,48.20,-16.30,-1.0,4U1V;\n")
        run = self.run_tool(text)
        self.assertEqual(run.rc, 0, run.stderr)
        rows = {r[0]: r for r in run.prefixes()}
        countries = run.countries()
        for name in ("Sicily", "European Turkey", "Vienna Intl Ctr"):
            self.assertNotIn(name, countries)
        # IT9 and TA1 are answered by I and TA already.
        self.assertNotIn("IT9", rows)
        self.assertNotIn("TA1", rows)
        # YM1 would match nothing without a row: it goes to its DXCC entity.
        self.assertEqual(rows["YM1"][1:3], ("Asiatic Turkey", "AS"))
        # No ordinary entity 206: dropped, and said so.
        self.assertNotIn("4U1V", rows)
        self.assertIn("4U1V", run.stderr)

    def test_names_for_the_program(self):
        run = self.run_tool(CTY_BASE + "DL,Fed. Rep. of Germany,230,EU,14,28,"
                            "51.00,-10.00,-1.0,DA DL;\n")
        countries = run.countries()
        self.assertEqual(countries["USA"], 291)
        self.assertEqual(countries["Germany"], 230)
        self.assertNotIn("United States", countries)

    def test_names_fit_the_country_box(self):
        # A name of 31 characters is refused, one of 30 passes, and the
        # known long name is written shorter in both files alike.
        too_long = "X" * 31
        run = self.run_tool(CTY_BASE + "XX,%s,999,EU,1,1,0,0,0,XX;\n"
                            % too_long)
        self.assertNotEqual(run.rc, 0)
        self.assertIn(too_long, run.stderr)
        self.assertFalse(os.path.exists(run.out))

        fits = "Y" * 30
        run = self.run_tool(
            CTY_BASE + "XY,%s,998,EU,1,1,0,0,0,XY;\n" % fits +
            "ZD9,Tristan da Cunha & Gough Islands,274,AF,38,66,-37.13,12.30,"
            "0.0,ZD9;\n")
        self.assertEqual(run.rc, 0, run.stderr)
        countries = run.countries()
        self.assertEqual(countries[fits], 998)
        self.assertEqual(countries["Tristan da Cunha & Gough Is."], 274)
        self.assertNotIn("Tristan da Cunha & Gough Islands", countries)
        rows = {r[0]: r[1] for r in run.prefixes()}
        self.assertEqual(rows["ZD9"], "Tristan da Cunha & Gough Is.")

    def test_required_name_missing_fails(self):
        run = self.run_tool(CTY_HEAD + CTY_USA + CTY_CANADA + CTY_ALASKA)
        self.assertNotEqual(run.rc, 0)
        self.assertIn("Hawaii", run.stderr)
        self.assertFalse(os.path.exists(run.out))

    def test_name_with_quote_fails(self):
        run = self.run_tool(CTY_BASE + 'XX,Bad "Name",999,EU,1,1,0,0,0,XX;\n')
        self.assertNotEqual(run.rc, 0)
        self.assertFalse(os.path.exists(run.out))

    def test_row_limit(self):
        base = len(self.run_tool(CTY_BASE).prefixes())

        def with_rows(count):
            extra = count - base
            prefixes = " ".join("Z%04d" % k for k in range(extra))
            return CTY_BASE + ("Z,Zland,999,EU,1,1,0,0,0,%s;\n" % prefixes)
        ok = self.run_tool(with_rows(10000))
        self.assertEqual(ok.rc, 0, ok.stderr)
        self.assertEqual(len(ok.prefixes()), 10000)
        over = self.run_tool(with_rows(10001))
        self.assertNotEqual(over.rc, 0)
        self.assertIn("10001", over.stderr)
        self.assertFalse(os.path.exists(over.out))

    def test_number_form(self):
        f = make_reference_data.format_number
        self.assertEqual(f("41.90"), "41.9")
        self.assertEqual(f("-12.40"), "-12.4")
        self.assertEqual(f("05"), "5")
        self.assertEqual(f("-0.00"), "0")
        self.assertEqual(f("0.50"), "0.5")
        self.assertRaises(make_reference_data.DataError, f, "4,5")


class CountyToolTest(unittest.TestCase):
    def run_tool(self, text):
        tmp = tempfile.TemporaryDirectory()
        self.addCleanup(tmp.cleanup)
        src = os.path.join(tmp.name, "counties.txt")
        with open(src, "w", newline="") as f:
            f.write(text)
        out = os.path.join(tmp.name, "data")
        err = io.StringIO()
        with contextlib.redirect_stderr(err):
            rc = make_county_table.main([src, "--out", out])
        path = os.path.join(out, "county2.txt")
        data = None
        if os.path.exists(path):
            with open(path, "rb") as f:
                data = f.read()
        return rc, data, err.getvalue()

    def test_records(self):
        rc, data, err = self.run_tool("# comment\nAdams,ADA\n\nFond du Lac,"
                                      "fon\r\nSt. Croix,STC\n")
        self.assertEqual(rc, 0, err)
        self.assertEqual(data, b'"WIAdams","ADA"\r\n"WIFond du Lac","FON"\r\n'
                               b'"WISt. Croix","STC"\r\n')

    def test_bad_lists_fail(self):
        for text in ("Adams,ADA\nAshland,ADA\n",    # abbreviation twice
                     "Adams,ADA\nAdams,ADB\n",      # county twice
                     "Adams,ADA,X\n",               # comma in an item
                     "Adams\n",                     # no abbreviation
                     ' Adams,ADA\n',                # blank before the name
                     'Ad"ams,ADA\n',                # double quote
                     "# only a comment\n"):
            rc, data, _ = self.run_tool(text)
            self.assertNotEqual(rc, 0, text)
            self.assertIsNone(data, text)


class StatesToolTest(unittest.TestCase):
    def test_sign_slip_caught(self):
        table = dict(make_states.STATE_CENTRES)
        table["WI"] = (44.4, -89.8)
        self.assertRaises(ValueError, make_states.state_lines, table)
        table["WI"] = (89.8, 44.4)
        self.assertRaises(ValueError, make_states.state_lines, table)

    def test_fifty_states(self):
        table = dict(make_states.STATE_CENTRES)
        table["DC"] = (38.9, 77.0)
        self.assertRaises(ValueError, make_states.state_lines, table)


# --- The shipped files ---

class ShippedPrefixTableTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.records = read_records(os.path.join(DATA, "arrlpre2.txt"), 8)
        cls.table = [(r[0][0], r[1][0]) for r in cls.records]

    def test_form(self):
        self.assertLessEqual(len(self.records), 10000)
        with open(os.path.join(DATA, "arrlpre2.txt"), "rb") as f:
            lines = f.read().split(b"\r\n")
        self.assertEqual(lines[-1], b"")  # ends with CRLF, no blank line
        self.assertEqual(len(lines) - 1, len(self.records))
        for r in self.records:
            self.assertTrue(r[0][1] and r[1][1] and r[2][1], r)
            self.assertLessEqual(len(r[1][0]), 30, r)  # the country box
            self.assertRegex(r[0][0], r"^[A-Z0-9]+$")
            self.assertIn(r[2][0], ("AF", "AN", "AS", "EU", "NA", "OC", "SA"))
            lon, lat = as_number(r[3]), as_number(r[4])
            self.assertTrue(-180 <= lon <= 180 and -90 <= lat <= 90, r)
            for item in r[5:]:
                as_number(item)

    def test_sorted_and_unique(self):
        prefixes = [p for p, _ in self.table]
        self.assertEqual(prefixes, sorted(prefixes))
        self.assertEqual(len(prefixes), len(set(prefixes)))

    def test_known_calls(self):
        cases = {
            "K9ABC": "USA", "W1AW": "USA", "N2XX": "USA", "AA0A": "USA",
            "VE3ABC": "Canada", "VO1AA": "Canada", "VY2AA": "Canada",
            "KL7ABC": "Alaska", "KH6ABC": "Hawaii",
            "DL1ABC": "Germany", "G3ABC": "England", "JA1XYZ": "Japan",
            "4X1AB": "Israel", "KG4AB": "Guantanamo Bay", "KG4ABC": "USA",
            "W9ABC/VE3": "Canada", "KH6/W9ABC": "Hawaii", "IT9ABC": "Italy",
            "ZL1AA": "New Zealand", "9A1AA": "Croatia", "QQ1AA": "",
        }
        for call, country in cases.items():
            self.assertEqual(country_from_call(self.table, call), country,
                             call)

    def test_every_row_found_by_the_search(self):
        # The search starts near a call's first character and stops at the
        # end of its block; a row out of place would never be found.
        by_prefix = dict(self.table)
        for prefix, country in self.table:
            self.assertEqual(country_from_call(self.table, prefix),
                             by_prefix[prefix], prefix)

    def test_countries_match_dxcc_table(self):
        dxcc = {r[0][0]: int(as_number(r[1])) for r in
                read_records(os.path.join(DATA, "ADIFCnt.txt"), 2)}
        self.assertLessEqual(len(dxcc), 1000)
        in_prefix_table = {}
        for r in self.records:
            in_prefix_table.setdefault(r[1][0], int(as_number(r[5])))
        self.assertEqual(dxcc, in_prefix_table)
        for name, number in (("USA", 291), ("Canada", 1), ("Alaska", 6),
                             ("Hawaii", 110)):
            self.assertEqual(dxcc[name], number)
        for name in dxcc:
            self.assertGreater(len(name), 2, name)


class ShippedCountyTableTest(unittest.TestCase):
    def test_counties(self):
        records = read_records(os.path.join(DATA, "county2.txt"), 2)
        self.assertEqual(len(records), 72)
        names = [r[0][0] for r in records]
        abbrevs = [r[1][0] for r in records]
        for name in names:
            self.assertTrue(name.startswith("WI") and len(name) > 2, name)
        self.assertIn("WIDane", names)
        self.assertIn("WIFond du Lac", names)
        self.assertEqual(abbrevs[names.index("WIAdams")], "ADA")
        for a in abbrevs:
            self.assertEqual(a, a.upper())
        self.assertEqual(len(set(abbrevs)), 72)


class ShippedStatesTest(unittest.TestCase):
    def test_states(self):
        records = read_records(os.path.join(DATA, "states.txt"), 3)
        self.assertEqual(len(records), 50)
        pos = {r[0][0]: (as_number(r[1]), as_number(r[2])) for r in records}
        self.assertEqual(len(pos), 50)
        self.assertNotIn("DC", pos)
        lat, lon = pos["WI"]  # latitude first, longitude west positive
        self.assertAlmostEqual(lat, 44.5, delta=0.5)
        self.assertAlmostEqual(lon, 89.8, delta=0.5)
        # Neighbours lie where they should relative to each other.
        self.assertGreater(pos["MN"][1], pos["WI"][1])  # Minnesota west
        self.assertGreater(pos["WI"][0], pos["IL"][0])  # Illinois south
        self.assertGreater(pos["AK"][0], 60)
        self.assertGreater(pos["HI"][1], 150)


if __name__ == "__main__":
    unittest.main()

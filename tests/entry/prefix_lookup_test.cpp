#include <QLocale>
#include <gtest/gtest.h>

#include "entry/prefix_lookup.h"
#include "setup/reference_tables.h"
#include "support/test_program.h"

using testing_support::TestProgram;

namespace {

setup::PrefixTable tableOf(std::initializer_list<setup::PrefixRow> rows) {
    setup::PrefixTable table;
    for (const setup::PrefixRow& row : rows) {
        table.rows.push_back(row);
        ++table.PrefixCount;
    }
    return table;
}

// Twelve rows in character order (prefix, country, continent, longitude west,
// latitude north). Two prefixes stand twice: a call beginning with V starts
// on the W row and scans down, meeting the higher VE row first; a call
// beginning with X starts on the first XE row, steps back and scans up,
// meeting the lower XE row first.
setup::PrefixTable fixture() {
    return tableOf({
        {"4X", "Israel", "AS", -35, 31.5f},
        {"D", "Fed. Rep. of Germany", "EU", -8, 50},
        {"DL", "Germany", "EU", -10, 51},
        {"K", "USA", "NA", 91.87f, 37.6f},
        {"KG4", "Guantanamo Bay", "NA", 75.15f, 19.9f},
        {"KH6", "Hawaii", "OC", 157, 21},
        {"KL", "Alaska", "NA", 150, 61},
        {"VE", "Canada (lower row)", "NA", 75, 46},
        {"VE", "Canada", "NA", 80, 45},
        {"W", "USA", "NA", 100, 40},
        {"XE", "Mexico", "NA", 99.1f, 19.4f},
        {"XE", "Mexico (higher row)", "NA", 90, 20},
    });
}

// The station in the party state.
constexpr float kOwnLatitude = 44.5f;
constexpr float kOwnLongitude = 89.5f;

// What a label showed before the lookup ran.
constexpr const char* kBefore = "(before)";

// The in-state window's country box and lookup labels.
struct Shown {
    QString country;
    QString continent = kBefore;
    QString bearing = kBefore;
    QString miles = kBefore;
    int selLength = -1;
};

// Applies a lookup result in the order the window does.
Shown apply(const entry::PrefixLookupResult& r, const QString& countryBefore) {
    Shown shown{countryBefore};
    if (r.country) shown.country = *r.country;
    if (r.continent) shown.continent = *r.continent;
    if (r.bearing == entry::BearingAction::Clear) {
        shown.bearing.clear();
        shown.miles.clear();
    } else if (r.bearing == entry::BearingAction::Show) {
        const entry::BearingDistanceText text =
            entry::BearingDistance(kOwnLatitude, kOwnLongitude, r.latitude, r.longitude);
        shown.bearing = text.bearing;
        shown.miles = text.distance;
    }
    if (r.countrySelLength) shown.selLength = *r.countrySelLength;
    return shown;
}

// A distance text written with "," for the system's thousands separator.
QString grouped(const char* text) {
    return QString(text).replace(',', QLocale::system().groupSeparator());
}

}  // namespace

TEST(PrefixLookup, CallsGiveCountryContinentBearingAndMiles) {
    struct Case {
        const char* call;
        const char* countryBefore;
        const char* country;
        const char* continent;
        const char* bearing;
        const char* miles;
        const char* spotCountry;  // CountryFromCall
    };
    const Case cases[] = {
        {"DL1ABC", "", "Germany", "EU", "45 ", "4,275 ", "Germany"},
        {"D1ABC", "", "Fed. Rep. of Germany", "EU", "46 ", "4,246 ", "Fed. Rep. of Germany"},
        // Letter case counts only for the spot country.
        {"Dl1ABC", "", "Germany", "EU", "45 ", "4,275 ", "Fed. Rep. of Germany"},
        // A prefix longer than the call never matches.
        {"4", "", "Not Found", "", "", "", ""},
        {"4X1AB", "", "Israel", "AS", "45 ", "6,128 ", "Israel"},
        // Duplicate prefixes: the row met first in scan order.
        {"VE3ABC", "", "", "NA", "", "", "Canada"},
        {"XE1ABC", "", "Mexico", "NA", "201 ", "1,819 ", "Mexico"},
        // Portable calls.
        {"W9ABC/VE3", "", "", "NA", "", "", "Canada"},
        {"DL1ABC/XE", "", "Mexico", "NA", "201 ", "1,819 ", "Mexico"},
        {"KH6/W9ABC", "", "HI", "OC", "270 ", "4,115 ", "Hawaii"},
        {"W9ABC/P", "Germany", "Germany", "NA", "", "", "USA"},
        {"D/XE", "", "Fed. Rep. of Germany", "EU", "46 ", "4,246 ", "Fed. Rep. of Germany"},
        {"DL/XEZ", "", "Germany", "EU", "45 ", "4,275 ", "Germany"},
        // Alaska and Hawaii as state codes.
        {"KL7ABC", "", "AK", "NA", "317 ", "2,654 ", "Alaska"},
        {"KH6ABC", "", "HI", "OC", "270 ", "4,115 ", "Hawaii"},
        // A U.S. or Canadian call leaves the country box as it was.
        {"KH", "HI", "HI", "NA", "", "", "USA"},
        {"K9ABC", "Germany", "Germany", "NA", "", "", "USA"},
        {"W9ABC", "", "", "NA", "", "", "USA"},
        {"K9", "Not Found", "Not Found", "", "", "", "USA"},
        // KG4 of 4 or more than 5 characters takes the first USA row, K.
        {"KG4", "", "Guantanamo Bay", "NA", "150 ", "1,887 ", "Guantanamo Bay"},
        {"KG4A", "", "", "NA", "195 ", "492 ", "Guantanamo Bay"},
        {"KG4AB", "", "Guantanamo Bay", "NA", "150 ", "1,887 ", "Guantanamo Bay"},
        {"KG4ABC", "", "", "NA", "195 ", "492 ", "USA"},
        {"Kg4ABC", "", "", "NA", "195 ", "492 ", "USA"},
        // The rule reads the whole call box, the spot country the searched part.
        {"KG4ABC/XE", "Germany", "", "NA", "195 ", "492 ", "Mexico"},
        // Nothing found.
        {"QQ1AB", "Germany", "Not Found", "", "", "", ""},
        {"dl1abc", "", "Not Found", "", "", "", ""},
        {"_DL1AB", "", "Not Found", "", "", "", ""},
        {"/DL1AB", "", "Not Found", "", "", "", ""},
        // An empty call box only empties the labels under "Not Found".
        {"", "Not Found", "Not Found", "", "", "", ""},
        {"", "Germany", "Germany", kBefore, kBefore, kBefore, ""},
    };
    const setup::PrefixTable table = fixture();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        const Shown shown = apply(entry::LookupCallPrefix(table, c.call, c.countryBefore), c.countryBefore);
        EXPECT_EQ(shown.country, c.country);
        EXPECT_EQ(shown.continent, c.continent);
        EXPECT_EQ(shown.bearing, c.bearing);
        EXPECT_EQ(shown.miles, grouped(c.miles));
        EXPECT_EQ(shown.selLength, QString(c.call).isEmpty() ? -1 : shown.country.size());
        EXPECT_EQ(entry::CountryFromCall(table, c.call), c.spotCountry);
    }
}

TEST(PrefixLookup, SearchReadsOnlyTheRowsAndTheBlockOfTheFirstCharacter) {
    setup::PrefixTable empty;
    // A row left beyond the count is not part of the table.
    setup::PrefixTable stale = fixture();
    stale.rows.push_back({"ZL", "New Zealand", "OC", -174, -41});
    empty.rows.push_back({"DL", "Germany", "EU", -10, 51});

    for (const char* call : {"DL1ABC", "K9ABC", "4X1AB", "ZL1AB", "ZZ"}) {
        SCOPED_TRACE(call);
        const Shown shown = apply(entry::LookupCallPrefix(empty, call, ""), "");
        EXPECT_EQ(shown.country, "Not Found");
        EXPECT_EQ(shown.continent, "");
        EXPECT_EQ(shown.bearing, "");
        EXPECT_EQ(entry::CountryFromCall(empty, call), "");
    }
    EXPECT_EQ(entry::FindPrefix(stale, "ZL1AB", Qt::CaseInsensitive).row, 0);
    EXPECT_EQ(entry::CountryFromCall(stale, "ZL1AB"), "");
    EXPECT_EQ(entry::FindPrefix(stale, "XE1ABC", Qt::CaseSensitive).row, 11);
    EXPECT_EQ(entry::FindPrefix(stale, "VE3ABC", Qt::CaseSensitive).row, 9);

    // The scan ends with the block of the call's first character: a row
    // sorted outside its block is never found.
    const setup::PrefixTable unsorted = tableOf({{"4X", "Israel", "AS", -35, 31.5f},
                                                 {"D", "Fed. Rep. of Germany", "EU", -8, 50},
                                                 {"K", "USA", "NA", 91.87f, 37.6f},
                                                 {"DL", "Germany", "EU", -10, 51},
                                                 {"W", "USA", "NA", 100, 40}});
    EXPECT_EQ(entry::CountryFromCall(unsorted, "DL1ABC"), "Fed. Rep. of Germany");
    EXPECT_EQ(entry::LookupCallPrefix(unsorted, "DL1ABC", "").country, "Fed. Rep. of Germany");

    // A first character after "Z" finds nothing, however few the rows.
    const setup::PrefixTable one = tableOf({{"DL", "Germany", "EU", -10, 51}});
    EXPECT_EQ(entry::LookupCallPrefix(one, "dl1abc", "").country, "Not Found");
    EXPECT_EQ(entry::LookupCallPrefix(one, "DL1ABC", "").country, "Germany");
}

TEST(PrefixLookup, KG4WithoutAUsaRowWritesNothing) {
    const setup::PrefixTable table = tableOf({{"KG4", "Guantanamo Bay", "NA", 75.15f, 19.9f}});
    const entry::PrefixLookupResult r = entry::LookupCallPrefix(table, "KG4ABC", "Germany");
    EXPECT_FALSE(r.country);
    EXPECT_FALSE(r.continent);
    EXPECT_EQ(r.bearing, entry::BearingAction::Leave);
    EXPECT_FALSE(r.countrySelLength);
    EXPECT_EQ(entry::LookupCallPrefix(table, "KG4AB", "").country, "Guantanamo Bay");
    EXPECT_EQ(entry::CountryFromCall(table, "KG4ABC"), "USA");
}

TEST(PrefixLookup, BothLookupsKeepTheSearchedCall) {
    struct Case {
        const char* call;
        const char* searched;
    };
    const Case cases[] = {
        {"W9ABC/VE3", "VE3"}, {"AB1CD/XY", "XY"}, {"KH6/W9ABC", "KH6/W9ABC"},
        {"W9ABC/P", "W9ABC/P"}, {"A/BC", "A/BC"}, {"AB/XYZ", "AB/XYZ"},
        {"W9ABC", "W9ABC"}, {"", ""},
    };
    TestProgram t;
    t->prefixes = fixture();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        t->entry.LookupCall = "old";
        EXPECT_EQ(entry::LookupCallPrefix(t.program(), c.call, "").LookupCall, c.searched);
        EXPECT_EQ(t->entry.LookupCall, c.searched);
        t->entry.LookupCall = "old";
        entry::CountryFromCall(t.program(), c.call);
        EXPECT_EQ(t->entry.LookupCall, c.searched);
    }
    EXPECT_EQ(entry::CountryFromCall(t.program(), "KH6/W9ABC"), "Hawaii");
}

TEST(BearingDistance, RoundedLabelTexts) {
    struct Case {
        const char* what;
        float ownLatitude, ownLongitude, latitude, longitude;
        const char* bearing;
        const char* miles;
    };
    const Case cases[] = {
        // Bearing 0.07 shows only the blank; 359.93 shows 360.
        {"a little east of due north", 44.5f, 89.5f, 50, 89.49f, " ", "380 "},
        {"a little west of due north", 44.5f, 89.5f, 50, 89.51f, "360 ", "380 "},
        {"a quarter of a mile east", 44.5f, 89.5f, 44.5f, 89.495f, "90 ", " "},
        {"1,234.6 miles west", 0, 0, 0, 17.88213f, "270 ", "1,235 "},
        {"10,356.15 miles east", 0, 0, 0, -150, "90 ", "10,356 "},
        {"the station itself", 0, 0, 0, 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const entry::BearingDistanceText text =
            entry::BearingDistance(c.ownLatitude, c.ownLongitude, c.latitude, c.longitude);
        EXPECT_EQ(text.bearing, c.bearing);
        EXPECT_EQ(text.distance, grouped(c.miles));
    }
}

TEST(CanadianProvince, FirstThreeCharactersOfTheCall) {
    struct Case {
        const char* call;
        const char* code;
    };
    const Case cases[] = {
        {"VE1AB", "NS"}, {"VE2AB", "QC"}, {"ve3abc", "ON"}, {"VE3", "ON"}, {"VE4AB", "MB"},
        {"VE5AB", "SK"}, {"VE6AB", "AB"}, {"VE7AB", "BC"}, {"VE8AB", "YT"}, {"VE9AB", "NB"},
        {"VO1AB", "NL"}, {"VO2AB", "NL"}, {"Vy1AB", "YT"}, {"VY2AB", "PE"},
        {"VE", ""}, {"VE0AB", ""}, {"VA3ABC", ""}, {"W9VE3", ""}, {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(entry::CanadianProvinceCode(c.call), c.code) << c.call;
}

TEST(PrefixLookup, ShippedTable) {
    struct Case {
        const char* call;
        const char* country;  // written into the country box; null leaves it
        const char* spotCountry;
    };
    const Case cases[] = {
        {"K9ABC", nullptr, "USA"},     {"DL1ABC", "Germany", "Germany"},
        {"JA1ABC", "Japan", "Japan"},  {"VE3ABC", nullptr, "Canada"},
        {"KL7ABC", "AK", "Alaska"},    {"KH6ABC", "HI", "Hawaii"},
        // Digits: the start row lies in the block of 3.
        {"2E0ABC", "England", "England"}, {"3D2AB", "Fiji", "Fiji"},
        {"4X1AB", "Israel", "Israel"},
    };
    TestProgram t;
    t.CopyDataFile("arrlpre2.txt");
    ASSERT_TRUE(setup::LoadPrefixTable(t.program()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        const entry::PrefixLookupResult r = entry::LookupCallPrefix(t->prefixes, c.call, "");
        EXPECT_EQ(r.country, c.country ? std::optional<QString>(c.country) : std::nullopt);
        EXPECT_EQ(entry::CountryFromCall(t->prefixes, c.call), c.spotCountry);
    }
}

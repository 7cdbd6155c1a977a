#include <gtest/gtest.h>

#include "logstore/county_table.h"
#include "support/test_program.h"

using testing_support::TestProgram;

namespace {
QByteArray records(int count, const char* state = "WI") {
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += QString("\"%1County%2\",\"C%2\"\r\n").arg(state).arg(i).toLatin1();
    return out;
}
}  // namespace

TEST(CountyTable, KeepsThePartyStatesRecordsOnly) {
    TestProgram t;
    t->station.PartyState = "WI";
    TestProgram::WriteFile(t.workFile("county2.txt"),
                           "\"MNAitkin\",\"AIT\"\r\n\"WIAdams\",\"ADA\"\r\n\"wiBad\",\"BAD\"\r\n"
                           "\"WI\",\"NON\"\r\n\"WIDane\",\"DAN\"\r\n\"WIDane Twin\",\"DAN\"\r\n");
    ASSERT_TRUE(logstore::LoadCountyTable(t.program().counties, t.program().logPlace()));
    const auto& table = t->counties;
    ASSERT_EQ(table.CountyCount, 4);
    EXPECT_EQ(table.CountyNames[1], "Adams");
    EXPECT_EQ(table.CountyNames[2], "");  // "WI" alone: a county with an empty name
    EXPECT_EQ(table.CountyAbbrevs[3], "DAN");

    struct Case {
        QString typed, upper, name;
    };
    const Case lookups[] = {
        {"ada", "ADA", "Adams"},     {"DAN", "DAN", "Dane"},  // the first of two rows wins
        {"Adams", "ADAMS", ""},      {"XYZ", "XYZ", ""},
        {"ait", "AIT", ""},  // another state's county
    };
    for (const Case& c : lookups) {
        QString abbrev = c.typed;
        EXPECT_EQ(logstore::CountyFromAbbreviation(table, abbrev), c.name) << c.typed.toStdString();
        EXPECT_EQ(abbrev, c.upper);
    }
}

TEST(CountyTable, OtherStatesOnlyGiveAnEmptyTable) {
    TestProgram t;
    t->station.PartyState = "WI";
    TestProgram::WriteFile(t.workFile("county2.txt"), records(5, "MN"));
    ASSERT_TRUE(logstore::LoadCountyTable(t.program().counties, t.program().logPlace()));
    EXPECT_EQ(t->counties.CountyCount, 0);
}

TEST(CountyTable, ThousandCountiesLoadAndOneMoreFails) {
    TestProgram t;
    t->station.PartyState = "WI";
    TestProgram::WriteFile(t.workFile("county2.txt"), records(1000));
    ASSERT_TRUE(logstore::LoadCountyTable(t.program().counties, t.program().logPlace()));
    EXPECT_EQ(t->counties.CountyCount, 1000);
    TestProgram::WriteFile(t.workFile("county2.txt"), records(1001));
    EXPECT_FALSE(logstore::LoadCountyTable(t.program().counties, t.program().logPlace()));
    EXPECT_EQ(t->counties.CountyCount, 1000);
    QFile::remove(t.workFile("county2.txt"));
    EXPECT_FALSE(logstore::LoadCountyTable(t.program().counties, t.program().logPlace()));
}

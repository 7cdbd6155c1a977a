#include <QDir>
#include <gtest/gtest.h>

#include "logstore/county_table.h"
#include "setup/reference_tables.h"
#include "support/test_program.h"

using testing_support::TestProgram;

namespace {
QByteArray prefixRows(int count) {
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += QString("\"K%1\",\"USA\",\"NA\",91.87,37.6,291,5,8\r\n").arg(i, 5, 10, QChar('0')).toLatin1();
    return out;
}
}  // namespace

TEST(PrefixTable, ShippedTableLoadsSortedWithTheEntitiesTheLookupsName) {
    TestProgram t;
    t.CopyDataFile("arrlpre2.txt");
    ASSERT_TRUE(setup::LoadPrefixTable(t.program()));
    const setup::PrefixTable& table = t->prefixes;
    ASSERT_GT(table.PrefixCount, 1000);
    ASSERT_LE(table.PrefixCount, setup::kMaxPrefixes);
    QStringList countries;
    for (int i = 1; i <= table.PrefixCount; ++i) {
        if (i > 1) {
            EXPECT_LT(table.row(i - 1).prefix, table.row(i).prefix) << i;
        }
        countries << table.row(i).country;
    }
    for (const char* needed : {"USA", "Canada", "Alaska", "Hawaii"})
        EXPECT_TRUE(countries.contains(needed)) << needed;
    // Longitudes are positive west: the USA lies at about 90 degrees west.
    for (int i = 1; i <= table.PrefixCount; ++i)
        if (table.row(i).prefix == "K") {
            EXPECT_EQ(table.row(i).country, "USA");
            EXPECT_EQ(table.row(i).continent, "NA");
            EXPECT_GT(table.row(i).longitude, 60);
            EXPECT_GT(table.row(i).latitude, 20);
        }
    // Every index outside the rows finds the empty row.
    EXPECT_TRUE(table.row(0).prefix.isEmpty());
    EXPECT_TRUE(table.row(table.PrefixCount + 1).prefix.isEmpty());
    EXPECT_TRUE(table.row(-3).prefix.isEmpty());
}

TEST(PrefixTable, SharedFolderFirstAndMissingFileIsEmpty) {
    TestProgram t;
    EXPECT_TRUE(setup::LoadPrefixTable(t.program()));
    EXPECT_EQ(t->prefixes.PrefixCount, 0);

    TestProgram::WriteFile(t.workFile("arrlpre2.txt"), "\"W\",\"Working\",\"NA\",1,2,0,0,0\r\n");
    QDir().mkpath(t->folders.DataFolder);
    TestProgram::WriteFile(t->folders.DataFolder + "/arrlpre2.txt", "\"D\",\"Data\",\"EU\",1,2,0,0,0\r\n");
    ASSERT_TRUE(setup::LoadPrefixTable(t.program()));
    EXPECT_EQ(t->prefixes.row(1).country, "Data");
    TestProgram::WriteFile(t->folders.SharedFolder + "/arrlpre2.txt", "\"S\",\"Shared\",\"AS\",1,2,0,0,0\r\n");
    ASSERT_TRUE(setup::LoadPrefixTable(t.program()));
    EXPECT_EQ(t->prefixes.PrefixCount, 1);
    EXPECT_EQ(t->prefixes.row(1).country, "Shared");
}

TEST(PrefixTable, TenThousandRowsLoadAndBadRowsFail) {
    TestProgram t;
    TestProgram::WriteFile(t.workFile("arrlpre2.txt"), prefixRows(10000));
    ASSERT_TRUE(setup::LoadPrefixTable(t.program()));
    EXPECT_EQ(t->prefixes.PrefixCount, 10000);

    struct Case {
        const char* name;
        QByteArray file;
        int keptRows;
    };
    const Case bad[] = {
        {"10,001 rows", prefixRows(10001), 10000},
        {"a longitude that is no number", prefixRows(2) + "\"X\",\"Y\",\"NA\",west,1,0,0,0\r\n", 2},
        {"a short last row", prefixRows(3) + "\"X\",\"Y\",\"NA\",1,2\r\n", 3},
    };
    for (const Case& c : bad) {
        TestProgram u;
        TestProgram::WriteFile(u.workFile("arrlpre2.txt"), c.file);
        EXPECT_FALSE(setup::LoadPrefixTable(u.program())) << c.name;
        EXPECT_EQ(u->prefixes.PrefixCount, c.keptRows) << c.name;
        EXPECT_TRUE(u->prefixes.row(c.keptRows + 1).prefix.isEmpty()) << c.name;
    }
}

TEST(StatePositions, ShippedFileGivesFiftyStatesLatitudeFirst) {
    TestProgram t;
    t.CopyDataFile("states.txt");
    ASSERT_TRUE(setup::LoadStatePositionTable(t.program()));
    QStringList codes;
    for (int i = 1; i <= setup::kStatePositions; ++i) {
        const setup::StatePosition& s = t->statePositions.rows[static_cast<std::size_t>(i)];
        codes << s.code;
        EXPECT_GT(s.latitude, 18) << s.code.toStdString();
        EXPECT_GT(s.longitude, 66) << s.code.toStdString();  // positive west
    }
    codes.removeDuplicates();
    EXPECT_EQ(codes.size(), 50);
    EXPECT_TRUE(codes.contains("WI"));
    EXPECT_TRUE(codes.contains("HI"));
}

TEST(StatePositions, ReadsFiftyRowsExactly) {
    QByteArray rows;
    for (int i = 1; i <= 50; ++i) rows += QString("\"S%1\",44.5,89.5\r\n").arg(i).toLatin1();
    TestProgram t;
    TestProgram::WriteFile(t.workFile("states.txt"), rows + "\"XX\",1,2\r\n");
    ASSERT_TRUE(setup::LoadStatePositionTable(t.program()));
    EXPECT_EQ(t->statePositions.rows[1].latitude, 44.5f);
    EXPECT_EQ(t->statePositions.rows[1].longitude, 89.5f);
    EXPECT_EQ(t->statePositions.rows[50].code, "S50");
    EXPECT_TRUE(t->statePositions.rows[51].code.isEmpty());

    for (const QByteArray& bad : {rows.left(rows.lastIndexOf("\"S50\"")),
                                  QByteArray(rows).replace("\"S7\",44.5", "\"S7\",north")}) {
        TestProgram u;
        TestProgram::WriteFile(u.workFile("states.txt"), bad);
        EXPECT_FALSE(setup::LoadStatePositionTable(u.program()));
    }
    TestProgram none;
    EXPECT_FALSE(setup::LoadStatePositionTable(none.program()));
}

TEST(CountyData, ShippedCountyFileHoldsThePartyStatesCounties) {
    TestProgram t;
    t->station.PartyState = "WI";
    t.CopyDataFile("county2.txt");
    ASSERT_TRUE(logstore::LoadCountyTable(t.program().counties, t.program().logPlace()));
    EXPECT_EQ(t->counties.CountyCount, 72);
    QString abbrev = "dan";
    EXPECT_EQ(logstore::CountyFromAbbreviation(t->counties, abbrev), "Dane");
    QStringList abbrevs;
    for (int i = 1; i <= t->counties.CountyCount; ++i)
        abbrevs << t->counties.CountyAbbrevs[static_cast<std::size_t>(i)];
    abbrevs.removeDuplicates();
    EXPECT_EQ(abbrevs.size(), 72);
}

#include <gtest/gtest.h>

#include "scoring/worked.h"
#include "setup/state_province_table.h"

namespace {

logstore::ContactLog logOf(const std::vector<std::array<QString, 3>>& contacts) {
    logstore::ContactLog log;  // {spc, county, band + mode "PH"/"CW"/...}
    for (const auto& c : contacts) {
        logstore::ContactRecord& r = log.row(++log.QSOCount);
        r.QSOSPC = c[0];
        r.QSOCounty = c[1];
        const QStringList bandMode = c[2].split(' ');
        r.QSOBand = bandMode.value(0);
        r.QSOMode = bandMode.value(1);
    }
    return log;
}

}  // namespace

TEST(ModeCounts, PhoneOnePointEveryOtherModeTwo) {
    const auto log = logOf({{"", "", "40 PH"}, {"", "", "40 ph"}, {"", "", "40 cw"},
                            {"", "", "40 DG"}, {"", "", "40 "}});
    scoring::Tally tally;
    scoring::CountModes(log, tally);
    EXPECT_EQ(tally.PHContacts, 2);
    EXPECT_EQ(tally.CWContacts, 1);
    EXPECT_EQ(tally.DGContacts, 2);
    EXPECT_EQ(tally.QSOPoints, 2 + 2 + 2 + 2);
}

TEST(WorkedLists, CountiesStatesAndDX) {
    logstore::CountyTable counties;
    for (const char* name : {"Adams", "Dane", "Brown"}) {
        ++counties.CountyCount;
        counties.CountyNames.push_back(name);
        counties.CountyAbbrevs.push_back(QString(name).left(3).toUpper());
    }
    const auto log = logOf({{"WI", "dane", "40 CW"},
                            {"WI", "Dane", "20 CW"},
                            {"MA", "", "20 CW"},
                            {"ma", "", "40 CW"},
                            {"QU", "", "40 CW"},  // two letters, no state
                            {"Germany", "", "20 CW"},
                            {"GERMANY", "", "40 CW"},
                            {"Japan", "", "2 CW"},
                            {"WI", "Elsewhere", "40 CW"}});
    const QStringList worked = scoring::WorkedCounties(log);
    EXPECT_EQ(worked, (QStringList{"dane", "Elsewhere"}));
    EXPECT_EQ(scoring::CountiesToGo(counties, worked), (QStringList{"Adams", "Brown"}));
    EXPECT_EQ(scoring::CountyMultipliers(counties, worked), 1);  // "Elsewhere" does not count

    setup::StateProvinceTable table;
    table.Build();
    scoring::Tally tally;
    scoring::RebuildStatesWorked(log, table, tally);
    EXPECT_EQ(scoring::CountStatesWorked(tally), 2);
    EXPECT_TRUE(tally.StateProvWorked[1][2]);   // MA
    EXPECT_TRUE(tally.StateProvWorked[1][42]);  // WI

    EXPECT_EQ(scoring::DXWorked(log), (QStringList{"Germany", "Japan"}));
    scoring::CountPerBand(log, tally);
    EXPECT_EQ(tally.DXCount[3], 1);  // 20 m: Germany
    EXPECT_EQ(tally.DXCount[2], 1);  // 40 m: GERMANY, the same country
    EXPECT_EQ(tally.BandDXList[2][0], "GERMANY");
    for (int b : {0, 1, 4, 5, 6}) EXPECT_EQ(tally.DXCount[static_cast<std::size_t>(b)], 0);
}

TEST(WorkedLists, BandListsGrowPastAThousandCountries) {
    logstore::ContactLog log;
    for (int i = 0; i < 1500; ++i) {
        logstore::ContactRecord& r = log.row(++log.QSOCount);
        r.QSOSPC = QString("Country %1").arg(i);
        r.QSOBand = "20";
    }
    scoring::Tally tally;
    scoring::CountPerBand(log, tally);
    EXPECT_EQ(tally.DXCount[3], 1500);
    EXPECT_EQ(tally.BandDXList[3][1499], "Country 1499");
}

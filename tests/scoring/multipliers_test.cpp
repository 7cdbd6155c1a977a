#include <gtest/gtest.h>

#include "scoring/multipliers.h"
#include "support/scoring_fixture.h"

using testing_support::TestProgram;

#include "logstore/county_table.h"

TEST(Multipliers, CountiesOfTheTableAndStatesForAStationInside) {
    for (int side : {0, 1}) {
        TestProgram t;
        t->station.PartyState = "WI";
        t->station.StationSide = static_cast<std::uint8_t>(side);
        t.CopyDataFile("county2.txt");
        ASSERT_TRUE(logstore::LoadCountyTable(t.program().counties, t.program().logPlace()));
        testing_support::SetContacts(
            t.program(), {testing_support::MakeContact("K1A", "PH", "", "Dane", ""),
                          testing_support::MakeContact("K1B", "CW", "", "dane", ""),
                          testing_support::MakeContact("K1C", "DG", "", "Nowhere", ""),
                          testing_support::MakeContact("K1D", "cw", "ma", "", ""),
                          testing_support::MakeContact("K1E", "CW", "MA", "", ""),
                          testing_support::MakeContact("K1F", "CW", "QU", "", ""),
                          testing_support::MakeContact("K1G", "PH", "Germany", "", "")});
        EXPECT_EQ(scoring::LogPoints(t->log), 1 + 2 + 2 + 2 + 2 + 2 + 1);
        EXPECT_EQ(scoring::StatesProvincesWorkedCount(t->log), 1);
        // Dane once; "Nowhere" is no county of the state; MA counts inside only.
        EXPECT_EQ(scoring::Multipliers(t.program()), side == 0 ? 2 : 1) << side;
    }
}

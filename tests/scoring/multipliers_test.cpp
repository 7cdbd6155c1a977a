#include <gtest/gtest.h>

#include "scoring/multipliers.h"
#include "support/scoring_fixture.h"

using testing_support::TestProgram;

TEST(WorkedCounties, ListsEachCountyOnceAsFirstWrittenInLogOrder) {
    TestProgram t;
    std::vector<logstore::ContactRecord> log(6);
    const char* counties[] = {"Vilas", "", "dane", "Dane", "Nowhere", "VILAS"};
    for (std::size_t i = 0; i < log.size(); ++i) log[i].QSOCounty = counties[i];
    testing_support::SetContacts(t.program(), log);
    EXPECT_EQ(scoring::WorkedCounties(t->log), (QStringList{"Vilas", "dane", "Nowhere"}));
}

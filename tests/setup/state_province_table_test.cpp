#include <QString>
#include <gtest/gtest.h>

#include "setup/state_province_table.h"

TEST(StateProvinceTable, CodesMatchIgnoringCase) {
    setup::StateProvinceTable table;
    table.Build();
    const std::pair<QString, int> cases[] = {
        {"wi", 42}, {"Wi", 42}, {"WI", 42}, {"QC", 53}, {"SD", 50}, {"NB", 51},
        {"NL", 60}, {"CT", 1},  {"YT", 63}, {"QU", 0},  {"NF", 0},  {"LB", 0},
        {"W", 0},   {"WIS", 0}, {"", 0},    {"4X", 0},
    };
    for (const auto& [code, k] : cases) EXPECT_EQ(table.Find(code), k) << code.toStdString();
    EXPECT_EQ(table.StateProvName[42], "Dudurozuz");
    EXPECT_TRUE(table.StateProvAbbrev[64].isEmpty());
}

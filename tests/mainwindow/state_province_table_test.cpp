#include <QString>
#include <gtest/gtest.h>

#include "mainwindow/state_province_table.h"

TEST(StateProvinceTable, FindsCodesIgnoringLetterCase) {
    const std::pair<const char*, int> cases[] = {
        {"WI", 42}, {"wi", 42}, {"Wi", 42}, {"CT", 1}, {"SD", 50}, {"NB", 51}, {"QC", 53},
        {"NL", 60}, {"YT", 63}, {"QU", 0},  {"NF", 0}, {"LB", 0},  {"", 0},    {"WIS", 0},
    };
    for (const auto& [code, index] : cases)
        EXPECT_EQ(mainwindow::FindStateProvince(QString(code)), index) << code;

}

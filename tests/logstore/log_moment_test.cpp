#include <gtest/gtest.h>

#include "logstore/log_moment.h"

TEST(LogMoment, ReadsStoredDates) {
    const std::pair<const char*, std::optional<QDate>> cases[] = {
        {"2013/04/07", QDate(2013, 4, 7)}, {"2013-04-07", QDate(2013, 4, 7)},
        {"2013/4/7", QDate(2013, 4, 7)},   {" 2013/04/07 ", QDate(2013, 4, 7)},
        {"2012/02/29", QDate(2012, 2, 29)}, {"2013/02/29", std::nullopt},
        {"2013/13/01", std::nullopt},      {"13/04/07", std::nullopt},
        {"2013/04-07", std::nullopt},      {"2013/04/07/1", std::nullopt},
        {"07.04.2013", std::nullopt},      {"2013/+4/07", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, date] : cases) EXPECT_EQ(logstore::ParseLogDate(QString(text)), date) << text;
}

TEST(LogMoment, ReadsStoredTimes) {
    const std::pair<const char*, std::optional<QTime>> cases[] = {
        {"18:05:33", QTime(18, 5, 33)}, {"18:05", QTime(18, 5)},   {"9:05", QTime(9, 5)},
        {" 9:5 ", QTime(9, 5)},         {"0:00:00", QTime(0, 0)},  {"24:00", std::nullopt},
        {"12:60", std::nullopt},        {"12:30:60", std::nullopt}, {"1805", std::nullopt},
        {"123:05", std::nullopt},       {"12:05:", std::nullopt},  {"", std::nullopt},
    };
    for (const auto& [text, time] : cases) EXPECT_EQ(logstore::ParseLogTime(QString(text)), time) << text;
}

#include <QFileInfo>
#include <gtest/gtest.h>

#include "setup/station.h"
#include "support/file_size_limit.h"
#include "support/test_program.h"

using testing_support::TestProgram;

namespace {

setup::Station filledStation() {
    setup::Station s;
    s.OwnCall = "N0CALL";
    s.OwnSPC = "WI";
    s.OwnCountry = "USA";
    s.HomeCounty = "DAN";
    s.OwnName = "Pat";
    s.OwnCategory = "Single Op";
    s.OperatingCounty = "ADA";
    s.OwnCity = "Madison";
    s.CurrentMode = "CW";
    s.CurrentBand = "40";
    s.UTCOffsetHours = -5.75f;
    s.OwnLongitude = 89.4f;
    s.OwnLatitude = 43.07f;
    s.OwnContinent = "NA";
    s.FormSizePercent = 85;
    s.WorkedColor = 255;
    s.RemainingColor = 16711680;
    s.BankedOperatingSeconds = 3600.5f;
    s.PartyState = "WI";
    s.StationSide = 1;
    s.RoverMode = 1;
    s.VoiceNavMode = 2;
    s.RigType = "None";
    s.TaskbarLayout = 1;
    s.ListPrevious = 1;
    return s;
}

const QByteArray kFilledFile =
    "\"N0CALL\"\r\n\"WI\"\r\n\"USA\"\r\n\"DAN\"\r\n\"Pat\"\r\n\"Single Op\"\r\n\"ADA\"\r\n"
    "\"Madison\"\r\n\"CW\"\r\n\"40\"\r\n-5.75\r\n89.4\r\n43.07\r\n\"NA\"\r\n85\r\n255\r\n"
    "16711680\r\n3600.5\r\n\"WI\"\r\n1\r\n1\r\n2\r\n\"None\"\r\n1\r\n1\r\n";

QByteArray firstLines(const QByteArray& file, int count) {
    QList<QByteArray> parts = file.split('\n');
    QByteArray out;
    for (int i = 0; i < count; ++i) out += parts[i] + "\n";
    return out;
}

}  // namespace

TEST(QSOPref, TwentyFiveValuesWriteAndReadBack) {
    TestProgram t;
    t->station = filledStation();
    ASSERT_TRUE(setup::SaveQSOPref(t.program()));
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("QSOpref.txt")), kFilledFile);

    TestProgram u;
    TestProgram::WriteFile(u.workFile("QSOpref.txt"), kFilledFile + "\"a 26th line\"\r\n");
    ASSERT_TRUE(setup::LoadQSOPref(u.program()));
    EXPECT_EQ(u->station, filledStation());
    ASSERT_TRUE(setup::SaveQSOPref(u.program()));  // the 26th line is gone
    EXPECT_EQ(TestProgram::ReadFile(u.workFile("QSOpref.txt")), kFilledFile);
}

TEST(QSOPref, ShortOrBadFilesFailKeepingWhatWasRead) {
    // A file ending after value 20: values 1 to 20 are taken, 21 to 25 keep
    // what they held.
    TestProgram t;
    t->station.RoverMode = 0;
    t->station.RigType = "Other";
    TestProgram::WriteFile(t.workFile("QSOpref.txt"), firstLines(kFilledFile, 20));
    EXPECT_FALSE(setup::LoadQSOPref(t.program()));
    EXPECT_EQ(t->station.OwnCall, "N0CALL");
    EXPECT_EQ(t->station.StationSide, 1);
    EXPECT_EQ(t->station.RoverMode, 0);
    EXPECT_EQ(t->station.RigType, "Other");

    struct Case {
        const char* name;
        QByteArray from, to;
    };
    const Case bad[] = {
        {"text in a number's place", "\r\n85\r\n", "\r\nbig\r\n"},
        {"a byte out of range", "\r\n85\r\n", "\r\n256\r\n"},
        {"a negative byte", "\r\n85\r\n", "\r\n-1\r\n"},
        {"a colour out of range", "\r\n16711680\r\n", "\r\n9999999999\r\n"},
    };
    for (const Case& c : bad) {
        TestProgram u;
        QByteArray file = kFilledFile;
        file.replace(c.from, c.to);
        TestProgram::WriteFile(u.workFile("QSOpref.txt"), file);
        EXPECT_FALSE(setup::LoadQSOPref(u.program())) << c.name;
        EXPECT_EQ(u->station.OwnContinent, "NA") << c.name;  // value 14 was read
    }

    TestProgram none;
    EXPECT_FALSE(setup::LoadQSOPref(none.program()));
    EXPECT_EQ(none->station, setup::Station{});
}

TEST(QSOPref, FailedSaveShowsTheSystemTextAndKeepsTheOldFile) {
    TestProgram t;
    TestProgram::WriteFile(t.workFile("QSOpref.txt"), kFilledFile);
    t->station = filledStation();
    t->station.OwnCall = "W9XYZ";
    {
        testing_support::FileSizeLimit full(50);  // the disk fills up
        EXPECT_FALSE(setup::SaveQSOPref(t.program()));
    }
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("QSOpref.txt")), kFilledFile);
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].title, "Unable to write file.");
    EXPECT_FALSE(t.dialogs.shown[0].text.isEmpty());
}

TEST(UTCOffset, RecommendedOffsetFromTheTwoClocks) {
    struct Case {
        int localOffsetSeconds;  // local minus UTC
        float recommended;
    };
    const Case cases[] = {{-5 * 3600, 5.0f},
                          {5 * 3600 + 45 * 60, -5.75f},
                          {-(3 * 3600 + 30 * 60), 3.5f},
                          {0, 0.0f},
                          {-20 * 60, 0.33f}};
    for (const Case& c : cases) {
        QDateTime utc = platform::CalendarTime(2013, 4, 7, 18, 5, 33);
        EXPECT_FLOAT_EQ(setup::RecommendedUTCOffset(utc.addSecs(c.localOffsetSeconds), utc),
                        c.recommended)
            << c.localOffsetSeconds;
    }
}

TEST(UTCOffset, AsksOnlyWhenTheStoredOffsetDiffers) {
    const QString prompt =
        "Would you like to adjust the UTC offset in this program for your local time "
        "setting?\r\n\r\nCurrent System Time: 18:05\r\n\r\nCurrent Local Time: "
        "13:05\r\n\r\nRecommended Offset Setting: 5\r\n\r\nCurrent Offset Setting: "
        "6\r\n\r\nPlease click OK to accept the recommended change or Cancel to keep the "
        "current setting.";
    struct Case {
        const char* name;
        float stored;
        std::optional<QString> answer;
        float after;
        bool saved;
    };
    const Case cases[] = {
        {"matching offset: no box", 5, std::nullopt, 5, false},
        {"OK with the default", 6, QString("5"), 5, true},
        {"Cancel", 6, std::nullopt, 6, false},
        {"typed 4.5", 6, QString("4.5"), 4.5f, true},
        {"empty answer", 6, QString(""), 6, false},
        {"not a number", 6, QString("five"), 6, false},
        {"beyond any time zone", 6, QString("15"), 6, false},
        {"far beyond", 6, QString("1e12"), 6, false},
    };
    for (const Case& c : cases) {
        TestProgram t;  // the fake clock's local time is 5 hours behind UTC
        t->station.UTCOffsetHours = c.stored;
        t.dialogs.inputAnswers.push_back(c.answer);
        setup::CheckUTCOffset(t.program());
        EXPECT_FLOAT_EQ(t->station.UTCOffsetHours, c.after) << c.name;
        EXPECT_EQ(QFileInfo::exists(t.workFile("QSOpref.txt")), c.saved) << c.name;
        if (c.stored == 5) {
            EXPECT_TRUE(t.dialogs.shown.empty());
            continue;
        }
        ASSERT_EQ(t.dialogs.shown.size(), 1u) << c.name;
        EXPECT_EQ(t.dialogs.shown[0].title, "Update the Local Time / UTC Offset?");
        EXPECT_EQ(t.dialogs.shown[0].text, prompt);
        EXPECT_EQ(t.dialogs.shown[0].defaultText, "5");
    }
}

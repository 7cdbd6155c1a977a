#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "logstore/contact_log.h"
#include "support/file_size_limit.h"
#include "support/test_program.h"

using logstore::ContactRecord;
using testing_support::TestProgram;

namespace {

const QByteArray kInStateLine =
    "\"N0CALL\",\"\",\"\",\"WI\",\"Dane\",\"\",\"Adams\",\"\",\"\",\"\",\"\",\"2013/04/07\","
    "\"18:05:33\",\"CW\",\"40\",0,\"\",\"\",\"7.025\"\r\n";
const QByteArray kOutStateLine =
    "\"N0CALL\",\"599\",\"599\",\"\",\"Dane\",\"\",\"\",\"\",\"\",\"\",\"\",\"2013/04/07\","
    "\"18:05:33\",\"CW\",\"40\",0,\"\",\"\",\"7.025\"\r\n";

QByteArray line(int n) {
    return QString("\"K%1\",\"\",\"\",\"WI\",\"Dane\",\"\",\"Adams\",\"\",\"\",\"\",\"\","
                   "\"2013/04/07\",\"18:05:33\",\"PH\",\"20\",0,\"\",\"\",\"\"\r\n")
        .arg(n)
        .toLatin1();
}

QByteArray lines(int count) {
    QByteArray out;
    for (int i = 1; i <= count; ++i) out += line(i);
    return out;
}

QStringList backups(TestProgram& t) {
    return QDir(t->folders.BackupFolder()).entryList(QDir::Files, QDir::Name);
}

}  // namespace

TEST(ContactLog, RecordsOfBothSidesReadAndWriteByteForByte) {
    TestProgram t;
    TestProgram::WriteFile(t.workFile("log.txt"), kInStateLine + kOutStateLine);
    ASSERT_TRUE(t.program().LoadLog());
    ASSERT_EQ(t->log.QSOCount, 2);
    const ContactRecord& in = t->log.row(1);
    EXPECT_EQ(in.QSOCall, "N0CALL");
    EXPECT_EQ(in.QSOSPC, "WI");
    EXPECT_EQ(in.QSOCounty, "Dane");
    EXPECT_EQ(in.QSOCountySent, "Adams");
    EXPECT_EQ(in.QSODate, "2013/04/07");
    EXPECT_EQ(in.QSOTime, "18:05:33");
    EXPECT_EQ(in.QSOMode, "CW");
    EXPECT_EQ(in.QSOBand, "40");
    EXPECT_EQ(in.QSOFrequency, "7.025");
    EXPECT_EQ(t->log.row(2).QSORSTSent, "599");
    EXPECT_EQ(t->log.BackupBaseCount, 2);

    ASSERT_TRUE(logstore::RewriteLog(t.program().log, t.program().logPlace()));
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("log.txt")), kInStateLine + kOutStateLine);
    EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(ContactLog, LoadReadsOddButReadableFiles) {
    TestProgram t;
    // A quoted comma, a record split over two lines, a non-numeric number item
    // and blank lines after the last record.
    QByteArray file = kInStateLine;
    file.replace("\"Dane\"", "\"Dane, east\"");
    QByteArray second = kOutStateLine;
    second.replace("\"599\",\"599\",", "\"599\",\"599\"\r\n");
    second.replace(",0,", ",abc,");
    file += second + "\r\n\r\n";
    TestProgram::WriteFile(t.workFile("log.txt"), file);

    ASSERT_TRUE(t.program().LoadLog());
    ASSERT_EQ(t->log.QSOCount, 2);
    EXPECT_EQ(t->log.row(1).QSOCounty, "Dane, east");
    EXPECT_EQ(t->log.row(2).QSOCounty, "Dane");
    EXPECT_EQ(t->log.row(2).QSOSpare16, 0);
    EXPECT_EQ(t.endCalls, 0);

    ASSERT_TRUE(logstore::RewriteLog(t.program().log, t.program().logPlace()));
    QByteArray expected = kInStateLine;
    expected.replace("\"Dane\"", "\"Dane, east\"");
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("log.txt")), expected + kOutStateLine);
}

TEST(ContactLog, UnreadableLogEndsTheProgramWithItsMessage) {
    struct Case {
        const char* name;
        QByteArray content;  // empty name: no file at all
        bool present;
    };
    QByteArray cut = kInStateLine;
    cut.truncate(cut.indexOf("\"CW\""));
    const Case cases[] = {
        {"missing file", {}, false},
        {"file ends inside a record", kInStateLine + cut, true},
        {"11,001 records", lines(11001), true},
    };
    for (const Case& c : cases) {
        TestProgram t;
        if (c.present) TestProgram::WriteFile(t.workFile("log.txt"), c.content);
        EXPECT_FALSE(t.program().LoadLog()) << c.name;
        EXPECT_EQ(t.endCalls, 1) << c.name;
        ASSERT_EQ(t.dialogs.shown.size(), 1u) << c.name;
        EXPECT_EQ(t.dialogs.shown[0].title, "File Error");
        EXPECT_EQ(t.dialogs.shown[0].text, "Error opening file.");
    }
}

TEST(ContactLog, ElevenThousandContactsLoadAndTheTableRefusesOneMore) {
    TestProgram t;
    TestProgram::WriteFile(t.workFile("log.txt"), lines(11000));
    ASSERT_TRUE(t.program().LoadLog());
    EXPECT_EQ(t->log.QSOCount, 11000);
    EXPECT_EQ(t->log.row(11000).QSOCall, "K11000");

    EXPECT_EQ(logstore::TakeNewRow(t.program().log, t.program().logPlace()), nullptr);
    EXPECT_EQ(t->log.QSOCount, 11000);
    EXPECT_EQ(t->log.row(11000).QSOCall, "K11000");
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].title, "Log Full");

    ASSERT_TRUE(logstore::DeleteContact(t.program().log, t.program().logPlace(), 1));
    EXPECT_EQ(t->log.QSOCount, 10999);
    EXPECT_EQ(t->log.row(1).QSOCall, "K2");
    EXPECT_EQ(t->log.row(11000), ContactRecord{});
}

TEST(ContactLog, EmptyLogLeavesTheBackupBaseForTheFirstLoadWithContacts) {
    TestProgram t;
    TestProgram::WriteFile(t.workFile("log.txt"), "");
    ASSERT_TRUE(t.program().LoadLog());
    EXPECT_EQ(t->log.QSOCount, 0);
    EXPECT_EQ(t->log.BackupBaseCount, 0);
    TestProgram::WriteFile(t.workFile("log.txt"), lines(3));
    ASSERT_TRUE(t.program().LoadLog());
    EXPECT_EQ(t->log.BackupBaseCount, 3);
    TestProgram::WriteFile(t.workFile("log.txt"), lines(5));
    ASSERT_TRUE(t.program().LoadLog());
    EXPECT_EQ(t->log.BackupBaseCount, 3);
}

TEST(ContactLog, LoadClearsTheCountersRebuiltFromTheTable) {
    TestProgram t;
    t->tally.QSOPoints = 40;
    t->tally.DXCount[2] = 4;
    t->tally.StateProvWorkedCount = 9;
    t->tally.StateProvWorked[1][42] = true;
    TestProgram::WriteFile(t.workFile("log.txt"), lines(1));
    ASSERT_TRUE(t.program().LoadLog());
    EXPECT_EQ(t->tally.QSOPoints, 0);
    EXPECT_EQ(t->tally.DXCount[2], 0);
    EXPECT_EQ(t->tally.StateProvWorkedCount, 0);
    EXPECT_FALSE(t->tally.StateProvWorked[1][42]);
}

TEST(ContactLog, NewRowCarriesNothingOfAnOlderContact) {
    TestProgram t;
    TestProgram::WriteFile(t.workFile("log.txt"), lines(3));
    ASSERT_TRUE(t.program().LoadLog());
    TestProgram::WriteFile(t.workFile("log.txt"), lines(1));  // a shorter archive restored
    ASSERT_TRUE(t.program().LoadLog());
    ContactRecord* row = logstore::TakeNewRow(t.program().log, t.program().logPlace());
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(t->log.QSOCount, 2);
    EXPECT_EQ(*row, ContactRecord{});
    row->QSOCall = "W9XYZ";
    row->QSOMode = "PH";
    ASSERT_TRUE(logstore::AppendContact(t.program().log, t.program().logPlace()));
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("log.txt")),
              line(1) + "\"W9XYZ\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
                        "\"PH\",\"\",0,\"\",\"\",\"\"\r\n");
}

TEST(ContactLog, AppendCreatesTheFileAndKeepsTableAndFileEqualOnFailure) {
    TestProgram t;
    ContactRecord* row = logstore::TakeNewRow(t.program().log, t.program().logPlace());
    row->QSOCall = "N0CALL";
    ASSERT_TRUE(logstore::AppendContact(t.program().log, t.program().logPlace()));
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("log.txt")).count('\n'), 1);

    // The disk fills up halfway through the next line.
    const qint64 size = QFileInfo(t.workFile("log.txt")).size();
    row = logstore::TakeNewRow(t.program().log, t.program().logPlace());
    row->QSOCall = "W9XYZ";
    {
        testing_support::FileSizeLimit full(static_cast<rlim_t>(size + 20));
        EXPECT_FALSE(logstore::AppendContact(t.program().log, t.program().logPlace()));
    }
    EXPECT_EQ(t->log.QSOCount, 1);
    EXPECT_EQ(t->log.row(2), ContactRecord{});
    EXPECT_EQ(QFileInfo(t.workFile("log.txt")).size(), size);
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].title, "Unable to write file.");
    EXPECT_FALSE(t.dialogs.shown[0].text.isEmpty());
}

TEST(ContactLog, FailedRewriteLeavesTheOldFileWhole) {
    TestProgram t;
    TestProgram::WriteFile(t.workFile("log.txt"), lines(50));
    ASSERT_TRUE(t.program().LoadLog());
    t->log.row(1).QSOCall = "EDITED";
    {
        testing_support::FileSizeLimit full(100);
        EXPECT_FALSE(logstore::RewriteLog(t.program().log, t.program().logPlace()));
    }
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("log.txt")), lines(50));
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].title, "Unable to write file.");
    EXPECT_EQ(QDir(t.work()).entryList(QDir::Files), QStringList{"log.txt"});
}

TEST(ContactLog, DeleteShiftsTheRowsAfterIt) {
    TestProgram t;
    TestProgram::WriteFile(t.workFile("log.txt"), lines(3));
    ASSERT_TRUE(t.program().LoadLog());
    ASSERT_TRUE(logstore::DeleteContact(t.program().log, t.program().logPlace(), 1));
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("log.txt")), line(2) + line(3));
    EXPECT_EQ(t->log.row(3), ContactRecord{});
    ASSERT_TRUE(logstore::DeleteContact(t.program().log, t.program().logPlace(), 2));  // the last row
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("log.txt")), line(2));
    // Rows outside 1 to QSOCount are refused and change nothing.
    EXPECT_FALSE(logstore::DeleteContact(t.program().log, t.program().logPlace(), 0));
    EXPECT_FALSE(logstore::DeleteContact(t.program().log, t.program().logPlace(), 2));
    EXPECT_EQ(t->log.QSOCount, 1);
    ASSERT_TRUE(logstore::DeleteContact(t.program().log, t.program().logPlace(), 1));
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("log.txt")), "");
}

TEST(ContactLog, NewLogNeedsTheTypedYes) {
    struct Case {
        std::optional<QString> answer;
        bool erased;
    };
    const Case cases[] = {{"YES", true},       {"yes", true},  {"Yes", true},
                          {" YES", false},     {"YES ", false}, {"Y", false},
                          {std::nullopt, false}};
    for (const Case& c : cases) {
        TestProgram t;
        t->station.PartyState = "WI";
        t->station.BankedOperatingSeconds = 3600;
        t->operating.OperatingSeconds = 3700;
        TestProgram::WriteFile(t.workFile("log.txt"), lines(2));
        t.dialogs.inputAnswers.push_back(c.answer);
        const QString label = c.answer.value_or("(cancel)");
        EXPECT_EQ(t.program().StartNewLog(), c.erased) << label.toStdString();
        ASSERT_EQ(t.dialogs.shown.size(), 1u);
        EXPECT_EQ(t.dialogs.shown[0].title, "WARNING - Your existing log file will be ERASED!");
        EXPECT_EQ(t.dialogs.shown[0].text,
                  "Are you sure that you want to start a new log file?  This function will ERASE "
                  "the existing log file!\r\n\r\nTo verify that you want to start a new log file, "
                  "please type: YES");
        if (c.erased) {
            EXPECT_EQ(TestProgram::ReadFile(t.workFile("log.txt")), "");
            EXPECT_EQ(t->log.QSOCount, 0);
            EXPECT_EQ(t->station.BankedOperatingSeconds, 0);
            EXPECT_EQ(t->operating.OperatingSeconds, 0);
            // The zeroed time reached QSOpref.txt, and the old log is in BACKUP.
            EXPECT_TRUE(TestProgram::ReadFile(t.workFile("QSOpref.txt")).contains("\"WI\""));
            ASSERT_EQ(backups(t), QStringList{"201304071305.log"});
            EXPECT_EQ(TestProgram::ReadFile(t->folders.BackupFolder() + "/201304071305.log"),
                      lines(2));
        } else {
            EXPECT_EQ(TestProgram::ReadFile(t.workFile("log.txt")), lines(2));
            EXPECT_EQ(t->station.BankedOperatingSeconds, 3600);
            EXPECT_TRUE(backups(t).isEmpty());
        }
    }
}

TEST(ContactLog, NewLogKeepsTheLogWhenItsBackupCannotBeMade) {
    TestProgram t;
    TestProgram::WriteFile(t.workFile("log.txt"), lines(2));
    QDir(t->folders.BackupFolder()).removeRecursively();
    TestProgram::WriteFile(t->folders.BackupFolder(), "not a folder");
    t.dialogs.inputAnswers.push_back(QString("YES"));
    EXPECT_FALSE(t.program().StartNewLog());
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("log.txt")), lines(2));
    EXPECT_EQ(t.dialogs.titles().back(), "Unable to write file.");
}

TEST(ContactLog, BackupOnlyWhenTheCountChangedSinceTheFirstLoad) {
    TestProgram t;
    TestProgram::WriteFile(t.workFile("log.txt"), lines(3));
    ASSERT_TRUE(t.program().LoadLog());
    logstore::BackupLog(t.program().log, t.program().logPlace());  // unchanged count: nothing
    EXPECT_TRUE(backups(t).isEmpty());

    logstore::TakeNewRow(t.program().log, t.program().logPlace())->QSOCall = "W9XYZ";
    ASSERT_TRUE(logstore::AppendContact(t.program().log, t.program().logPlace()));
    logstore::BackupLog(t.program().log, t.program().logPlace());
    ASSERT_EQ(backups(t), QStringList{"201304071305.log"});

    // A second backup within the same minute replaces the first.
    logstore::TakeNewRow(t.program().log, t.program().logPlace())->QSOCall = "K1ABC";
    ASSERT_TRUE(logstore::AppendContact(t.program().log, t.program().logPlace()));
    logstore::BackupLog(t.program().log, t.program().logPlace());
    ASSERT_EQ(backups(t), QStringList{"201304071305.log"});
    EXPECT_EQ(TestProgram::ReadFile(t->folders.BackupFolder() + "/201304071305.log"),
              TestProgram::ReadFile(t.workFile("log.txt")));

    // A later minute gives a file of its own; a missing BACKUP folder is made.
    QDir(t->folders.BackupFolder()).removeRecursively();
    t.clock.AdvanceMs(60000);
    logstore::BackupLog(t.program().log, t.program().logPlace());
    EXPECT_EQ(backups(t), QStringList{"201304071306.log"});
    EXPECT_TRUE(t.dialogs.shown.empty());
}

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>
#include <limits>

#include "entry/contact_edit_dialog.h"
#include "mainwindow/main_window.h"
#include "support/main_window_fixture.h"
#include "support/scoring_fixture.h"

using testing_support::Contact;
using testing_support::MainWindowFixture;
using testing_support::TestProgram;

namespace {

QByteArray numberedLog(int count) {
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += Contact(QString("K%1").arg(i), "MA", "", "2013/04/07", "10:00:00", "CW", "40");
    return out;
}

QStringList backups(TestProgram& t) {
    return QDir(t->folders.BackupFolder()).entryList(QDir::Files, QDir::Name);
}

void selectRow(mainwindow::MainWindow& w, int row) {
    w.ListView1->setCurrentIndex(w.ListView1->model()->index(row, 0));
}

}  // namespace

TEST(Clocks, TickShowsUtcLocalAndOperatingTime) {
    MainWindowFixture f(0);
    f.WriteLog("");
    f.program().station.BankedOperatingSeconds = 3725;
    mainwindow::MainWindow& w = f.Load();
    EXPECT_EQ(w.lblttrack->text(), "01:02:05");

    struct Case {
        int localHour, localMinute;
        float offset;
        const char* utc;
        const char* local;
        const char* designator;
    };
    const Case cases[] = {
        {20, 30, 5, "01:30:00", "8:30:00", "PM"},
        {2, 0, -6, "20:00:00", "2:00:00", "AM"},
        {12, 0, 5.5f, "17:30:00", "12:00:00", "PM"},
        {0, 0, 0, "00:00:00", "12:00:00", "AM"},
    };
    for (const Case& c : cases) {
        f.t.clock.localOffsetSeconds = 0;
        f.t.clock.utc = platform::CalendarTime(2013, 4, 7, c.localHour, c.localMinute, 0);
        f.program().station.UTCOffsetHours = c.offset;
        w.Timer2_Timer();
        EXPECT_EQ(w.lblutctime->text(), c.utc) << c.utc;
        EXPECT_EQ(w.lblCurTime->text(), c.local) << c.local;
        EXPECT_EQ(w.Label16->text(), c.designator) << c.local;
    }
    EXPECT_EQ(w.lblttrack->text(), "01:02:05");  // not logged on: unchanged
}

TEST(Clocks, TimeOnAndOffBankTheOperatingTime) {
    const testing_support::DefaultLocale usDates(QLocale(QLocale::English, QLocale::UnitedStates));
    MainWindowFixture f(0);
    f.WriteLog("");
    f.program().station.BankedOperatingSeconds = 600;
    f.program().station.UTCOffsetHours = 4.25f;
    f.t.clock.localOffsetSeconds = -(4 * 3600 + 15 * 60);
    mainwindow::MainWindow& w = f.Load();
    EXPECT_EQ(w.lblttrack->text(), "00:10:00");

    w.cmdLogOn->click();
    EXPECT_EQ(w.cmdLogOn->text(), "&Log \"Time Off\"");
    EXPECT_EQ(w.entry().lblDialog->text(), " ");
    f.t.clock.AdvanceMs(59000);
    w.Timer2_Timer();
    EXPECT_EQ(w.lblttrack->text(), "00:10:59");
    // The PC clock set back an hour takes nothing away.
    f.t.clock.utc = f.t.clock.utc.addSecs(-3600);
    f.t.clock.AdvanceMs(1000);
    w.Timer2_Timer();
    EXPECT_EQ(w.lblttrack->text(), "00:11:00");

    w.cmdLogOn->click();
    EXPECT_EQ(w.cmdLogOn->text(), "&Log \"Time On\"");
    EXPECT_FLOAT_EQ(f.program().station.BankedOperatingSeconds, 660);
    // The message applies the offset of 4 hours 15 minutes, as logging does:
    // the local 12:51:33 becomes 17:06:33 UTC, with the locale's short date.
    EXPECT_EQ(w.entry().lblDialog->text(), "Logged Off at 4/7/13 17:06:33");
    EXPECT_TRUE(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")).contains("\r\n660\r\n"));
    f.t.clock.AdvanceMs(5000);
    w.Timer2_Timer();
    EXPECT_EQ(w.lblttrack->text(), "00:11:00");

    // Every digit of the hours shows.
    EXPECT_EQ(mainwindow::MainWindow::OperatingTimeText(360000), "100:00:00");
    // A total beyond any operating time (a damaged settings file) shows none.
    for (double beyond : {1e30, -1e30, std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(mainwindow::MainWindow::OperatingTimeText(beyond), "00:00:00") << beyond;
    EXPECT_EQ(mainwindow::MainWindow::OperatingTimeText(3599), "00:59:59");
    EXPECT_EQ(mainwindow::MainWindow::OperatingTimeText(59), "00:00:59");
}

TEST(Rates, CountTheLastTwentyAndSixtyMinutes) {
    // The fake clock reads UTC 18:05:33; each case is the ages of the
    // contacts in log order, oldest first.
    struct Case {
        const char* name;
        std::vector<int> ages;
        const char* rate20;
        const char* rate60;
    };
    const Case cases[] = {
        {"empty log", {}, "0", "0"},
        {"logged this second", {0}, "3", "1"},
        {"1199 s", {1199}, "3", "1"},
        {"exactly 1200 s", {1200}, "0", "1"},
        {"3599 s", {3599}, "0", "1"},
        {"exactly 3600 s ends the scan", {10, 3600}, "0", "0"},
        {"newest in log order an hour old", {100, 200, 4000}, "0", "0"},
        {"stamped in the future", {-60}, "3", "1"},
    };
    for (const Case& c : cases) {
        MainWindowFixture f(1);
        QByteArray log;
        const QDateTime now = f.t.clock.UtcNow();
        for (int age : c.ages) {
            const QDateTime at = now.addSecs(-age);
            log += Contact("K1ABC", "", "Dane", at.toString("yyyy/MM/dd"), at.toString("HH:mm:ss"), "CW", "40");
        }
        f.WriteLog(log);
        mainwindow::MainWindow& w = f.Load();
        EXPECT_EQ(w.lblAQSO20->text(), c.rate20) << c.name;
        EXPECT_EQ(w.lblAQSO60->text(), c.rate60) << c.name;
    }
}

TEST(LogCommands, ArchiveCopiesTheLogWhereTheOperatorChooses) {
    MainWindowFixture f(0);
    f.WriteLog(numberedLog(3));
    f.program().station.OwnCall = "";
    mainwindow::MainWindow& w = f.Load();
    const QString target = f.t.root() + "/archive.log";
    f.t.dialogs.fileAnswers.push_back(target);
    w.mnuArchive->trigger();
    EXPECT_EQ(TestProgram::ReadFile(target), numberedLog(3));
    const auto& shown = f.t.dialogs.shown;
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown[1].title, "Archive Information");
    EXPECT_EQ(shown[2].kind, testing_support::ShownBox::SaveFile);
    EXPECT_EQ(shown[2].file.initialDir, f.program().folders.BackupFolder());
    EXPECT_EQ(shown[2].file.fileName, f.program().folders.BackupFolder() + "/YourCall2013-04-07.log");
    EXPECT_EQ(shown[2].file.filter, "Log Files (*.log) | *.log");
    EXPECT_TRUE(shown[2].file.confirmOverwrite);

    // Cancel: nothing written, nothing said.
    const std::size_t before = shown.size();
    w.mnuArchive->trigger();
    EXPECT_EQ(shown.size(), before + 2);  // the information box and the dialog
}

TEST(LogCommands, RestoreReplacesTheLogKeepingTheOldOne) {
    MainWindowFixture f(0);
    f.WriteLog(numberedLog(3));
    mainwindow::MainWindow& w = f.Load();
    const QString archive = f.t.root() + "/old.log";
    TestProgram::WriteFile(archive, numberedLog(5));

    f.t.dialogs.msgAnswers = {platform::vbOK, platform::vbYes};
    f.t.dialogs.fileAnswers.push_back(archive);
    w.mnuRestore->trigger();
    EXPECT_EQ(TestProgram::ReadFile(f.t.workFile("log.txt")), numberedLog(5));
    EXPECT_EQ(w.ListView1->model()->rowCount(), 5);
    ASSERT_EQ(backups(f.t).size(), 1u);
    EXPECT_EQ(TestProgram::ReadFile(f.program().folders.BackupFolder() + "/" + backups(f.t)[0]),
              numberedLog(3));
    std::vector<QString> titles = f.t.dialogs.titles();
    EXPECT_EQ(titles[1], "Opening Archived Data Information");
    EXPECT_EQ(titles[2], "Are your sure?");

    // A file that does not read as a log is refused; log.txt stays.
    TestProgram::WriteFile(archive, "\"K1ABC\",\"599\"\r\n");
    f.t.dialogs.msgAnswers = {platform::vbOK, platform::vbYes};
    f.t.dialogs.fileAnswers.push_back(archive);
    w.mnuRestore->trigger();
    EXPECT_EQ(TestProgram::ReadFile(f.t.workFile("log.txt")), numberedLog(5));
    EXPECT_EQ(f.t.dialogs.titles().back(), "Error Restoring Log");
    EXPECT_EQ(f.t.endCalls, 0);

    // "No" at the question stops before the file dialog.
    f.t.dialogs.msgAnswers = {platform::vbOK, platform::vbNo};
    const std::size_t before = f.t.dialogs.shown.size();
    w.mnuRestore->trigger();
    EXPECT_EQ(f.t.dialogs.shown.size(), before + 2);
}

TEST(LogCommands, TwoRestoresInOneMinuteKeepBothOlderLogs) {
    MainWindowFixture f(0);
    f.WriteLog(numberedLog(3));
    mainwindow::MainWindow& w = f.Load();
    const QString archive = f.t.root() + "/a.log";
    for (int count : {5, 7}) {
        TestProgram::WriteFile(archive, numberedLog(count));
        f.t.dialogs.msgAnswers = {platform::vbOK, platform::vbYes};
        f.t.dialogs.fileAnswers.push_back(archive);
        w.mnuRestore->trigger();
    }
    EXPECT_EQ(TestProgram::ReadFile(f.t.workFile("log.txt")), numberedLog(7));
    ASSERT_EQ(backups(f.t), (QStringList{"201304071305-2.log", "201304071305.log"}));
    EXPECT_EQ(TestProgram::ReadFile(f.program().folders.BackupFolder() + "/201304071305.log"), numberedLog(3));
    EXPECT_EQ(TestProgram::ReadFile(f.program().folders.BackupFolder() + "/201304071305-2.log"), numberedLog(5));
}

TEST(LogCommands, RestoreOnAnEmptyLogAsksNothingMore) {
    MainWindowFixture f(1);
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    const QString archive = f.t.root() + "/202001011200.log";
    TestProgram::WriteFile(archive, numberedLog(2));
    f.t.dialogs.fileAnswers.push_back(archive);
    w.mnuRestore->trigger();
    EXPECT_EQ(f.t.dialogs.titles(), (std::vector<QString>{"Open existing log?",
                                                          "Opening Archived Data Information", ""}));
    EXPECT_EQ(w.ListView1->model()->rowCount(), 2);
    EXPECT_TRUE(backups(f.t).isEmpty());  // an empty log is not worth a backup
}

TEST(RecentContacts, DeleteActsOnTheSelectedRow) {
    MainWindowFixture f(0);
    f.WriteLog(numberedLog(10));
    mainwindow::MainWindow& w = f.Load();
    EXPECT_FALSE(w.cmdDelete->isVisible());
    selectRow(w, 5);  // record 5
    w.ListView1_Click();
    EXPECT_TRUE(w.cmdDelete->isVisible());

    f.t.dialogs.msgAnswers.push_back(platform::vbNo);
    w.cmdDelete->click();
    EXPECT_FALSE(w.cmdDelete->isVisible());
    EXPECT_EQ(f.program().log.QSOCount, 10);

    selectRow(w, 5);
    f.t.dialogs.msgAnswers.push_back(platform::vbYes);
    w.cmdDelete_Click();
    EXPECT_EQ(f.t.dialogs.shown.back().title, "Are you sure?");
    EXPECT_EQ(f.t.dialogs.shown.back().text, "Are you sure?");
    EXPECT_EQ(f.program().log.QSOCount, 9);
    EXPECT_EQ(f.program().log.row(5).QSOCall, "K6");
    EXPECT_FALSE(TestProgram::ReadFile(f.t.workFile("log.txt")).contains("\"K5\""));
    EXPECT_EQ(w.ListView1->model()->rowCount(), 9);

    // With no row selected nothing is asked and nothing deleted.
    selectRow(w, 5);
    w.ListView1_Click();
    w.ListView1->selectionModel()->clear();
    const std::size_t asked = f.t.dialogs.shown.size();
    w.cmdDelete->click();
    EXPECT_EQ(f.t.dialogs.shown.size(), asked);
    EXPECT_EQ(f.program().log.QSOCount, 9);
}

TEST(RecentContacts, LastTwentyOrAllAndSorting) {
    MainWindowFixture f(1);
    f.WriteLog(numberedLog(25));
    mainwindow::MainWindow& w = f.Load();
    EXPECT_EQ(w.ListView1->model()->rowCount(), 20);
    EXPECT_EQ(f.RecentColumn(0).first(), "25");
    EXPECT_EQ(f.RecentColumn(0).last(), "6");
    w.cmdList->click();
    EXPECT_EQ(w.cmdList->text(), "All");
    EXPECT_EQ(w.ListView1->model()->rowCount(), 25);
    // Sorting by "Rec#" is by text: 10 before 9.
    w.ListView1_ColumnClick(0);
    QStringList sorted = f.RecentColumn(0);
    EXPECT_LT(sorted.indexOf("10"), sorted.indexOf("9"));
    w.ListRecentContacts();
    EXPECT_EQ(f.RecentColumn(0).first(), "25");
    w.cmdList->click();
    EXPECT_EQ(w.cmdList->text(), "Last 20");

    w.cmdDup->click();
    EXPECT_EQ(w.cmdDup->text(), "Off");
    EXPECT_EQ(f.program().entry.PartialDupesOn, 0);
    w.cmdDup->click();
    EXPECT_EQ(w.cmdDup->text(), "On");
}

TEST(RecentContacts, RightClickSelectsTheRowUnderThePointer) {
    MainWindowFixture f(0);
    f.WriteLog(numberedLog(3));
    mainwindow::MainWindow& w = f.Load();
    QTest::qWait(0);
    const QRect row = w.ListView1->visualRect(w.ListView1->model()->index(1, 1));
    ASSERT_TRUE(row.isValid());
    // The edit dialog opens for that row; closed by its frame, it writes nothing.
    QString edited;
    QTimer::singleShot(0, [&] {
        entry::ContactEditDialog& d = f.program().contactEditDialog();
        edited = d.txtEditCall->text();
        d.close();
    });
    QTest::mouseClick(w.ListView1->viewport(), Qt::RightButton, {}, row.center());
    EXPECT_EQ(f.program().entry.EditRecordNo, 2);
    EXPECT_EQ(edited, "K2");
    // The edit road rewrites and reloads the log, unchanged.
    EXPECT_EQ(TestProgram::ReadFile(f.t.workFile("log.txt")), numberedLog(3));
}

TEST(Shutdown, ClosingBacksUpBanksAndRefusesWhileSending) {
    MainWindowFixture f(0);
    f.WriteLog(numberedLog(3));
    mainwindow::MainWindow& w = f.Load();
    w.cmdLogOn_Click();
    f.t.clock.AdvanceMs(10000);
    w.Timer2_Timer();
    w.program().form1();  // the proxy is loaded

    f.program().keyer.CWBuffer = "CQ TEST";
    f.program().keyer.CWSending = 1;
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(f.program().keyer.CWBuffer.isEmpty());
    EXPECT_TRUE(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")).isEmpty());

    f.program().keyer.CWSending = 0;
    // A count unchanged since the first load makes no backup.
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(backups(f.t).isEmpty());
    EXPECT_FLOAT_EQ(f.program().station.BankedOperatingSeconds, 10);
    EXPECT_TRUE(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")).contains("\r\n10\r\n"));
    EXPECT_FALSE(f.program().operating.LoggedOn);
}

TEST(Shutdown, ClosingAfterNewContactsLeavesABackup) {
    MainWindowFixture f(1);
    f.WriteLog(numberedLog(3));
    mainwindow::MainWindow& w = f.Load();
    TestProgram::WriteFile(f.t.workFile("log.txt"), numberedLog(4));
    w.ReloadLog();
    EXPECT_TRUE(w.close());
    ASSERT_EQ(backups(f.t), QStringList{"201304071305.log"});
    EXPECT_TRUE(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")).isEmpty());  // not logged on
}

TEST(Shutdown, ExitBanksWithoutBackup) {
    MainWindowFixture f(0);
    f.WriteLog(numberedLog(3));
    mainwindow::MainWindow& w = f.Load();
    TestProgram::WriteFile(f.t.workFile("log.txt"), numberedLog(4));
    w.ReloadLog();
    w.cmdLogOn_Click();
    f.t.clock.AdvanceMs(2000);
    w.Timer2_Timer();
    w.mnuExit->trigger();
    EXPECT_TRUE(backups(f.t).isEmpty());
    EXPECT_FLOAT_EQ(f.program().station.BankedOperatingSeconds, 2);
    // Line 18 of QSOpref.txt carries the banked seconds into the next start.
    const QList<QByteArray> prefs = TestProgram::ReadFile(f.t.workFile("QSOpref.txt")).split('\n');
    ASSERT_GE(prefs.size(), 18);
    EXPECT_EQ(prefs[17], "2\r");
    EXPECT_FALSE(w.isVisible());
}

TEST(Layout, FormSizeAndTaskbar) {
    {
        MainWindowFixture f(0);
        f.WriteLog("");
        f.program().station.FormSizePercent = 50;
        mainwindow::MainWindow& w = f.Load();
        // Half the screen, but the frame keeps its size: the window keeps
        // room for half its client area (9480 x 6495) with the frame
        // (120 x 705), centred.
        EXPECT_FLOAT_EQ(w.Width, 4860);
        EXPECT_FLOAT_EQ(w.Height, 3952.5f);
        EXPECT_FLOAT_EQ(w.Left, 2370);
        EXPECT_FLOAT_EQ(w.Ctl(w.ListView1).ColumnWidths[0], 265);
        EXPECT_FLOAT_EQ(w.Ctl(w.List1).Top + w.Ctl(w.List1).Height, w.Ctl(w.Line3).Y1);
        EXPECT_TRUE(w.isVisible());
    }
    {
        // A percentage no Form Size command can set goes back to full size.
        MainWindowFixture f(1);
        f.WriteLog("");
        f.program().station.FormSizePercent = 0;
        mainwindow::MainWindow& w = f.Load();
        EXPECT_EQ(f.program().station.FormSizePercent, 100);
        EXPECT_FLOAT_EQ(w.Width, 9600);
    }
    {
        MainWindowFixture f(0);
        f.WriteLog("");
        mainwindow::MainWindow& w = f.Load();
        f.program().station.TaskbarLayout = 1;
        const float columnBefore = w.Ctl(w.ListView1).ColumnWidths[1];
        w.ArrangeForTaskbar(QSizeF(9600, 7200), QSizeF(9600, 6600));
        EXPECT_TRUE(w.mnuTaskbar->isChecked());
        EXPECT_FLOAT_EQ(w.Height, 6600);
        EXPECT_FLOAT_EQ(w.Ctl(w.ListView1).ColumnWidths[1], columnBefore);
        EXPECT_FLOAT_EQ(w.Ctl(w.List1).Top + w.Ctl(w.List1).Height, w.Ctl(w.Line3).Y1);
    }
}

TEST(KeyPreview, QuotesAreDroppedAndEscClearsTheEntryLine) {
    MainWindowFixture f(0);
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.entry().txtCall->setFocus();
    for (char c : std::string("W9\"A'B")) QTest::keyClick(w.windowHandle(), c);
    EXPECT_EQ(w.entry().txtCall->text(), "W9AB");
    w.entry().lblDialog->setText("Need Call Sign!");
    QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(w.entry().txtCall->text().isEmpty());
    EXPECT_TRUE(w.entry().lblDialog->text().isEmpty());

    // While the keyer sends, Esc empties its buffer and leaves the entry line.
    w.entry().txtCall->setText("K1ABC");
    f.program().keyer.CWSending = 1;
    f.program().keyer.CWBuffer = "TEST";
    QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(w.entry().txtCall->text(), "K1ABC");
    EXPECT_TRUE(f.program().keyer.CWBuffer.isEmpty());
    f.program().keyer.CWSending = 0;

    // A Ctrl shortcut types nothing.
    QTest::keyClick(w.windowHandle(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w.entry().txtCall->text(), "K1ABC");
}

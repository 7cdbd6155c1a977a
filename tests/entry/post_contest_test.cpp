// Post-contest entry: the Time and Date boxes of the entry line, their keys,
// and the date and time that logging takes from them.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "mainwindow/main_window.h"
#include "support/main_window_fixture.h"
#include "support/qstring_printer.h"
#include "support/setup_fixture.h"

using testing_support::MainWindowFixture;

namespace {

class PostContest {
public:
    explicit PostContest(int side) : f(side) {
        f.WriteLog("");
        w = &f.Load();
        testing_support::Activate(*w);
        w->cmdLogOn_Click();
        w->entry().mnuPostContest_Click();
        testing_support::Settle();
    }

    // Fills the entry line and presses Enter in the time box.
    void log(const QString& call, const QString& time, const QString& date) {
        w->entry().txtCall->setText(call);
        if (w->side() == mainwindow::Side::In) w->entry().txtCntry->setText("MA");
        else w->entry().txtSec->setText("Dane");
        w->entry().txtPostConTime->setText(time);
        w->entry().txtPostConDate->setText(date);
        w->entry().txtPostConTime->setFocus();
        QTest::keyClick(w->windowHandle(), Qt::Key_Return);
        testing_support::Settle();
    }

    MainWindowFixture f;
    mainwindow::MainWindow* w = nullptr;
};

}  // namespace

TEST(PostContest, TheCommandShowsAndHidesTheBoxes) {
    for (int side : {0, 1}) {
        MainWindowFixture f(side);
        f.WriteLog("");
        mainwindow::MainWindow& w = f.Load();
        for (QWidget* c : std::initializer_list<QWidget*>{w.entry().lblPostConTime, w.entry().txtPostConTime,
                                                          w.entry().lblPostConDate, w.entry().txtPostConDate})
            EXPECT_TRUE(c->isHidden());
        EXPECT_FALSE(w.mnuPostContest->isChecked());
        EXPECT_FALSE(w.entry().PostContestMode());
        w.entry().mnuPostContest_Click();
        EXPECT_TRUE(w.entry().PostContestMode());
        EXPECT_TRUE(w.mnuPostContest->isChecked());
        EXPECT_EQ(w.entry().lblPostConTime->text(), "Time");
        EXPECT_EQ(w.entry().lblPostConDate->text(), "Date");
        // The partial-dupe area makes room beneath the boxes, and takes its
        // place again after.
        const float dupeTop = w.Ctl(w.entry().lblPossDup).Top;
        EXPECT_GT(dupeTop, w.Ctl(w.entry().txtPostConTime).Top + w.Ctl(w.entry().txtPostConTime).Height);
        w.entry().mnuPostContest_Click();
        EXPECT_FALSE(w.entry().PostContestMode());
        EXPECT_FALSE(w.mnuPostContest->isChecked());
        EXPECT_FLOAT_EQ(w.Ctl(w.entry().lblPossDup).Top, w.Ctl(w.entry().lblPostConTime).Top);
    }
}

TEST(PostContest, TheTypedDateAndTimeAreStoredInTheLogsForm) {
    struct Case {
        const char* time;
        const char* date;
        const char* storedTime;
        const char* storedDate;
    };
    const Case cases[] = {
        {"805", "2013/4/7", "08:05", "2013/04/07"},
        {"1805", "2013/04/07", "18:05", "2013/04/07"},
        {"18:05:59", "2012/12/31", "18:05", "2012/12/31"},
        {"0:00", "2013/4/7", "00:00", "2013/04/07"},
    };
    for (int side : {0, 1}) {
        for (const Case& c : cases) {
            PostContest p(side);
            p.log("K1ABC", c.time, c.date);
            ASSERT_EQ(p.f.program().log.QSOCount, 1) << c.time;
            EXPECT_EQ(p.f.program().log.row(1).QSOTime, c.storedTime);
            EXPECT_EQ(p.f.program().log.row(1).QSODate, c.storedDate);
            // The boxes keep their rewritten texts for the next contact.
            EXPECT_EQ(p.w->entry().txtPostConTime->text(), c.storedTime);
            EXPECT_EQ(p.w->entry().txtPostConDate->text(), c.storedDate);
            EXPECT_TRUE(p.w->entry().txtCall->text().isEmpty());
            const QByteArray file = testing_support::TestProgram::ReadFile(p.f.t.workFile("log.txt"));
            EXPECT_TRUE(file.contains(QByteArray("\"") + c.storedDate + "\",\"" + c.storedTime + "\""))
                << file.toStdString();
        }
    }
}

TEST(PostContest, AnInvalidDateOrTimeStopsLogging) {
    struct Case {
        const char* time;
        const char* date;
        const char* message;
        const char* timeLeft;
    };
    const Case cases[] = {
        {"1865", "2013/4/7", "Invalid time format!", "18:65"},
        {"", "2013/4/7", "Invalid time format!", ""},
        {"805", "4/7/2013", "Invalid date format!", "805"},
        {"805", "", "Invalid date format!", "805"},
    };
    for (const Case& c : cases) {
        PostContest p(0);
        p.f.t.dialogs.beeps = 0;
        p.log("K1ABC", c.time, c.date);
        EXPECT_EQ(p.f.program().log.QSOCount, 0) << c.time << " " << c.date;
        EXPECT_EQ(p.w->entry().lblDialog->text(), c.message);
        EXPECT_EQ(p.f.t.dialogs.beeps, 1);
        EXPECT_EQ(p.w->entry().txtPostConTime->text(), c.timeLeft);
        EXPECT_EQ(p.w->entry().txtCall->text(), "K1ABC");
    }
}

TEST(PostContest, KeysOfTheBoxes) {
    PostContest p(0);
    mainwindow::MainWindow& w = *p.w;
    QWindow* window = w.windowHandle();
    w.entry().txtPostConTime->setFocus();
    testing_support::Settle();
    for (char c : std::string("8a0/5: ")) QTest::keyClick(window, c);
    testing_support::Settle();
    EXPECT_EQ(w.entry().txtPostConTime->text(), "805:");
    // Space moved on to the date box, which takes the PC's local date.
    EXPECT_EQ(w.focusWidget(), w.entry().txtPostConDate);
    EXPECT_EQ(w.entry().txtPostConDate->text(), "2013/04/07");
    EXPECT_EQ(w.entry().txtPostConDate->selectedText(), "2013/04/07");
    for (char c : std::string("2013:x/4/8")) QTest::keyClick(window, c);
    EXPECT_EQ(w.entry().txtPostConDate->text(), "2013/4/8");
    QTest::keyClick(window, ' ');
    testing_support::Settle();
    EXPECT_EQ(w.focusWidget(), w.entry().txtCall);

    // Off again: the clock's UTC date and time, and the boxes keep their texts.
    w.entry().mnuPostContest_Click();
    w.entry().txtCall->setText("K1ABC");
    w.entry().txtCntry->setText("MA");
    w.entry().Mains();
    ASSERT_EQ(p.f.program().log.QSOCount, 1);
    EXPECT_EQ(p.f.program().log.row(1).QSOTime, "18:05:33");
    EXPECT_EQ(w.entry().txtPostConDate->text(), "2013/4/8");
}

// Menu commands of the main windows: clipboard copy, form size, taskbar,
// recall, the availability of Change County, and the map and graph windows
// opened modally.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include "entry/county_change.h"
#include "mainwindow/main_window.h"
#include "platform/colors.h"
#include "scoring/county_map.h"
#include "scoring/rate_graph.h"
#include "setup/color_dialog.h"
#include "setup/help_page.h"
#include "support/main_window_fixture.h"
#include "support/modal_menu.h"

using testing_support::Contact;
using testing_support::MainWindowFixture;
using testing_support::TestProgram;

namespace {

QByteArray Contacts(int count) {
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += Contact(QString("K%1AB").arg(i), "MA", "", "2013/04/07", QString("10:%1:00").arg(i, 2, 10, QChar('0')),
                       "CW", "40");
    return out;
}

// Line n (from 1) of QSOpref.txt.
QString PrefLine(TestProgram& t, int n) {
    const QList<QByteArray> lines = TestProgram::ReadFile(t.workFile("QSOpref.txt")).split('\n');
    if (n > lines.size()) return QStringLiteral("<missing>");
    return QString::fromLatin1(lines[n - 1]).remove(QChar('\r'));
}

}  // namespace

TEST(CopyToClipboard, HeadingThenTheRowsFromTheBottomUp) {
    MainWindowFixture f(0);
    f.WriteLog(Contacts(25));
    mainwindow::MainWindow& w = f.Load();
    ASSERT_EQ(w.ListView1->model()->rowCount(), 20);  // the last 20
    w.mnuCopyListtoClipboard->trigger();
    const QString text = QGuiApplication::clipboard()->text();
    ASSERT_TRUE(text.endsWith("\r\n"));
    const QStringList lines = text.chopped(2).split("\r\n");
    ASSERT_EQ(lines.size(), 21);
    EXPECT_EQ(lines[0], "Rec#\tCall\tSPC\tCounty\tDate/Time\tMo\tBnd\tCounty Sent");
    for (const QString& line : lines) EXPECT_EQ(line.split('\t').size(), 8) << line.toStdString();
    // The list's bottom row (record 6) comes first, its top row (25) last.
    EXPECT_TRUE(lines[1].startsWith("6\tK6AB\tMA\t")) << lines[1].toStdString();
    EXPECT_TRUE(lines[20].startsWith("25\tK25AB\t")) << lines[20].toStdString();

    // An empty list gives the heading alone.
    MainWindowFixture empty(1);
    empty.WriteLog("");
    empty.Load().mnuCopyListtoClipboard->trigger();
    const QString heading = QGuiApplication::clipboard()->text();
    EXPECT_EQ(heading.count("\r\n"), 1);
    EXPECT_TRUE(heading.startsWith("Rec#\t"));
}

TEST(FormSize, StoresTheRoundedPercentageWithinLimits) {
    struct Case {
        const char* answer;
        const char* stored;
    };
    const Case cases[] = {{"85.5", "86"}, {"84.5", "84"}, {"120", "100"}, {"10", "30"}, {"-5", "30"}, {" 90 ", "90"}};
    for (const Case& c : cases) {
        MainWindowFixture f(0);
        f.WriteLog("");
        mainwindow::MainWindow& w = f.Load();
        f.t.dialogs.shown.clear();
        f.t.dialogs.inputAnswers.push_back(QString(c.answer));
        w.mnuFormSize->trigger();
        EXPECT_EQ(PrefLine(f.t, 15), c.stored) << c.answer;
        ASSERT_EQ(f.t.dialogs.shown.size(), 2u) << c.answer;
        const testing_support::ShownBox& ask = f.t.dialogs.shown[0];
        EXPECT_EQ(ask.title, "Please enter screen percentage.");
        EXPECT_EQ(ask.text,
                  "Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for best "
                  "results.  Values below 75 do not display well.");
        EXPECT_EQ(ask.defaultText, "100");
        EXPECT_EQ(f.t.dialogs.shown[1].title, "For this setting to take effect please restart this program.");
        EXPECT_EQ(f.t.dialogs.shown[1].text,
                  "This program must be closed and restarted for this setting to take effect.");
        // Not laid out again until the next load.
        EXPECT_FLOAT_EQ(w.Width, 9600);
    }
}

TEST(FormSize, AnythingButANumberIsRefused) {
    const std::optional<QString> answers[] = {QString(""), std::nullopt, QString("abc"), QString("nan")};
    for (const std::optional<QString>& answer : answers) {
        MainWindowFixture f(1);
        f.WriteLog("");
        mainwindow::MainWindow& w = f.Load();
        f.program().station.FormSizePercent = 95;
        f.t.dialogs.shown.clear();
        f.t.dialogs.inputAnswers.push_back(answer);
        w.mnuFormSize->trigger();
        ASSERT_EQ(f.t.dialogs.shown.size(), 2u);
        EXPECT_EQ(f.t.dialogs.shown[0].defaultText, "95");
        EXPECT_EQ(f.t.dialogs.shown[1].title, "Numeric Values Required");
        EXPECT_EQ(f.t.dialogs.shown[1].text, "Please enter only numeric values.");
        EXPECT_EQ(f.program().station.FormSizePercent, 95);
        EXPECT_TRUE(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")).isEmpty());
    }
}

TEST(Taskbar, NeedsFullSizeAndThenToggles) {
    MainWindowFixture f(0);
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    setup::Station& st = f.program().station;
    st.FormSizePercent = 95;
    f.t.dialogs.shown.clear();
    w.mnuTaskbar->trigger();
    ASSERT_EQ(f.t.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.t.dialogs.shown[0].text, "The form size must be set to 100% to use the taskbar display option.");
    EXPECT_EQ(f.t.dialogs.shown[0].title, "Please set your form size to 100% to use this option.");
    EXPECT_EQ(st.TaskbarLayout, 0);
    EXPECT_FALSE(w.mnuTaskbar->isChecked());
    EXPECT_TRUE(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")).isEmpty());

    st.FormSizePercent = 100;
    w.mnuTaskbar->trigger();
    EXPECT_EQ(st.TaskbarLayout, 1);
    EXPECT_TRUE(w.mnuTaskbar->isChecked());
    EXPECT_EQ(PrefLine(f.t, 24), "1");
    w.mnuTaskbar->trigger();
    EXPECT_EQ(st.TaskbarLayout, 0);
    EXPECT_FALSE(w.mnuTaskbar->isChecked());
    EXPECT_EQ(PrefLine(f.t, 24), "0");
    EXPECT_EQ(f.t.dialogs.shown.size(), 1u);
}

TEST(ListPrevious, TheCheckMarkIsTheSavedSetting) {
    MainWindowFixture f(1);
    f.WriteLog("");
    f.program().station.ListPrevious = 1;
    mainwindow::MainWindow& w = f.Load();
    EXPECT_TRUE(w.mnuListPrevious->isChecked());
    w.mnuListPrevious->trigger();
    EXPECT_FALSE(w.mnuListPrevious->isChecked());
    EXPECT_EQ(PrefLine(f.t, 25), "0");
    w.mnuListPrevious->trigger();
    EXPECT_TRUE(w.mnuListPrevious->isChecked());
    EXPECT_EQ(PrefLine(f.t, 25), "1");
}

TEST(Recall, PutsTheLastCallOnTheEntryLine) {
    for (int side : {0, 1}) {
        MainWindowFixture f(side);
        f.WriteLog(Contacts(3));
        mainwindow::MainWindow& w = f.Load();
        w.entry().txtSec->setText("Dane");
        w.entry().txtSec->setCursorPosition(0);
        w.mnuRecall->trigger();
        EXPECT_EQ(w.entry().txtCall->text(), "K3AB") << side;
        EXPECT_EQ(w.entry().txtSec->selectedText(), "Dane") << side;
    }
    // An empty log: nothing happens.
    MainWindowFixture f(0);
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    w.entry().txtCall->setText("W9XYZ");
    w.mnuRecall->trigger();
    EXPECT_EQ(w.entry().txtCall->text(), "W9XYZ");
}

TEST(ChangeCounty, OfferedToRoversOnly) {
    for (std::uint8_t rover : {0, 1}) {
        MainWindowFixture f(0);
        f.WriteLog("");
        f.program().station.RoverMode = rover;
        mainwindow::MainWindow& w = f.Load();
        ASSERT_NE(w.mnuChangeCounty, nullptr);
        EXPECT_EQ(w.mnuChangeCounty->isEnabled(), rover == 1);
    }
    MainWindowFixture out(1);
    out.WriteLog("");
    EXPECT_EQ(out.Load().mnuChangeCounty, nullptr);
}

TEST(MapAndGraphMenus, ShowTheirWindowsModallyAndUnloadThem) {
    MainWindowFixture f(0);
    f.WriteLog(Contacts(6));
    mainwindow::MainWindow& w = f.Load();
    f.t.dialogs.shown.clear();

    bool mapShown = false;
    QPointer<scoring::CountyMapWI> map =
        testing_support::OpenFromMenu<scoring::CountyMapWI>(w.mnuMap, [&](scoring::CountyMapWI& window) {
            mapShown = true;
            EXPECT_EQ(window.windowModality(), Qt::ApplicationModal);
            EXPECT_EQ(window.windowTitle(), " Dudurozuz County Map");
        });
    EXPECT_TRUE(mapShown);
    EXPECT_TRUE(map.isNull());
    EXPECT_TRUE(testing_support::NoWindowLeft<scoring::CountyMapWI>());

    // Six contacts: the message, then the window with its design labels.
    bool graphShown = false;
    QPointer<scoring::GraphQSO> graph =
        testing_support::OpenFromMenu<scoring::GraphQSO>(w.mnuGraph, [&](scoring::GraphQSO& window) {
            graphShown = true;
            EXPECT_EQ(window.lblTime[0]->text(), "00:00");
        });
    EXPECT_TRUE(graphShown);
    EXPECT_TRUE(graph.isNull());
    EXPECT_TRUE(testing_support::NoWindowLeft<scoring::GraphQSO>());
    EXPECT_EQ(f.t.dialogs.titles(), std::vector<QString>{"Not Enough Contacts to Graph."});
}

TEST(DialogMenus, ChangeCountyStoresAndShowsTheNewCounty) {
    MainWindowFixture f(0);
    f.WriteLog("");
    f.program().station.RoverMode = 1;
    mainwindow::MainWindow& w = f.Load();
    bool shown = false;
    testing_support::OpenFromMenu<entry::frmCountyChange>(w.mnuChangeCounty, [&](entry::frmCountyChange& dialog) {
        shown = true;
        EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal);
        dialog.Text1->setText("ADA");
        dialog.Command1_Click();
    });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(testing_support::NoWindowLeft<entry::frmCountyChange>());
    EXPECT_EQ(w.Label25->text(), "ADA");
    EXPECT_EQ(PrefLine(f.t, 7), "\"ADA\"");
}

TEST(DialogMenus, ColorsRepaintTheWorkedStatesInTheNewColour) {
    MainWindowFixture f(0);
    f.WriteLog(Contacts(1));  // a contact from MA
    mainwindow::MainWindow& w = f.Load();
    QLabel* massachusetts = nullptr;
    for (QLabel* label : w.Label10)
        if (label && label->text() == "MA") massachusetts = label;
    ASSERT_NE(massachusetts, nullptr);
    EXPECT_EQ(platform::ForeColor(massachusetts), QColor(255, 0, 0));

    const QColor green(0, 160, 0);
    f.t.dialogs.colorAnswers.push_back(green);
    bool shown = false;
    testing_support::OpenFromMenu<setup::Form6>(w.mnuColors, [&](setup::Form6& dialog) {
        shown = true;
        dialog.Command3_Click();  // the worked colour
        dialog.Command6_Click();  // Done
    });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(testing_support::NoWindowLeft<setup::Form6>());
    EXPECT_EQ(PrefLine(f.t, 16), QString::number(platform::ToStoredColor(green)));
    EXPECT_EQ(platform::ForeColor(massachusetts), green);
}

TEST(DialogMenus, HelpShowsThePageModally) {
    MainWindowFixture f(1);
    f.WriteLog("");
    TestProgram::WriteFile(f.t.workFile("ReadOstrel.txt"), "How to log.\r\n");
    mainwindow::MainWindow& w = f.Load();
    QString text;
    testing_support::OpenFromMenu<setup::Form5>(w.mnuHelp, [&](setup::Form5& page) {
        EXPECT_EQ(page.windowModality(), Qt::ApplicationModal);
        text = page.Text1->toPlainText();
    });
    EXPECT_TRUE(text.startsWith("How to log.")) << text.toStdString();
    EXPECT_TRUE(testing_support::NoWindowLeft<setup::Form5>());
}

TEST(DialogMenus, PostContestModeSwitchesTheDateAndTimeBoxes) {
    for (int side : {0, 1}) {
        MainWindowFixture f(side);
        f.WriteLog("");
        mainwindow::MainWindow& w = f.Load();
        EXPECT_TRUE(w.entry().txtPostConTime->isHidden());
        w.mnuPostContest->trigger();
        EXPECT_FALSE(w.entry().txtPostConTime->isHidden());
        EXPECT_FALSE(w.entry().txtPostConDate->isHidden());
        EXPECT_TRUE(w.mnuPostContest->isChecked());
        w.mnuPostContest->trigger();
        EXPECT_TRUE(w.entry().txtPostConTime->isHidden());
        EXPECT_FALSE(w.mnuPostContest->isChecked());
    }
}

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>
#include <stdexcept>

#include "mainwindow/main_window.h"
#include "platform/colors.h"
#include "program/main_window_proxy.h"
#include "setup/bands.h"
#include "support/main_window_fixture.h"

using testing_support::Contact;
using testing_support::MainWindowFixture;
using testing_support::TestProgram;

namespace {

// A small log of both kinds of contact, all within the last hour of the fake
// clock (UTC 2013/04/07 18:05:33).
QByteArray inStateLog() {
    return Contact("K1ABC", "CT", "", "2013/04/07", "17:10:00", "PH", "20") +
           Contact("W9XYZ", "WI", "Dane", "2013/04/07", "17:30:00", "CW", "40", "DAN") +
           Contact("W9QQQ", "WI", "dane", "2013/04/07", "17:40:00", "PH", "40", "DAN") +
           Contact("DL1AB", "Germany", "", "2013/04/07", "17:50:00", "CW", "20") +
           Contact("VE3XX", "ON", "", "2013/04/07", "17:55:00", "DG", "20") +
           Contact("W9RRR", "WI", "Nowhere", "2013/04/07", "18:00:00", "CW", "40", "DAN");
}

bool checked(const mainwindow::MainWindow& w, const char* band) {
    for (std::size_t b = 0; b < setup::kBandCodes.size(); ++b)
        if (QLatin1String(setup::kBandCodes[b]) == QLatin1String(band))
            return w.bandItems[b]->isChecked();
    return false;
}

int checkedBands(const mainwindow::MainWindow& w) {
    int n = 0;
    for (QAction* a : w.bandItems) n += a->isChecked() ? 1 : 0;
    return n;
}

}  // namespace

TEST(MainWindowLoad, InStateWindowShowsTheLogAndEveryStatistic) {
    MainWindowFixture f(0);
    f.WriteLog(inStateLog());
    mainwindow::MainWindow& w = f.Load();

    ASSERT_EQ(f.t.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.t.dialogs.shown[0].title, "Open existing log?");
    EXPECT_EQ(f.t.dialogs.shown[0].text,
              "Do you want to continue an existing contest? (Yes opens your existing log, No erases "
              "any existing log and starts a new log.)");
    EXPECT_EQ(f.t.dialogs.shown[0].style, platform::vbQuestion | platform::vbYesNo);

    EXPECT_EQ(w.windowTitle(), "Tavik's Ostrel 2.0");
    EXPECT_EQ(w.entry().lblDialog->text(), "Select a band, mode and Click Log \"Time On\"!");
    EXPECT_EQ(w.Label2->text(), "N0CALL");
    EXPECT_EQ(w.Label25->text(), "DAN");
    EXPECT_EQ(w.Label24->text(), "40");
    EXPECT_EQ(w.Label30->text(), "CW");
    EXPECT_TRUE(checked(w, "40"));
    EXPECT_EQ(checkedBands(w), 1);
    EXPECT_TRUE(w.mnu160->isChecked());
    EXPECT_FALSE(w.mnuSSB->isChecked());
    EXPECT_FALSE(w.mnuChangeCounty->isEnabled());  // not a rover
    EXPECT_EQ(w.lblStation[4]->text(), "WI County");
    EXPECT_EQ(w.entry().txtSec->toolTip(), "Enter WI in the St / Prv / Country field to enable the County field");
    EXPECT_FALSE(w.entry().Label3->isVisible());
    EXPECT_FALSE(w.cmdEdit->isVisible());

    // The grid: codes, names and the worked colour.
    EXPECT_EQ(w.Label10[42]->text(), "WI");
    EXPECT_EQ(w.Label10[42]->toolTip(), "Dudurozuz");
    EXPECT_EQ(w.Label10[1]->text(), "CT");
    EXPECT_EQ(w.Label10[63]->text(), "YT");
    const QColor worked = platform::FromStoredColor(f.program().station.WorkedColor);
    const QColor remaining = platform::FromStoredColor(f.program().station.RemainingColor);
    for (int k : {1, 42, 54}) EXPECT_EQ(platform::ForeColor(w.Label10[k]), worked) << k;
    for (int k : {2, 7, 63}) EXPECT_EQ(platform::ForeColor(w.Label10[k]), remaining) << k;
    EXPECT_EQ(w.Label15->text(), "States and Provinces Worked: 3");

    // Worked lists: "Dane" once (as first written), "Nowhere" listed too.
    EXPECT_EQ(MainWindowFixture::ListTexts(w.List2), (QStringList{"Dane", "Nowhere"}));
    EXPECT_EQ(w.lblStation[8]->text(), "Cnty Wkd - 2");
    EXPECT_EQ(w.List3->count(), 71);
    EXPECT_FALSE(MainWindowFixture::ListTexts(w.List3).contains("Dane"));
    EXPECT_EQ(w.lblStation[7]->text(), "Cnty Rem - 71");
    EXPECT_EQ(MainWindowFixture::ListTexts(w.List1), QStringList{"Germany"});
    EXPECT_EQ(w.lblStation[5]->text(), "DX All - 1");

    // Score: 2 PH (2 points) + 3 CW + 1 DG (8 points) = 10 points; Dane and
    // three states are multipliers, "Nowhere" is no county of the state.
    EXPECT_EQ(w.lblTotCon->text(), "2");
    EXPECT_EQ(w.lblsectogo->text(), "3");
    EXPECT_EQ(w.lblTotSec->text(), "4");
    EXPECT_EQ(w.lblTotScore->text(), "40");
    // Rates: all six within the hour, three within 20 minutes.
    EXPECT_EQ(w.lblAQSO60->text(), "6");
    EXPECT_EQ(w.lblAQSO20->text(), "9");

    // Recent contacts, newest first, with the in-state columns.
    QAbstractItemModel* model = w.ListView1->model();
    ASSERT_EQ(model->columnCount(), 8);
    EXPECT_EQ(model->headerData(7, Qt::Horizontal).toString(), "County Sent");
    EXPECT_EQ(f.RecentColumn(0), (QStringList{"6", "5", "4", "3", "2", "1"}));
    EXPECT_EQ(model->index(0, 1).data().toString(), "W9RRR");
    EXPECT_EQ(model->index(0, 4).data().toString(), "04/07 18:00");
    EXPECT_EQ(model->index(0, 7).data().toString(), "DAN");
    EXPECT_EQ(f.program().tally.DXCount[3], 1);  // Germany on 20 m
}

TEST(MainWindowLoad, OutOfStateWindowCountsCountiesOnly) {
    MainWindowFixture f(1);
    f.program().station.OwnSPC = "";
    f.program().station.OwnCall = "";
    f.program().station.CurrentMode = "ph";
    f.WriteLog(Contact("W9XYZ", "", "Dane", "2013/04/07", "17:30:00", "PH", "40") +
               Contact("W9ABC", "", "Adams", "2013/04/07", "17:31:00", "CW", "40"));
    mainwindow::MainWindow& w = f.Load();
    EXPECT_EQ(w.side(), mainwindow::Side::Out);
    EXPECT_EQ(w.entry().lblDialog->text(), "Select a band and mode. Click Log \"Time On\" below!");
    EXPECT_EQ(w.Label25->text(), "USA");  // no own SPC: the country
    EXPECT_EQ(w.Label2->text(), "CALL");   // no own call: the design caption
    EXPECT_EQ(w.Label30->text(), "ph");
    EXPECT_TRUE(w.mnuSSB->isChecked());
    EXPECT_EQ(w.entry().txtRSTS->maxLength(), 2);
    EXPECT_EQ(w.mnuChangeCounty, nullptr);
    EXPECT_EQ(w.mnuColors, nullptr);
    EXPECT_EQ(MainWindowFixture::ListTexts(w.List2), (QStringList{"Adams", "Dane"}));
    EXPECT_EQ(w.lblStation[5]->text(), "Counties Worked - 2");
    EXPECT_EQ(w.lblStation[7]->text(), "Counties To Go - 70");
    EXPECT_EQ(w.lblTotSec->text(), "2");
    EXPECT_EQ(w.lblTotScore->text(), "6");  // 3 points x 2 counties
    EXPECT_EQ(w.ListView1->model()->columnCount(), 6);
    EXPECT_EQ(f.RecentColumn(2), (QStringList{"Adams", "Dane"}));
}

TEST(MainWindowLoad, StartUpQuestionAnswers) {
    // No, confirmed with YES: the log is erased without a backup, since
    // nothing was loaded yet.
    {
        MainWindowFixture f(0);
        f.WriteLog(inStateLog());
        f.t.dialogs.inputAnswers.push_back(QString("yes"));
        mainwindow::MainWindow& w = f.Load(platform::vbNo);
        EXPECT_EQ(TestProgram::ReadFile(f.t.workFile("log.txt")), "");
        EXPECT_EQ(w.ListView1->model()->rowCount(), 0);
        EXPECT_EQ(w.lblTotScore->text(), "0");
        EXPECT_EQ(f.t.endCalls, 0);
    }
    // No, then Cancel: the log stays and is loaded as if Yes had been answered.
    {
        MainWindowFixture f(0);
        f.WriteLog(inStateLog());
        mainwindow::MainWindow& w = f.Load(platform::vbNo);
        EXPECT_EQ(w.ListView1->model()->rowCount(), 6);
        EXPECT_EQ(f.t.dialogs.titles(),
                  (std::vector<QString>{"Open existing log?",
                                        "WARNING - Your existing log file will be ERASED!"}));
    }
    // Yes with no log.txt: the program ends with the load's message.
    {
        MainWindowFixture f(0);
        f.Load(platform::vbYes);
        EXPECT_EQ(f.t.endCalls, 1);
        EXPECT_EQ(f.t.dialogs.titles().back(), "File Error");
        EXPECT_EQ(f.t.dialogs.shown.back().text, "Error opening file.");
    }
}

TEST(MainWindowLoad, AFailingRebuildIsToldOnceAndTheProgramGoesOn) {
    const QString fileError =
        "Error opening file.  This error is annoying but probably correctable.  In all "
        "likelihood, a character such as a quote got into your data or one of your entries has "
        "an invalid date/time format.  Close this program and open log.txt in the program's "
        "working directory with a text editor such as notepad.  Inspect the data and fix any "
        "errors you see (remove any extra quotes and make sure your date and time entries are "
        "valid).";
    for (int side : {0, 1}) {
        MainWindowFixture f(side);
        f.WriteLog(inStateLog());
        mainwindow::MainWindow& w = f.Load();
        f.t.dialogs.shown.clear();
        // Two rebuilds fail; the others still run.
        std::vector<std::string> ran;
        w.beforeRebuild = [&](const char* rebuild) {
            ran.emplace_back(rebuild);
            if (ran.back() == "FillCountyLists" || ran.back() == "ShowScore")
                throw std::runtime_error("injected");
        };
        w.bandItems[3]->trigger();  // a band change reloads the log
        EXPECT_EQ(ran.size(), side == 0 ? 9u : 4u);
        ASSERT_EQ(f.t.dialogs.shown.size(), 1u) << side;
        EXPECT_EQ(f.t.dialogs.shown[0].title, "File Error");
        EXPECT_EQ(f.t.dialogs.shown[0].text, fileError);
        EXPECT_EQ(f.t.dialogs.shown[0].style, platform::vbOKOnly);
        EXPECT_EQ(f.t.endCalls, 0);
        EXPECT_EQ(w.ListView1->model()->rowCount(), 6);  // the recent list was rebuilt
        // Without a failure nothing is shown.
        w.beforeRebuild = nullptr;
        w.bandItems[2]->trigger();
        EXPECT_EQ(f.t.dialogs.shown.size(), 1u);
    }
}

TEST(MainWindowLoad, FitsTheScreen) {
    MainWindowFixture f(0);
    f.WriteLog("");
    f.t.dialogs.msgAnswers.push_back(platform::vbYes);
    mainwindow::MainWindow& w = f.program().OpenMainWindow();
    const platform::Control before = w.Ctl(w.entry().txtCall);
    const float fontBefore = before.Font.Size;
    w.Form_Load(QSizeF(19200, 15360));  // a 1280 x 1024 screen
    const platform::Control& after = w.Ctl(w.entry().txtCall);
    EXPECT_FLOAT_EQ(after.Width, before.Width * 2);
    EXPECT_FLOAT_EQ(after.Height, before.Height * 15360.0f / 7200.0f);
    EXPECT_FLOAT_EQ(after.Left, before.Left * 2);
    EXPECT_FLOAT_EQ(after.Font.Size, fontBefore * 2);
    EXPECT_FLOAT_EQ(w.Width, 19200);
    EXPECT_FLOAT_EQ(w.Left, 0);
    EXPECT_FLOAT_EQ(w.Ctl(w.ListView1).ColumnWidths[0], 1060);
    // The lists end on the separator line.
    EXPECT_FLOAT_EQ(w.Ctl(w.List1).Top + w.Ctl(w.List1).Height, w.Ctl(w.Line3).Y1);
    EXPECT_FLOAT_EQ(w.Ctl(w.List3).Height, w.Ctl(w.List1).Height);
}

TEST(BandAndMode, MenuAndLabelsChangeSaveAndReload) {
    MainWindowFixture f(0);
    f.WriteLog(inStateLog());
    mainwindow::MainWindow& w = f.Load();
    // A contact added behind the window's back shows after the reload that
    // every band change runs.
    TestProgram::WriteFile(f.t.workFile("log.txt"),
                           inStateLog() + Contact("W1NEW", "MA", "", "2013/04/07", "18:01:00", "CW", "20"));
    w.bandItems[3]->trigger();  // "20"
    EXPECT_EQ(f.program().station.CurrentBand, "20");
    EXPECT_EQ(w.Label24->text(), "20");
    EXPECT_TRUE(checked(w, "20"));
    EXPECT_EQ(checkedBands(w), 1);
    EXPECT_TRUE(TestProgram::ReadFile(f.t.workFile("QSOpref.txt")).contains("\"20\"\r\n"));
    EXPECT_EQ(w.ListView1->model()->rowCount(), 7);

    struct Step {
        QString current;
        QString next;
    };
    const Step steps[] = {{"160", "80"}, {"6", "2"}, {"2", "222"}, {"902", "1.3 G"}, {"1.3 G", "160"}};
    for (const Step& s : steps) {
        f.program().station.CurrentBand = s.current;
        QTest::mouseClick(w.Label24, Qt::LeftButton);
        EXPECT_EQ(f.program().station.CurrentBand, s.next) << s.current.toStdString();
        EXPECT_EQ(w.Label24->text(), s.next);
    }
    f.program().station.CurrentBand = "";
    QTest::mouseClick(w.Label24, Qt::LeftButton);
    EXPECT_EQ(f.program().station.CurrentBand, "");

    // The mode label: CW goes to PH, anything else to CW.
    QTest::mouseClick(w.Label30, Qt::LeftButton);
    EXPECT_EQ(f.program().station.CurrentMode, "PH");
    EXPECT_TRUE(w.mnuSSB->isChecked());
    EXPECT_FALSE(w.mnu160->isChecked());
    f.program().station.CurrentMode = "DG";
    QTest::mouseClick(w.Label30, Qt::LeftButton);
    EXPECT_EQ(f.program().station.CurrentMode, "CW");
    EXPECT_EQ(w.Label30->text(), "CW");
}

TEST(BandAndMode, RigReportsThroughTheProxy) {
    MainWindowFixture f(0);
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    Form1& proxy = f.program().form1();
    EXPECT_EQ(proxy.Caption(), "Form1");
    struct Case {
        float mhz;
        const char* before;
        const char* after;
        const char* text;
    };
    const Case cases[] = {
        {14.0f, "40", "20", "14.000"},    {14.2f, "20", "20", "14.200"},
        {1.8f, "40", "160", "1.800"},     {2.0f, "40", "160", "2.000"},
        {54.0f, "40", "6", "54.000"},     {148.0f, "40", "2", "148.000"},
        {1300.0f, "40", "1.3 G", "1300.000"}, {223.5f, "40", "222", "223.500"},
        {432.1f, "40", "432", "432.100"}, {10.12f, "40", "40", "10.120"},
        {18.1f, "40", "40", "18.100"},    {0.5f, "40", "40", ".500"},
        {2400.0f, "40", "40", "2400.000"}, {7.0f, "160", "40", "7.000"},
    };
    for (const Case& c : cases) {
        f.program().station.CurrentBand = c.before;
        float mhz = c.mhz;
        proxy.BandFreqConversion(mhz);
        EXPECT_EQ(mhz, c.mhz);
        EXPECT_EQ(f.program().station.CurrentBand, c.after) << c.mhz;
        EXPECT_EQ(f.program().entry.RigFrequencyText, c.text) << c.mhz;
    }
    EXPECT_EQ(w.Label24->text(), "40");

    struct ModeCase {
        const char* before;
        QString reported;
        const char* after;
    };
    const ModeCase modes[] = {{"PH", "CW", "CW"}, {"CW", "cw", "CW"}, {"CW", "", "CW"},
                              {"CW", "USB", "CW"}, {"CW", "DG", "CW"}, {"CW", "PH", "PH"}};
    for (const ModeCase& m : modes) {
        f.program().station.CurrentMode = m.before;
        QString reported = m.reported;
        proxy.ModeSelection(reported);
        EXPECT_EQ(f.program().station.CurrentMode, m.after) << m.reported.toStdString();
    }

    // Spots: a numeric kHz frequency becomes MHz in the caller's variable.
    QVariant call("DL1AB"), freq("14025"), record("DX de K1ABC: 14025.0 DL1AB\rmore");
    proxy.BandMapSpots(call, freq, record);
    EXPECT_DOUBLE_EQ(freq.toDouble(), 14.025);
    EXPECT_EQ(record.toString(), "DX de K1ABC: 14025.0 DL1AB");
    QVariant bad("n/a"), rec2("x\ry");
    proxy.BandMapSpots(call, bad, rec2);
    EXPECT_EQ(bad.toString(), "n/a");
    EXPECT_EQ(rec2.toString(), "x\ry");
}

TEST(BandAndMode, ProxyReachesTheInStateWindowAndNothingBeforeALoad) {
    MainWindowFixture f(0);
    f.WriteLog("");
    float mhz = 21.2f;
    f.program().form1().BandFreqConversion(mhz);  // no main window yet
    EXPECT_EQ(f.program().mainWindow(), nullptr);
    EXPECT_EQ(f.program().station.CurrentBand, "40");
    mainwindow::MainWindow& w = f.Load();
    f.program().form1().BandFreqConversion(mhz);
    EXPECT_NE(dynamic_cast<mainwindow::Infrm*>(&w), nullptr);
    EXPECT_EQ(w.Label24->text(), "15");
}

TEST(BandAndMode, ProxyFollowsTheStationSide) {
    // The proxy reads StationSide at every call: 0 names Infrm, any other
    // value Outfrm. The run's one window is reached only while the side
    // names it; a side naming the other window reaches nothing.
    struct Case {
        int windowSide;
        int sideAtCall;
        const char* band;  // the band label after a 21.2 MHz report
    };
    const Case cases[] = {
        {1, 1, "15"}, {1, 2, "15"}, {1, 0, "40"}, {0, 0, "15"}, {0, 1, "40"}, {0, 2, "40"},
    };
    for (const Case& c : cases) {
        MainWindowFixture f(c.windowSide);
        f.WriteLog("");
        mainwindow::MainWindow& w = f.Load();
        ASSERT_EQ(w.Label24->text(), "40");
        // The same proxy, loaded before the side changes.
        Form1& proxy = f.program().form1();
        f.program().station.StationSide = static_cast<std::uint8_t>(c.sideAtCall);
        float mhz = 21.2f;
        proxy.BandFreqConversion(mhz);
        EXPECT_EQ(w.Label24->text(), c.band) << c.windowSide << " " << c.sideAtCall;
        // Back to the window's own side: the next call reaches it again.
        f.program().station.StationSide = static_cast<std::uint8_t>(c.windowSide);
        mhz = 28.4f;
        proxy.BandFreqConversion(mhz);
        EXPECT_EQ(w.Label24->text(), "10") << c.windowSide << " " << c.sideAtCall;
    }
    MainWindowFixture f(1);
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    // The out-of-state mode commands set the RST lengths.
    w.mnuSSB->trigger();
    EXPECT_EQ(w.entry().txtRSTR->maxLength(), 2);
    w.mnu160->trigger();
    EXPECT_EQ(w.entry().txtRSTR->maxLength(), 3);
}

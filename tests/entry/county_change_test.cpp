// The county change dialog of a rover inside the party state: the check of
// its box, Done, and what the main window and QSOpref.txt show afterwards.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "entry/county_change.h"
#include "mainwindow/main_window.h"
#include "support/main_window_fixture.h"
#include "support/qstring_printer.h"
#include "support/setup_fixture.h"

using entry::frmCountyChange;
using testing_support::MainWindowFixture;
using testing_support::TestProgram;

namespace {

// A rover's in-state window; `script` runs while the dialog shows.
void changeCounty(MainWindowFixture& f, const std::function<void(frmCountyChange&)>& script) {
    QTimer::singleShot(0, [&f, script] {
        frmCountyChange& d = f.program().frmCountyChange();
        EXPECT_TRUE(d.isVisible() && d.isModal());
        testing_support::Activate(d);
        testing_support::Settle();
        script(d);
        if (d.isVisible()) d.close();
    });
    entry::ShowCountyChange(f.program());
    testing_support::Settle();
    EXPECT_FALSE(f.program().FrmCountyChangeLoaded());
}

void type(frmCountyChange& d, const QString& keys) {
    for (QChar c : keys) {
        if (c == u'\n')
            QTest::keyClick(d.windowHandle(), Qt::Key_Return);
        else
            QTest::keyClick(d.windowHandle(), c.toLatin1());
        testing_support::Settle();
    }
}

QString prefLine(TestProgram& t, int n) {
    const QList<QByteArray> lines = TestProgram::ReadFile(t.workFile("QSOpref.txt")).split('\n');
    return n <= lines.size() ? QString::fromLatin1(lines[n - 1]).trimmed() : QString();
}

}  // namespace

TEST(CountyChange, RefusesACountyNotInTheTable) {
    MainWindowFixture f(0);
    f.program().station.RoverMode = 1;
    f.WriteLog("");
    f.Load();
    f.t.dialogs.beeps = 0;
    changeCounty(f, [&](frmCountyChange& d) {
        EXPECT_EQ(d.windowTitle(), "County Change");
        EXPECT_EQ(d.Label1->text(), "Please enter your current county:");
        EXPECT_EQ(d.Text1->text(), "DAN");
        // Leaving the box with an unknown county, and Enter in it.
        d.Text1->setCursorPosition(0);
        type(d, "xyz");
        EXPECT_EQ(d.Text1->text(), "XYZ");
        QTest::keyClick(d.windowHandle(), Qt::Key_Tab);
        testing_support::Settle();
        EXPECT_TRUE(d.Label2->isVisible());
        EXPECT_EQ(d.Label2->text(), "   Invalid!");
        EXPECT_EQ(d.focusWidget(), d.Text1);
        EXPECT_EQ(f.t.dialogs.beeps, 1);
        EXPECT_EQ(f.program().entry.BadCountyFlag, 1);
        type(d, "\n");
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(f.t.dialogs.beeps, 2);
    });
    EXPECT_EQ(f.program().station.OperatingCounty, "DAN");
    EXPECT_EQ(f.window().Label25->text(), "DAN");
}

TEST(CountyChange, DoneMakesTheOperatingCountyAndSavesIt) {
    MainWindowFixture f(0);
    f.program().station.RoverMode = 1;
    f.WriteLog("");
    f.Load();
    changeCounty(f, [&](frmCountyChange& d) {
        // The first key at the start replaces the county; a fourth is not taken.
        d.Text1->setCursorPosition(0);
        type(d, "milw");
        EXPECT_EQ(d.Text1->text(), "MIL");
        QTest::keyClick(d.windowHandle(), Qt::Key_Tab);
        testing_support::Settle();
        EXPECT_FALSE(d.Label2->isVisible());
        d.Text1->setFocus();
        type(d, "\n");
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(f.program().station.OperatingCounty, "MIL");
    EXPECT_EQ(prefLine(f.t, 7), "\"MIL\"");
    EXPECT_EQ(f.window().Label25->text(), "MIL");
    EXPECT_EQ(f.program().entry.CWMacroCounty, "MIL");
}

TEST(CountyChange, BackspaceAtTheStartEmptiesTheBox) {
    MainWindowFixture f(0);
    f.WriteLog("");
    f.Load();
    changeCounty(f, [&](frmCountyChange& d) {
        d.Text1->setCursorPosition(0);
        d.Text1->deselect();
        QTest::keyClick(d.windowHandle(), Qt::Key_Backspace);
        EXPECT_EQ(d.Text1->text(), "");
        type(d, "dan");
        d.Command1->click();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(f.program().station.OperatingCounty, "DAN");
}

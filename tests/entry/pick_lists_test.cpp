// The pick lists beside the entry line and the in-state state grid: what a
// click enters where, and what hovering over a code shows.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "mainwindow/main_window.h"
#include "support/main_window_fixture.h"
#include "support/qstring_printer.h"
#include "support/setup_fixture.h"

using testing_support::Contact;
using testing_support::MainWindowFixture;

namespace {

void clickEntry(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    list->scrollToItem(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
    testing_support::Settle();
}

}  // namespace

TEST(PickLists, ACountyClickFillsTheEntryLine) {
    MainWindowFixture in(0);
    in.WriteLog(Contact("K9AA", "WI", "Dane", "2013/04/07", "18:00:00", "CW", "40", "DAN") +
                Contact("G3ABC", "England", "", "2013/04/07", "18:01:00", "CW", "40", "DAN"));
    mainwindow::MainWindow& w = in.Load();
    testing_support::Activate(w);
    w.entry().txtCntry->setText("England");
    clickEntry(w.List2, "Dane");  // counties worked
    EXPECT_EQ(w.entry().txtSec->text(), "Dane");
    EXPECT_EQ(w.entry().txtCntry->text(), "WI");
    EXPECT_EQ(w.focusWidget(), w.entry().txtSec);
    clickEntry(w.List3, "Adams");  // counties to work
    EXPECT_EQ(w.entry().txtSec->text(), "Adams");
    clickEntry(w.List1, "England");  // DX countries
    EXPECT_EQ(w.entry().txtCntry->text(), "England");
    EXPECT_EQ(w.focusWidget(), w.entry().txtCntry);

    MainWindowFixture out(1);
    out.WriteLog(Contact("K9AA", "", "Dane", "2013/04/07", "18:00:00", "CW", "40"));
    mainwindow::MainWindow& o = out.Load();
    testing_support::Activate(o);
    for (auto [list, county] : {std::pair{o.List1, "Adams"}, std::pair{o.List2, "Dane"}}) {
        o.entry().txtSec->setFocus();
        clickEntry(list, county);
        EXPECT_EQ(o.entry().txtSec->text(), county);
        EXPECT_EQ(o.focusWidget(), o.entry().txtCall);
    }
}

TEST(PickLists, TheGridEntersACodeAndShowsItsCountOnHover) {
    MainWindowFixture f(0);
    f.WriteLog(Contact("K1AA", "IL", "", "2013/04/07", "18:00:00", "CW", "40", "DAN") +
               Contact("K1BB", "il", "", "2013/04/07", "18:01:00", "PH", "20", "DAN") +
               Contact("K9AA", "WI", "Dane", "2013/04/07", "18:02:00", "CW", "40", "DAN"));
    mainwindow::MainWindow& w = f.Load();
    testing_support::Activate(w);
    const int il = f.program().stateProvinces.Find("IL");
    const int tx = f.program().stateProvinces.Find("TX");
    QLabel* ilLabel = w.Label10[static_cast<std::size_t>(il)];
    QTest::mouseMove(ilLabel, ilLabel->rect().center());
    testing_support::Settle();
    EXPECT_EQ(w.entry().lblDupe->text(), "  Illinois    Total =2");
    // 8 pt on a screen as wide as the design's, the one the window was laid
    // out for (not the platform's own screen).
    EXPECT_FLOAT_EQ(w.Ctl(w.entry().lblDupe).Font.Size, 8.0f);
    w.entry().Label10_MouseMove(tx);
    EXPECT_EQ(w.entry().lblDupe->text(), "  Texas    Total =0");

    // Only the left button enters a code.
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(ilLabel, button);
        EXPECT_EQ(w.entry().txtCntry->text(), "") << button;
    }
    QTest::mouseClick(ilLabel, Qt::LeftButton);
    EXPECT_EQ(w.entry().txtCntry->text(), "IL");
}

TEST(PickLists, TheOwnCountyLabelFeedsTheCWMacro) {
    MainWindowFixture f(0);
    f.program().station.OperatingCounty = "dan";
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    EXPECT_EQ(f.program().entry.CWMacroCounty, "DAN");
    w.Label25->setText("mil");
    w.Label25_Change();
    EXPECT_EQ(f.program().entry.CWMacroCounty, "MIL");
}

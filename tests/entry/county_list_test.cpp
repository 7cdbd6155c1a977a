// The county pick list: its rows and columns, its layout on the screen, and
// the box a picked county goes to for each station side, from the main
// windows' "L&ist" menu and from the set-up dialog's "&List".
#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "entry/county_list.h"
#include "logstore/county_table.h"
#include "mainwindow/main_window.h"
#include "setup/station_id.h"
#include "support/main_window_fixture.h"
#include "support/qstring_printer.h"
#include "support/setup_fixture.h"

using entry::frmCountyList;
using testing_support::ClickCounty;
using testing_support::MainWindowFixture;
using testing_support::TestProgram;

namespace {

QStringList Column(const QTreeWidget* view, int column) {
    QStringList out;
    for (int i = 0; i < view->topLevelItemCount(); ++i) out << view->topLevelItem(i)->text(column);
    return out;
}

}  // namespace

TEST(CountyList, ListsTheCountyTableInItsOrder) {
    TestProgram t;
    t->station.PartyState = "WI";
    TestProgram::WriteLines(t.workFile("county2.txt"),
                            {R"("WIDane","DAN")", R"("MNAitkin","AIT")", R"("WIAdams","ADA")"});
    ASSERT_TRUE(logstore::LoadCountyTable(t.program().counties, t.program().logPlace()));
    frmCountyList& list = t->frmCountyList();
    list.Form_Load(QSizeF(9600, 7200));
    EXPECT_EQ(list.windowTitle(), "County List");
    EXPECT_EQ(list.ListView1->headerItem()->text(0), "County");
    EXPECT_EQ(list.ListView1->headerItem()->text(1), "Abbreviation");
    EXPECT_EQ(Column(list.ListView1, 0), QStringList({"Dane", "Adams"}));
    EXPECT_EQ(Column(list.ListView1, 1), QStringList({"DAN", "ADA"}));
    EXPECT_EQ(list.Ctl(list.ListView1).ColumnWidths, std::vector<float>({1300, 1300}));
}

TEST(CountyList, AnEmptyTableShowsTheHeadingsAndAClickTakesNoRow) {
    TestProgram t;
    t->station.StationSide = 2;
    setup::frmStationID& dialog = t->frmStationID();
    dialog.Text8->setText("DAN");
    frmCountyList& list = t->frmCountyList();
    list.Form_Load(QSizeF(9600, 7200));
    list.show();
    EXPECT_EQ(list.ListView1->columnCount(), 2);
    EXPECT_EQ(list.ListView1->topLevelItemCount(), 0);
    QTest::mouseClick(list.ListView1->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    list.ListView1_Click();
    EXPECT_EQ(dialog.Text8->text(), "DAN");
    EXPECT_TRUE(list.isVisible());
}

TEST(CountyList, ItsSizeFollowsTheScreenAndItsFontAtMostOneAndAHalf) {
    struct Case {
        QSizeF screen;
        float fontFactor;
    };
    const Case cases[] = {{{9600, 7200}, 1.0f}, {{14400, 10800}, 1.5f}, {{19200, 14400}, 1.5f},
                          {{7200, 5400}, 0.75f}};
    for (const Case& c : cases) {
        TestProgram t;
        frmCountyList& list = t->frmCountyList();
        const float width0 = list.Width;
        const float height0 = list.Height;
        const float font0 = list.Ctl(list.ListView1).Font.Size;
        list.Form_Load(c.screen);
        const double sx = c.screen.width() / 9600;
        const double sy = c.screen.height() / 7200;
        EXPECT_FLOAT_EQ(list.Width, static_cast<float>(width0 * sx));
        EXPECT_FLOAT_EQ(list.Height, static_cast<float>(height0 * sy));
        EXPECT_FLOAT_EQ(list.Left, static_cast<float>((c.screen.width() - list.Width) / 2));
        // High on the screen: a sixth of the free height above it.
        EXPECT_FLOAT_EQ(list.Top, static_cast<float>((c.screen.height() - list.Height) / 6));
        const platform::Control& view = list.Ctl(list.ListView1);
        EXPECT_FLOAT_EQ(view.Left, static_cast<float>(120 * sx));
        EXPECT_FLOAT_EQ(view.Height, static_cast<float>(5895 * sy));
        EXPECT_FLOAT_EQ(view.Font.Size, font0 * c.fontFactor);
        EXPECT_FLOAT_EQ(view.ColumnWidths[0], static_cast<float>(1300 * sx));
    }
}

TEST(CountyList, APickGoesToTheBoxOfTheStationSide) {
    // A name from the shipped table and its abbreviation.
    for (int side : {0, 1}) {
        MainWindowFixture f(side);
        f.WriteLog("");
        mainwindow::MainWindow& w = f.Load();
        frmCountyList& list = f.program().frmCountyList();
        list.Form_Load(QSizeF(9600, 7200));
        list.show();
        ClickCounty(list, "Dane");
        EXPECT_EQ(w.entry().txtSec->text(), "Dane") << side;
        EXPECT_FALSE(list.isVisible()) << side;
    }

    // The set-up dialog takes the abbreviation, in capitals.
    TestProgram t;
    t->station.PartyState = "WI";
    TestProgram::WriteLines(t.workFile("county2.txt"), {R"("WIDane","dan")"});
    ASSERT_TRUE(logstore::LoadCountyTable(t.program().counties, t.program().logPlace()));
    setup::frmStationID& dialog = t->frmStationID();
    t->station.StationSide = 2;
    frmCountyList& list = t->frmCountyList();
    list.Form_Load(QSizeF(9600, 7200));
    list.show();
    ClickCounty(list, "Dane");
    EXPECT_EQ(dialog.Text8->text(), "DAN");
    EXPECT_FALSE(list.isVisible());
}

TEST(CountyList, TheMainWindowsListMenuShowsItModallyAndUnloadsIt) {
    for (int side : {0, 1}) {
        MainWindowFixture f(side);
        f.WriteLog("");
        mainwindow::MainWindow& w = f.Load();
        bool modal = false;
        QTimer::singleShot(0, [&] {
            frmCountyList& list = f.program().frmCountyList();
            modal = list.isVisible() && list.isModal();
            ClickCounty(list, "Milwaukee");
        });
        w.mnuCountyList->trigger();
        EXPECT_TRUE(modal) << side;
        EXPECT_EQ(w.entry().txtSec->text(), "Milwaukee") << side;
        EXPECT_FALSE(f.program().FrmCountyListLoaded()) << side;
        EXPECT_EQ(f.program().station.StationSide, side);
    }
}

TEST(CountyList, TheSetupDialogsListButtonPutsTheAbbreviationIntoTheHomeCountyBox) {
    TestProgram t;
    testing_support::SeedWorkingFolder(t);
    setup::frmStationID& dialog = testing_support::LoadStationID(t);
    ASSERT_TRUE(testing_support::Activate(dialog));
    dialog.Text5->setText("WI");
    dialog.Text8->clear();
    dialog.Text9->clear();
    dialog.Text1->setFocus();
    QTimer::singleShot(0, [&] { ClickCounty(t->frmCountyList(), "Dane"); });
    // A click on the button takes no focus from the box it serves.
    QTest::mouseClick(dialog.Command2, Qt::LeftButton);
    EXPECT_EQ(t->station.StationSide, 2);
    EXPECT_EQ(dialog.Text8->text(), "DAN");
    EXPECT_FALSE(t->FrmCountyListLoaded());
    EXPECT_EQ(dialog.focusWidget(), dialog.Text8);
    // Leaving the box then passes the abbreviation check.
    testing_support::Activate(dialog);
    dialog.Text8->setFocus();
    QTest::keyClick(dialog.windowHandle(), Qt::Key_Tab);
    testing_support::Settle();
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_EQ(dialog.Text9->text(), "DAN");
}

// Spots reaching the main window through the proxy: the store and the spot
// list as the operator sees them.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "mainwindow/main_window.h"
#include "program/main_window_proxy.h"
#include "setup/reference_tables.h"
#include "rig/radio_emulator.h"
#include "rig/rig_control_frm.h"
#include "rig/rig_engine.h"
#include "spotting/spot_panel.h"
#include "support/main_window_fixture.h"
#include "support/qstring_printer.h"

namespace {

using testing_support::MainWindowFixture;

void Post(Program& program, const QString& call, const QString& kHz, const QString& record) {
    QVariant c(call), f(kHz), r(record);
    program.form1().BandMapSpots(c, f, r);
}

QString Cell(const QTreeWidget* list, int row, int column) {
    return list->topLevelItem(row)->text(column);
}

TEST(SpotIntake, TwoHundredAndOneSpotsLeaveTwoHundredRowsNewestOnTop) {
    MainWindowFixture f(0);
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    for (int i = 1; i <= 201; ++i)
        Post(f.program(), QStringLiteral("K%1ZZ").arg(i), QString::number(14000 + i % 300),
             QStringLiteral("de N0CALL:    14025.0  K%1ZZ").arg(i));
    ASSERT_EQ(w.txtDX->topLevelItemCount(), 200);
    EXPECT_EQ(Cell(w.txtDX, 0, 0), "K201ZZ");
    EXPECT_EQ(Cell(w.txtDX, 199, 0), "K2ZZ");
    EXPECT_EQ(f.program().spotStore.DXSpotCall[49], "K201ZZ");
    EXPECT_EQ(f.program().spotStore.DXSpotCall[0], "K152ZZ");
}

TEST(SpotIntake, ARowCarriesTheCellsOfTheSpot) {
    MainWindowFixture f(1);
    f.WriteLog("");
    f.t.CopyDataFile("arrlpre2.txt");
    setup::LoadPrefixTable(f.program());
    mainwindow::MainWindow& w = f.Load();
    const QString line =
        "DX de S53M:       7064.6  DL1AB        rtty, ufb sig                  0302Z\r\nnext";
    Post(f.program(), "DL1AB", "7064.6", line.mid(3));
    ASSERT_EQ(w.txtDX->topLevelItemCount(), 1);
    EXPECT_EQ(Cell(w.txtDX, 0, 0), "DL1AB");
    EXPECT_EQ(Cell(w.txtDX, 0, 1), "7.0646");
    EXPECT_EQ(Cell(w.txtDX, 0, 2), "Germany");
    EXPECT_EQ(Cell(w.txtDX, 0, 3), "");
    EXPECT_EQ(Cell(w.txtDX, 0, 4), "de S53M:  rtty, ufb sig");
    EXPECT_EQ(Cell(w.txtDX, 0, 6), "0302");
    // The same call again: two rows, one live slot.
    Post(f.program(), "dl1ab", "14025", "de K9ZZZ:   14025.0  dl1ab");
    EXPECT_EQ(w.txtDX->topLevelItemCount(), 2);
    EXPECT_EQ(f.program().spotStore.DXSpotFreq[48], 0.0f);
    EXPECT_FLOAT_EQ(f.program().spotStore.DXSpotFreq[49], 14.025f);
    // A frequency that is no number leaves store and list alone.
    Post(f.program(), "K9ZZZ", "14o25", "de N0CALL: 14o25 K9ZZZ");
    EXPECT_EQ(w.txtDX->topLevelItemCount(), 2);
    EXPECT_EQ(f.program().spotStore.DXSpotCall[49], "dl1ab");
}

TEST(SpotIntake, AClickOnTheSpotListTunesAPolledKenwood) {
    // A Kenwood on a pseudo-terminal, polled from the main window's load
    // every 5 s, so that only the test's own ticks run.
    const struct {
        const char* rigType;
        QByteArray sent;
    } cases[] = {{"Kenwood", "FA00007010000;"}, {"none", ""}, {"NONE", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rigType);
        MainWindowFixture f(1);
        testing_support::RadioEmulator emu(testing_support::RadioEmulator::Protocol::Kenwood);
        emu.MapAsPort(f.t.work(), 3);
        testing_support::TestProgram::WriteLines(
            f.t.workFile("RigCntrl.txt"),
            {"\"4800 \"", "\"N\"", "\"8\"", "\"2\"", "\"MD;\"", "\"FA;\"", "\"4800,N,8,2\"", "3", "\"N\"",
             "\"R\"", "\"Kenwood\"", "0", "1", "1"});
        f.program().station.RigType = "Kenwood";
        f.WriteLog("");
        mainwindow::MainWindow& w = f.Load();
        ASSERT_EQ(emu.Pump(), "FA;MD;");  // the load's rig test polls it
        ASSERT_TRUE(f.program().rigControlfrm().engine().Polling());
        f.program().station.RigType = c.rigType;
        f.t.dialogs.shown.clear();  // the load's question

        w.spotPanel().PacketResize(QStringLiteral("Telnet"), true);  // the spot list
        w.show();
        Post(f.program(), "K9ZZZ", "14025", "de N0CALL:    14025.0  K9ZZZ");
        Post(f.program(), "DL1AB", "7010", "de N0CALL:     7010.0  DL1AB");
        QTreeWidgetItem* row = w.txtDX->topLevelItem(0);
        QTest::mouseClick(w.txtDX->viewport(), Qt::LeftButton, {},
                          w.txtDX->visualItemRect(row).center());
        EXPECT_EQ(emu.Pump(100), c.sent);
        EXPECT_EQ(w.entry().txtCall->text(), "DL1AB");
        EXPECT_TRUE(f.t.dialogs.shown.empty());
    }
}

TEST(SpotIntake, AClickAnywhereOnTheSpotListPutsTheFocusInTheCallBox) {
    // The operator clicks the list shown on the main window: on a row, below
    // the rows, or on the list while it has none. Every click ends with the
    // focus in the call box; a row's call goes into it, and a click below the
    // rows takes the row chosen last, if any.
    const struct {
        const char* name;
        int spots;
        int rowClickedFirst;  // -1: none
        bool clickOnRow;      // else below the rows
        const char* call;
    } cases[] = {
        {"empty list", 0, -1, false, "K1"},
        {"below the rows, none chosen", 1, -1, false, "K1"},
        {"on a row", 2, -1, true, "K9ZZZ"},
        {"below the rows after a row", 1, 0, false, "K9ZZZ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowFixture f(0);
        f.WriteLog("");
        mainwindow::MainWindow& w = f.Load();
        w.spotPanel().PacketResize(QStringLiteral("Telnet"), true);  // the spot list
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        const char* calls[] = {"K9ZZZ", "DL1AB"};
        for (int i = 0; i < c.spots; ++i)
            Post(f.program(), calls[i], "14025", QStringLiteral("de N0CALL:    14025.0  ") + calls[i]);
        ASSERT_EQ(w.txtDX->topLevelItemCount(), c.spots);
        QWidget* viewport = w.txtDX->viewport();
        if (c.rowClickedFirst >= 0) {
            QTreeWidgetItem* row = w.txtDX->topLevelItem(c.rowClickedFirst);
            QTest::mouseClick(viewport, Qt::LeftButton, {}, w.txtDX->visualItemRect(row).center());
        }
        w.entry().txtCall->setText("K1");
        QPoint at(viewport->width() / 2, 4);
        if (c.spots > 0) {
            const QRect last = w.txtDX->visualItemRect(w.txtDX->topLevelItem(c.spots - 1));
            at = c.clickOnRow ? last.center() : QPoint(last.center().x(), last.bottom() + 4);
        }
        ASSERT_TRUE(viewport->rect().contains(at));
        ASSERT_EQ(w.txtDX->itemAt(at) != nullptr, c.clickOnRow);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        EXPECT_EQ(QApplication::focusWidget(), w.entry().txtCall);
        EXPECT_EQ(w.entry().txtCall->text(), c.call);
    }
}

}  // namespace

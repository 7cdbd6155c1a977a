// The tune panel as the operator uses it: the bytes its band, step, Go and
// mode buttons put on the wire to a Kenwood on a pseudo-terminal, the step
// buttons following the frequency box, the box's key filter, the scan
// driven tick by tick (its wrap at To, and a 10 Hz step that keeps moving
// far above 256 MHz), and Ctrl+G of the main window.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "mainwindow/main_window.h"
#include "rig/polled_rig.h"
#include "rig/radio_emulator.h"
#include "rig/rig_codec.h"
#include "rig/rig_control_frm.h"
#include "rig/rig_tune_frm.h"
#include "support/main_window_fixture.h"
#include "support/qstring_printer.h"
#include "support/test_program.h"

using rig::frmRigTune;
using testing_support::MainWindowFixture;
using testing_support::RadioEmulator;
using testing_support::TestProgram;

namespace {

// A Kenwood polled on a pseudo-terminal.
struct PolledKenwood : testing_support::PolledRig {
    PolledKenwood() : PolledRig(RadioEmulator::Protocol::Kenwood, "Kenwood") {}
};

}  // namespace

TEST(frmRigTune, OpensInItsDesignState) {
    TestProgram t;
    frmRigTune p(t.program());
    EXPECT_EQ(p.windowTitle(), " Change Frequency and Mode (Ctrl G (Go))");
    EXPECT_TRUE(p.windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(p.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(p.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(p.txtFreq->text(), "");
    EXPECT_EQ(p.focusWidget(), p.txtFreq);
    EXPECT_EQ(p.txtFrom->text(), "1.8");
    EXPECT_EQ(p.txtTo->text(), "54");
    EXPECT_FALSE(p.chkScan->isChecked());
    EXPECT_TRUE(p.Option4->isChecked());
    EXPECT_EQ(p.Option4->text(), "10 Hz");
    EXPECT_TRUE(p.Timer1->isActive());
    EXPECT_EQ(p.Timer1->interval(), 299);
    QStringList bands;
    for (QPushButton* b : p.cmdBand) bands << b->text();
    EXPECT_EQ(bands.join(' '), "160 80 60 40 30 20 17 15 12 10 6 2 1.25 70 33 23");
    for (QPushButton* step : p.cmdTune) EXPECT_FALSE(step->isEnabled());
    EXPECT_EQ(p.cmdTune[2]->text(), "1 MHz");
    EXPECT_EQ(p.cmdTune[1]->text(), "10 Hz");
}

TEST(frmRigTune, BandButtonsTuneTheRadioToTheirFrequency) {
    PolledKenwood k;
    frmRigTune p(k.t.program());
    const struct {
        int index;
        const char* box;
        const char* sent;
    } cases[] = {
        {0, "1.9", "FA00001900000;"},
        {2, "5.368", "FA00005368000;"},
        {5, "14.175", "FA00014175000;"},
        {10, "52", "FA00052000000;"},
        {12, "223.5", "FA00223500000;"},
        {15, "1270", "FA01270000000;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        p.cmdBand[std::size_t(c.index)]->click();
        EXPECT_EQ(p.txtFreq->text(), c.box);
        EXPECT_EQ(k.emu.Pump(), c.sent);
    }
    EXPECT_TRUE(k.rigWindow().engine().Polling());
    EXPECT_TRUE(k.t.dialogs.shown.empty());
}

TEST(frmRigTune, StepButtonsFollowTheBoxAndStepTheRadio) {
    PolledKenwood k;
    frmRigTune p(k.t.program());
    p.show();

    QTest::keyClicks(p.txtFreq, "14.025");
    for (QPushButton* step : p.cmdTune) EXPECT_TRUE(step->isEnabled());
    p.txtFreq->clear();
    for (QPushButton* step : p.cmdTune) EXPECT_FALSE(step->isEnabled());
    // "/" can be typed, but makes no number: nothing is enabled or sent.
    QTest::keyClicks(p.txtFreq, "14/025");
    EXPECT_EQ(p.txtFreq->text(), "14/025");
    EXPECT_FALSE(p.cmdTune[6]->isEnabled());
    p.Command1->click();
    EXPECT_EQ(k.emu.Pump(50), "");

    p.txtFreq->setText("14.025");
    p.cmdTune[6]->click();  // up 1 KHz
    EXPECT_EQ(p.txtFreq->text(), "14.026");
    EXPECT_EQ(k.emu.Pump(), "FA00014026000;");
    EXPECT_EQ(p.focusWidget(), p.cmdDone);
    p.cmdTune[3]->click();  // down 1 MHz
    EXPECT_EQ(p.txtFreq->text(), "13.026");
    EXPECT_EQ(k.emu.Pump(), "FA00013026000;");
    p.cmdTune[0]->click();  // up 10 Hz
    EXPECT_EQ(p.txtFreq->text(), "13.02601");
    EXPECT_EQ(k.emu.Pump(), "FA00013026010;");

    // The focus is on Done, so the next Enter closes the panel.
    QTest::keyClick(p.cmdDone, Qt::Key_Return);
    EXPECT_FALSE(p.isVisible());
}

TEST(frmRigTune, EnterInTheBoxTunesAndOnlyFrequencyCharactersAreTyped) {
    PolledKenwood k;
    frmRigTune p(k.t.program());
    p.show();
    QTest::keyClicks(p.txtFreq, "7a.0-2 5,");
    EXPECT_EQ(p.txtFreq->text(), "7.025");
    QTest::keyClick(p.txtFreq, Qt::Key_Return);
    EXPECT_EQ(k.emu.Pump(), "FA00007025000;");
    EXPECT_EQ(p.txtFreq->text(), "7.025");
    EXPECT_EQ(p.txtFreq->cursorPosition(), 5);
    EXPECT_TRUE(p.isVisible());
    QTest::keyClicks(p.txtTo, "x9");
    EXPECT_EQ(p.txtTo->text(), "549");
}

TEST(frmRigTune, AnAbsurdFrequencyTypedInTheBoxPutsNothingOnTheWire) {
    PolledKenwood k;
    frmRigTune p(k.t.program());
    p.show();
    // 9.3e12 MHz and up would overflow whole Hz into a negative number.
    for (const char* typed : {"10000000000000", "9300000000000"}) {
        p.txtFreq->clear();
        QTest::keyClicks(p.txtFreq, typed);
        QTest::keyClick(p.txtFreq, Qt::Key_Return);
        EXPECT_EQ(k.emu.Pump(50), "") << typed;
    }
    EXPECT_TRUE(k.rigWindow().engine().Polling());
    EXPECT_TRUE(k.t.dialogs.shown.empty());
}

TEST(frmRigTune, ModeButtonsSendTheirModeWithAnEmptyBox) {
    PolledKenwood k;
    frmRigTune p(k.t.program());
    const std::pair<QPushButton*, const char*> cases[] = {
        {p.cmdUSB, "MD2;"}, {p.cmdLSB, "MD1;"}, {p.cmdCW, "MD3;"}, {p.cmdFM, "MD4;"}, {p.cmdAM, "MD5;"},
    };
    for (const auto& [button, sent] : cases) {
        SCOPED_TRACE(sent);
        button->click();
        EXPECT_EQ(k.emu.Pump(), sent);
        EXPECT_EQ(p.focusWidget(), p.cmdDone);
    }
    EXPECT_EQ(p.txtFreq->text(), "");
}

TEST(frmRigTune, TheScanWrapsToFromAboveTo) {
    PolledKenwood k;
    frmRigTune p(k.t.program());
    p.txtFreq->setText("53.99999");
    p.Timer1_Timer();  // not ticked: nothing moves
    EXPECT_EQ(p.txtFreq->text(), "53.99999");
    p.chkScan->click();
    EXPECT_EQ(p.focusWidget(), p.Command1);
    p.Timer1_Timer();
    EXPECT_EQ(p.txtFreq->text(), "54.");  // equal to To does not wrap
    EXPECT_EQ(k.emu.Pump(), "FA00054000000;");
    p.Timer1_Timer();
    EXPECT_EQ(p.txtFreq->text(), "1.8");
    EXPECT_EQ(k.emu.Pump(), "FA00001800000;");
    p.Timer1_Timer();
    EXPECT_EQ(p.txtFreq->text(), "1.80001");
    EXPECT_EQ(k.emu.Pump(), "FA00001800010;");

    // The larger steps.
    p.Option5->click();
    p.Timer1_Timer();
    EXPECT_EQ(p.txtFreq->text(), "1.80251");
    p.Option3->click();
    p.Timer1_Timer();
    EXPECT_EQ(p.txtFreq->text(), "1.80254");
}

TEST(frmRigTune, ScanTicksOnTheBoxesAsTheyStand) {
    TestProgram t;
    t->station.RigType = "None";
    frmRigTune p(t.program());
    const struct {
        const char* from;
        const char* to;
        const char* box;
        const char* after;
    } cases[] = {
        // From above To: once past To, every tick goes to From.
        {"60", "54", "55", "60."},
        {"60", "54", "60.", "60."},
        // Below From: upward from where it is.
        {"1.8", "54", ".5", ".50001"},
        // Far above 256 MHz the 10 Hz step still moves the dial.
        {"400", "450", "432.1", "432.10001"},
        {"1240", "1300", "1296.2", "1296.20001"},
        // A box, From or To that is no number: nothing happens.
        {"1.8", "54", "14/025", "14/025"},
        {"x", "54", "14", "14"},
        {"1.8", "", "14", "14"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        p.chkScan->setChecked(true);
        p.txtFrom->setText(c.from);
        p.txtTo->setText(c.to);
        p.txtFreq->setText(c.box);
        p.Timer1_Timer();
        EXPECT_EQ(p.txtFreq->text(), c.after);
        p.chkScan->setChecked(false);
    }
    // With no rig the box still moves every tick; nothing reaches a rig window.
    p.txtFrom->setText("1.8");
    p.txtTo->setText("54");
    p.txtFreq->setText("432.1");
    p.txtTo->setText("1300");
    p.chkScan->setChecked(true);
    for (int i = 0; i < 3; ++i) p.Timer1_Timer();
    EXPECT_EQ(p.txtFreq->text(), "432.10003");
    EXPECT_FALSE(t->RigControlfrmLoaded());
    EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(frmRigTune, ScanStartsFromFromAndAnyKeyEndsIt) {
    TestProgram t;
    t->station.RigType = "None";
    frmRigTune p(t.program());
    p.show();
    p.txtFrom->setText("3.5");
    p.chkScan->click();
    EXPECT_EQ(p.txtFreq->text(), "3.5");
    p.Timer1_Timer();
    EXPECT_EQ(p.txtFreq->text(), "3.50001");

    // A key typed anywhere in the panel unticks Scan; the key still types.
    p.txtFreq->setFocus();
    QTest::keyClick(p.txtFreq, Qt::Key_7);
    EXPECT_FALSE(p.chkScan->isChecked());
    EXPECT_EQ(p.txtFreq->text(), "3.500017");
    p.Timer1_Timer();
    EXPECT_EQ(p.txtFreq->text(), "3.500017");
    // Ticking Scan with a number in the box keeps the box.
    p.chkScan->click();
    EXPECT_EQ(p.txtFreq->text(), "3.500017");
    QTest::keyClick(p.Command1, Qt::Key_A);
    EXPECT_FALSE(p.chkScan->isChecked());
}

TEST(frmRigTune, ANumberBeyondSinglePrecisionIsRefusedAndThePanelStaysUsable) {
    PolledKenwood k;
    frmRigTune p(k.t.program());
    p.txtFreq->setText(QString(40, '9'));
    p.Command1->click();
    p.chkScan->setChecked(true);
    p.Timer1_Timer();
    EXPECT_EQ(k.emu.Pump(50), "");
    EXPECT_TRUE(k.t.dialogs.shown.empty());
    p.chkScan->setChecked(false);
    p.cmdBand[7]->click();
    EXPECT_EQ(k.emu.Pump(), "FA00021225000;");
}

TEST(frmRigTune, CtrlGShowsThePanelModallyAndUnloadsItWhenDone) {
    MainWindowFixture f(1);
    f.program().station.RigType = "None";
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        QPointer<frmRigTune> shown;
        bool operated = false;
        // The key reaches the window after the events queued before it have
        // run: look for the panel until it is up.
        QTimer watch;
        watch.setInterval(5);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            shown = qobject_cast<frmRigTune*>(QApplication::activeModalWidget());
            if (!shown) return;
            watch.stop();
            operated = true;
            EXPECT_EQ(shown->txtFreq->text(), "");
            shown->txtFreq->setText("14.2");
            shown->cmdDone->click();
        });
        watch.start();
        QTest::keyClick(w.windowHandle(), Qt::Key_G, Qt::ControlModifier);
        EXPECT_TRUE(operated);
        EXPECT_TRUE(shown.isNull());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_EQ(w.entry().txtCall->text(), "");
}

TEST(frmRigTune, BoxTextHelpers) {
    EXPECT_EQ(rig::ScanText(54000000), "54.");
    EXPECT_EQ(rig::ScanText(500000), ".5");
    EXPECT_EQ(rig::ScanText(14025010), "14.02501");
    EXPECT_EQ(rig::ScanText(14025004), "14.025");
    EXPECT_EQ(rig::ScanText(14025005), "14.02501");
    EXPECT_EQ(rig::ScanText(1296200010), "1296.20001");
    EXPECT_EQ(rig::ShortestText(14.025 + 0.001), "14.026");
    EXPECT_EQ(rig::ShortestText(1270), "1270");
    EXPECT_EQ(rig::BoxHz(" 54. "), 54000000);
    EXPECT_EQ(rig::BoxHz("."), std::nullopt);
    EXPECT_EQ(rig::BoxSingle(QString(39, '9')), std::nullopt);
}

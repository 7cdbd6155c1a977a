// The rig interface dialog as the operator uses it: the main window
// following a Kenwood on a pseudo-terminal, RigCntrl.txt after Done, the
// messages of a port that is missing and of a test without polling, the
// Pegasus files, and the end of the rig link when the program ends.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "mainwindow/main_window.h"
#include "rig/polled_rig.h"
#include "rig/radio_emulator.h"
#include "rig/rig_codec.h"
#include "rig/rig_control_frm.h"
#include "support/fake_serial_port.h"
#include "support/main_window_fixture.h"
#include "support/qstring_printer.h"
#include "support/test_program.h"

using testing_support::FakeSerialPort;
using testing_support::MainWindowFixture;
using testing_support::PolledRig;
using testing_support::RadioEmulator;
using testing_support::TestProgram;

namespace {

void ChooseRig(rig::RigControlfrm& w, const QString& rigType) {
    w.List1->setCurrentRow(int(rig::RigTypeNames().indexOf(rigType)));
}

// The program makes its serial ports on an in-process port.
void UseFakePorts(TestProgram& t, FakeSerialPort::State& state) {
    t->serialPortFactory = [&state] { return std::make_unique<FakeSerialPort>(state); };
}

// The dialog shown, polling a Kenwood on an in-process port after Test.
struct PollingKenwood {
    PollingKenwood() : w((UseFakePorts(t, port), t->rigControlfrm())) {
        w.show();
        ChooseRig(w, "Kenwood");
        w.Command1->click();
    }
    // The port's state first: it outlives the program, whose rig window
    // closes the port on its way out.
    FakeSerialPort::State port;
    TestProgram t;
    rig::RigControlfrm& w;
};

QStringList Lines(const QByteArray& bytes) { return QString::fromLatin1(bytes).split(QStringLiteral("\r\n")); }

}  // namespace

TEST(RigControlfrm, TheMainWindowFollowsAKenwoodFromItsLoad) {
    MainWindowFixture f(1);
    RadioEmulator emu(RadioEmulator::Protocol::Kenwood);
    emu.MapAsPort(f.t.work(), 3);
    emu.frequencyHz = 14025000;
    emu.mode = 3;
    // Polled every 10 s, so that only the test's own ticks run.
    TestProgram::WriteLines(f.t.workFile("RigCntrl.txt"),
                            {"\"4800 \"", "\"N\"", "\"8\"", "\"2\"", "\"MD;\"", "\"FA;\"", "\"4800,N,8,2\"", "3", "\"N\"",
                             "\"R\"", "\"Kenwood\"", "0", "1", "1"});
    f.program().station.RigType = "Kenwood";
    f.WriteLog("");
    mainwindow::MainWindow& w = f.Load();

    // The load's rig test has sent the first poll.
    ASSERT_TRUE(f.program().RigControlfrmLoaded());
    rig::RigControlfrm& rigWindow = f.program().rigControlfrm();
    EXPECT_EQ(emu.Pump(), "FA;MD;");
    EXPECT_TRUE(rigWindow.engine().Polling());
    EXPECT_EQ(rigWindow.engine().PollIntervalMs(), 5000);
    EXPECT_FALSE(rigWindow.isVisible());

    w.mnuRigInterface_Click();
    EXPECT_TRUE(rigWindow.isVisible());
    EXPECT_TRUE(rigWindow.Label2->isVisible());
    rigWindow.engine().tmrGetData_Timer();  // the read tick
    EXPECT_EQ(rigWindow.lblFreq->text(), "14.02500");
    EXPECT_EQ(rigWindow.lblMode->text(), "CW");
    EXPECT_EQ(rigWindow.lblUnProcess->text(), "FA00014025000;MD3;");
    EXPECT_EQ(w.Label24->text(), "20");
    EXPECT_EQ(f.program().station.CurrentBand, "20");
    EXPECT_EQ(Lines(TestProgram::ReadFile(f.t.workFile("QSOpref.txt"))).value(9), "\"20\"");
    EXPECT_EQ(f.program().entry.RigFrequencyText, "14.025");

    // The next poll, and a change of the radio's dial.
    rigWindow.engine().tmrGetData_Timer();
    EXPECT_EQ(emu.Pump(), "FA;MD;");
    emu.frequencyHz = 7025000;
    rigWindow.engine().tmrGetData_Timer();
    rigWindow.engine().tmrGetData_Timer();
    emu.Pump();
    rigWindow.engine().tmrGetData_Timer();
    EXPECT_EQ(w.Label24->text(), "40");
}

TEST(RigControlfrm, DoneWritesRigCntrlForAKenwoodAndAnIcomAndLoadsItBack) {
    struct Case {
        const char* rigType;
        int port;
        QStringList lines;
        QByteArray firstPoll;
    };
    const Case cases[] = {
        {"Kenwood", 3,
         {"\"4800 \"", "\"N\"", "\"8\"", "\"2\"", "\"MD;\"", "\"FA;\"", "\"4800,N,8,2\"", "3", "\"N\"", "\"M\"",
          "\"Kenwood\"", "0", "1", "1", ""},
         "FA;MD;"},
        {"Icom", 2,
         {"\"1200 \"", "\"N\"", "\"8\"", "\"1\"", "\"FE FE 64 E0 04 FD\"", "\"FE FE 64 E0 03 FD\"", "\"1200,N,8,1\"",
          "2", "\"N\"", "\"M\"", "\"Icom\"", "1", "1", "1", ""},
         rig::SpacedHexToBytes("FE FE 64 E0 03 FD")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rigType);
        FakeSerialPort::State port;
        TestProgram t;
        UseFakePorts(t, port);
        t->station.RigType = "None";
        rig::RigControlfrm& w = t->rigControlfrm();
        w.show();
        ChooseRig(w, c.rigType);
        EXPECT_EQ(w.Label10->isVisible(), QString(c.rigType) == "Icom");
        w.optComm[std::size_t(c.port - 1)]->click();
        w.cmdDone->click();
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(Lines(TestProgram::ReadFile(t.workFile("RigCntrl.txt"))), c.lines);
        EXPECT_EQ(port.written, c.firstPoll);
        EXPECT_EQ(port.settings, c.lines[6].mid(1, c.lines[6].size() - 2));
        EXPECT_EQ(port.port, c.port);
        // QSOpref.txt records the rig.
        EXPECT_EQ(Lines(TestProgram::ReadFile(t.workFile("QSOpref.txt"))).value(22), "\"" + QString(c.rigType) + "\"");

        // A later run loads the same set-up into the dialog.
        t->UnloadRigControlfrm();
        QCoreApplication::processEvents();
        rig::RigControlfrm& again = t->rigControlfrm();
        EXPECT_EQ(again.List1->currentItem()->text(), c.rigType);
        EXPECT_TRUE(again.optComm[std::size_t(c.port - 1)]->isChecked());
        EXPECT_EQ(again.txtFreq->text(), c.lines[5].mid(1, c.lines[5].size() - 2));
        EXPECT_EQ(again.chkConvToHex->isChecked(), QString(c.rigType) == "Icom");
        EXPECT_EQ(again.Label10->isHidden(), QString(c.rigType) != "Icom");
    }
}

TEST(RigControlfrm, APortThatDoesNotExistShowsInvalidCommSettingsAndNoPolling) {
    TestProgram t;
    TestProgram::WriteLines(t.workFile("Ports.txt"), {"COM1=/dev/nonexistent-rig-port"});
    rig::RigControlfrm& w = t->rigControlfrm();
    w.show();
    ChooseRig(w, "Kenwood");
    EXPECT_EQ(w.optComm[0]->toolTip(), "COM1 is /dev/nonexistent-rig-port");
    w.Command1->click();
    EXPECT_EQ(t.dialogs.titles(), std::vector<QString>{"Invalid Comm Settings."});
    EXPECT_FALSE(w.engine().Polling());
    EXPECT_FALSE(w.Label2->isVisible());
    EXPECT_FALSE(w.Command2->isEnabled());
}

TEST(RigControlfrm, APollStringThatCannotBeSentStopsTheTestWithOneWord) {
    FakeSerialPort::State port;
    TestProgram t;
    UseFakePorts(t, port);
    rig::RigControlfrm& w = t->rigControlfrm();
    w.show();
    ChooseRig(w, "Ten Tec Fnt Pnl");
    w.txtFreq->setText("3F 4G 0D");
    w.Command1->click();
    ASSERT_EQ(t.dialogs.titles(), std::vector<QString>{"Polling Rig Stopped"});
    EXPECT_EQ(t.dialogs.shown[0].text, "The poll string \"3F 4G 0D\" is not hexadecimal byte pairs.");
    EXPECT_FALSE(w.engine().Polling());
    EXPECT_FALSE(w.Label2->isVisible());
    EXPECT_FALSE(w.Command2->isEnabled());
    EXPECT_EQ(port.written, QByteArray());
    // The same string ending in a lone digit is polled.
    w.txtFreq->setText("3F 41 D");
    w.Command1->click();
    EXPECT_TRUE(w.engine().Polling());
    EXPECT_TRUE(w.Label2->isVisible());
    EXPECT_EQ(port.written, rig::SpacedHexToBytes("3F 41 0D"));
    EXPECT_EQ(t.dialogs.shown.size(), 1u);
}

TEST(RigControlfrm, ABytePollTypedWithoutBlanksStopsTheTestWithOneWord) {
    struct Case {
        const char* rigType;
        RadioEmulator::Protocol protocol;
        const char* unspaced;
        const char* spaced;
        QByteArray openBytes;  // CAT on
    };
    const Case cases[] = {
        {"Ten Tec Fnt Pnl", RadioEmulator::Protocol::TenTecPanel, "3F410D", "3F 41 0D", ""},
        {"Icom", RadioEmulator::Protocol::Civ, "FEFE64E003FD", "FE FE 64 E0 03 FD", ""},
        {"Yaesu", RadioEmulator::Protocol::Yaesu5, "0000000003", "00 00 00 00 03", QByteArray(5, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rigType);
        TestProgram t;
        RadioEmulator emu(c.protocol);
        emu.MapAsPort(t.work(), 3);
        rig::RigControlfrm& w = t->rigControlfrm();
        w.show();
        ChooseRig(w, c.rigType);
        w.optComm[2]->click();
        w.optReallySlow->click();
        w.txtFreq->setText(c.unspaced);
        w.Command1->click();
        ASSERT_EQ(t.dialogs.titles(), std::vector<QString>{"Polling Rig Stopped"});
        EXPECT_EQ(t.dialogs.shown[0].text,
                  "The poll string \"" + QString(c.unspaced) + "\" is not hexadecimal byte pairs.");
        EXPECT_FALSE(w.engine().Polling());
        EXPECT_FALSE(w.Label2->isVisible());
        EXPECT_FALSE(w.Command2->isEnabled());
        EXPECT_EQ(emu.Pump(50), c.openBytes);
        // Typed with its blanks, the same string is polled.
        w.txtFreq->setText(c.spaced);
        w.Command1->click();
        EXPECT_TRUE(w.engine().Polling());
        EXPECT_TRUE(w.Label2->isVisible());
        EXPECT_EQ(emu.Pump(), c.openBytes + rig::SpacedHexToBytes(c.spaced));
        EXPECT_EQ(t.dialogs.shown.size(), 1u);
    }
}

// A frequency change that fails leaves polling off: the dialog says so, not
// "Polling Rig", and Test starts it again.
TEST(RigControlfrm, AFailedFrequencyChangeShowsPollingStopped) {
    {
        SCOPED_TRACE("adapter pulled out during the change");
        PolledRig rig(RadioEmulator::Protocol::Kenwood, "Kenwood");
        rig::RigControlfrm& w = rig.rigWindow();
        ASSERT_TRUE(w.Label2->isVisible());
        rig.t.clock.duringPause = [&rig] { rig.emu.Hangup(); };
        w.ChangeFrequency(14.025f);
        ASSERT_EQ(rig.t.dialogs.titles(), std::vector<QString>{"Error Changing Frequency"});
        EXPECT_FALSE(w.engine().Polling());
        EXPECT_FALSE(w.Label2->isVisible());
        EXPECT_FALSE(w.Command2->isEnabled());
    }
    {
        SCOPED_TRACE("port closed before the change");
        PollingKenwood k;
        rig::RigControlfrm& w = k.w;
        ASSERT_TRUE(w.Label2->isVisible());
        k.port.open = false;
        w.ChangeFrequency(14.025f);
        ASSERT_EQ(k.t.dialogs.titles(), std::vector<QString>{"Error Changing Frequency"});
        EXPECT_FALSE(w.engine().Polling());
        EXPECT_FALSE(w.Label2->isVisible());
        EXPECT_FALSE(w.Command2->isEnabled());
        // Test again: polling, and a spot's frequency tunes the radio.
        w.Command1->click();
        EXPECT_TRUE(w.engine().Polling());
        EXPECT_TRUE(w.Label2->isVisible());
        k.port.written.clear();
        w.ChangeFrequency(14.025f);
        EXPECT_EQ(k.port.written, "FA00014025000;");
        EXPECT_TRUE(w.engine().Polling());
    }
}

TEST(RigControlfrm, ATestThatCannotReopenThePortLeavesPollingOff) {
    PollingKenwood k;
    TestProgram& t = k.t;
    FakeSerialPort::State& port = k.port;
    rig::RigControlfrm& w = k.w;
    ASSERT_TRUE(w.engine().Polling());
    port.refuseOpen = true;
    w.Command1->click();
    EXPECT_EQ(t.dialogs.titles(), std::vector<QString>{"Invalid Comm Settings."});
    EXPECT_FALSE(w.engine().Polling());
    EXPECT_FALSE(w.Label2->isVisible());
}

TEST(RigControlfrm, ChangeFrequencyAsksForPollingFirst) {
    TestProgram t;
    rig::RigControlfrm& w = t->rigControlfrm();
    w.Command3->click();
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].title, "You must be polling your rig to test this function.");
    EXPECT_EQ(t.dialogs.shown[0].text,
              "You must be polling your rig to test this function.  Please select your rig type and click the Test "
              "command button.");
}

TEST(RigControlfrm, ASettingsFileThatCannotBeWrittenKeepsTheDialogOpen) {
    TestProgram t;
    QDir(t.work()).mkdir("RigCntrl.txt");  // a folder in the file's place
    rig::RigControlfrm& w = t->rigControlfrm();
    w.show();
    w.cmdDone->click();
    EXPECT_EQ(t.dialogs.titles(), std::vector<QString>{"Unable to write file."});
    EXPECT_TRUE(w.isVisible());
}

TEST(RigControlfrm, PollBoxesRefuseADoubleQuoteAndStopPollingWhenEntered) {
    PollingKenwood k;
    FakeSerialPort::State& port = k.port;
    rig::RigControlfrm& w = k.w;
    ASSERT_TRUE(w.engine().Polling());
    w.txtFreq->setFocus();
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.engine().Polling());
    EXPECT_FALSE(port.open);
    w.txtFreq->clear();
    QTest::keyClicks(w.txtFreq, "F\"B;");
    EXPECT_EQ(w.txtFreq->text(), "FB;");
    EXPECT_EQ(w.engine().settings.FreqPollString, "FB;");
}

TEST(RigControlfrm, ExitStillTakesAYaesuOutOfCatAndClosesThePort) {
    FakeSerialPort::State port;
    MainWindowFixture f(1);
    UseFakePorts(f.t, port);
    TestProgram::WriteLines(f.t.workFile("RigCntrl.txt"),
                            {"\"4800 \"", "\"N\"", "\"8\"", "\"2\"", "\"\"", "\"00 00 00 00 03\"", "\"4800,N,8,2\"",
                             "1", "\"N\"", "\"R\"", "\"Yaesu\"", "1", "1", "1"});
    f.program().station.RigType = "Yaesu";
    f.WriteLog("");
    f.Load();
    ASSERT_TRUE(port.open);
    EXPECT_EQ(port.written, rig::SpacedHexToBytes("00 00 00 00 00 00 00 00 00 03"));
    f.window().mnuExit_Click();
    EXPECT_TRUE(port.written.endsWith(rig::SpacedHexToBytes("00 00 00 00 80")));
    EXPECT_FALSE(port.open);
}

TEST(RigControlfrm, APegasusIsReadAndTunedThroughItsFiles) {
    TestProgram t;
    const QString pegasus = t.root() + "/Pegasus";
    QDir().mkpath(pegasus);
    TestProgram::WriteLines(t.workFile("Ports.txt"), {"PEGASUS=" + pegasus});
    TestProgram::WriteLines(pegasus + "/pegasus.out", {"7.04", "USB"});
    rig::RigControlfrm& w = t->rigControlfrm();
    w.show();
    ChooseRig(w, "Ten Tec Pegasus");
    w.Command1->click();
    EXPECT_TRUE(w.engine().Polling());
    w.engine().tmrGetData_Timer();
    EXPECT_EQ(w.lblFreq->text(), "7.04000");
    EXPECT_EQ(w.lblMode->text(), "PH");
    w.ChangeFrequency(14.025f);
    EXPECT_EQ(TestProgram::ReadFile(pegasus + "/PEGASUS.IN"), "14.025\r\nPH\r\n");
    EXPECT_TRUE(w.engine().Polling());
    EXPECT_TRUE(t.dialogs.shown.empty());
}

// The raw command test over a pseudo-terminal: the rig window's "Change
// Frequency" opens it only while polling, its raw "Send" writes exactly the
// text or hex it was given, the radio's answer comes back through the poll,
// and its frequency "Send" tunes through the rig family's command.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "rig/frequency_test_frm.h"
#include "rig/polled_rig.h"
#include "rig/radio_emulator.h"
#include "rig/rig_codec.h"
#include "rig/rig_control_frm.h"
#include "support/qstring_printer.h"
#include "support/test_program.h"

using rig::frmFrequencyTest;
using testing_support::PolledRig;
using testing_support::RadioEmulator;
using testing_support::TestProgram;

namespace {

QByteArray hex(const char* spaced) { return rig::SpacedHexToBytes(QString::fromLatin1(spaced)); }

}  // namespace

TEST(frmFrequencyTest, ChangeFrequencyOpensItModallyOnlyWhilePolling) {
    PolledRig k(RadioEmulator::Protocol::Kenwood, "Kenwood");
    rig::RigControlfrm& w = k.rigWindow();
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        QPointer<frmFrequencyTest> shown;
        bool operated = false;
        QObject pending;
        QTimer::singleShot(0, &pending, [&] {
            shown = qobject_cast<frmFrequencyTest*>(QApplication::activeModalWidget());
            if (!shown) return;
            operated = true;
            EXPECT_EQ(shown->windowTitle(), "Test Change Frequency Function");
            EXPECT_EQ(shown->Text1->text(), "FA00028475000;");
            EXPECT_EQ(shown->Text2->text(), "28.475");
            EXPECT_FALSE(shown->Check1->isChecked());
            shown->Text2->setText("7.1");
            shown->close();
        });
        w.Command3->click();
        EXPECT_TRUE(operated);
        EXPECT_TRUE(shown.isNull());
    }
    EXPECT_TRUE(k.t.dialogs.shown.empty());

    // Not polling: the box, and no dialog.
    w.Command2->click();
    QObject pending;
    bool dialogShown = false;
    QTimer::singleShot(0, &pending, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            dialogShown = true;
            modal->close();
        }
    });
    w.Command3->click();
    EXPECT_FALSE(dialogShown);
    ASSERT_EQ(k.t.dialogs.shown.size(), 1u);
    EXPECT_EQ(k.t.dialogs.shown[0].title, "You must be polling your rig to test this function.");
    EXPECT_EQ(k.t.dialogs.shown[0].text,
              "You must be polling your rig to test this function.  Please select your rig type and click the Test "
              "command button.");
    EXPECT_EQ(k.t.dialogs.shown[0].style, platform::vbInformation);
}

TEST(frmFrequencyTest, TheDefaultCommandTunesAKenwoodAndThePollReportsIt) {
    PolledRig k(RadioEmulator::Protocol::Kenwood, "Kenwood");
    rig::RigControlfrm& w = k.rigWindow();
    frmFrequencyTest d(k.t.program());
    d.Command1->click();
    EXPECT_EQ(k.emu.Pump(), "FA00028475000;");
    EXPECT_EQ(k.emu.frequencyHz.load(), 28475000);
    // The poll goes on meanwhile; its next cycles show the new frequency.
    EXPECT_TRUE(w.engine().Polling());
    w.engine().tmrGetData_Timer();  // reads the answer to the first poll
    w.engine().tmrGetData_Timer();
    EXPECT_EQ(k.emu.Pump(), "FA;MD;");
    w.engine().tmrGetData_Timer();
    EXPECT_EQ(w.lblFreq->text(), "28.47500");
    EXPECT_EQ(w.lblUnProcess->text(), "FA00028475000;MD3;");

    // Blanks around the command are not sent.
    d.Text1->setText("  FA00007025000;  ");
    d.Command1->click();
    EXPECT_EQ(k.emu.Pump(), "FA00007025000;");
}

TEST(frmFrequencyTest, HexIsWrittenAsItsBytesAndTextAsItsCharacters) {
    PolledRig k(RadioEmulator::Protocol::Civ, "Icom");
    frmFrequencyTest d(k.t.program());
    const QString command = "FE FE 64 E0 05 00 50 47 28 00 FD";
    d.Text1->setText(command);
    d.Check1->setChecked(true);
    d.Command1->click();
    EXPECT_EQ(k.emu.Pump(), hex("FE FE 64 E0 05 00 50 47 28 00 FD"));
    EXPECT_EQ(k.emu.frequencyHz.load(), 28475000);

    d.Check1->setChecked(false);
    d.Command1->click();
    const QByteArray text = k.emu.Pump();
    EXPECT_EQ(text, command.toLatin1());
    EXPECT_EQ(text.size(), 32);

    // A pair that is not hex makes no command: nothing is written.
    d.Check1->setChecked(true);
    d.Text1->setText("FE FE 6G E0");
    d.Command1->click();
    EXPECT_EQ(k.emu.Pump(50), "");
    EXPECT_TRUE(k.t.dialogs.shown.empty());
}

TEST(frmFrequencyTest, TheFrequencySendTunesThroughTheFamilysCommand) {
    PolledRig k(RadioEmulator::Protocol::Kenwood, "Kenwood");
    frmFrequencyTest d(k.t.program());
    d.Command2->click();
    EXPECT_EQ(k.emu.Pump(), "FA00028475000;");
    EXPECT_TRUE(k.rigWindow().engine().Polling());

    d.Text2->setText("abc");
    d.Command2->click();
    EXPECT_EQ(k.emu.Pump(50), "");

    // With the port closed both buttons end silently.
    k.rigWindow().Command2->click();
    d.Text2->setText("14.025");
    d.Command1->click();
    d.Command2->click();
    EXPECT_EQ(k.emu.Pump(50), "");
    EXPECT_TRUE(k.t.dialogs.shown.empty());
}

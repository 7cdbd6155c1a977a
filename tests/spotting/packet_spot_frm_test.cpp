// The spotting window: its settings file, the controls per source, the
// buttons and keys that are the same for every source.
#include <QAction>
#include <QApplication>
#include <QTest>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/key_adapter.h"
#include "spotting/spotting_fixture.h"
#include "support/qstring_printer.h"

namespace {

using spotting::PacketSpotfrm;
using testing_support::SpotSettings;
using testing_support::SpottingFixture;
using testing_support::TestProgram;

TEST(SpottingWindow, WithoutASettingsFileNothingIsChosenOrOpen) {
    SpottingFixture f;
    PacketSpotfrm& w = f.window();
    EXPECT_EQ(w.windowTitle(), " DX Spotting Setup");
    EXPECT_EQ(w.List1->count(), 4);
    EXPECT_EQ(w.List1->item(3)->text(), "AGW Packet Engine");
    EXPECT_EQ(w.List1->currentRow(), -1);
    EXPECT_EQ(f.monitor(), "");
    EXPECT_TRUE(w.Label4->isHidden());
    EXPECT_FALSE(w.Timer1->isActive());
    for (QWidget* c : std::initializer_list<QWidget*>{w.Frame2, w.chkDX, w.txtSent, w.Command1,
                                                      w.Command2, w.fraPort, w.txtHex,
                                                      w.txtTelnetHost, w.chkConvToHex})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    for (QWidget* c : std::initializer_list<QWidget*>{w.List1, w.cmdDone, w.Command3, w.txtUnProcessed})
        EXPECT_TRUE(c->isEnabled());
    // Close Port with nothing open does nothing at all.
    w.Command2_Click();
    EXPECT_EQ(f.monitor(), "");
}

// Lines put into the monitor turn after turn set its control's text once,
// at the next frame: then it shows every line, in order, within the
// monitor's limit, scrolled to its end.
TEST(SpottingWindow, TheMonitorIsRedrawnOnceAFrame) {
    SpottingFixture f;
    PacketSpotfrm& w = f.window();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.MonitorViewPending(); }));
    int sets = 0;
    QObject::connect(w.txtUnProcessed, &QPlainTextEdit::textChanged, [&] { ++sets; });
    const QString line = "**  Connection not yet established.  Please wait a moment and try again.";
    for (int i = 0; i < 200; ++i) {
        w.SendTelnetText();  // no connection: the line goes to the monitor
        // The rest of the turn: what it posted, not its timers.
        QCoreApplication::sendPostedEvents();
    }
    EXPECT_EQ(sets, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.MonitorViewPending(); }));
    EXPECT_EQ(sets, 1);
    QString shown = f.monitor();
    shown.replace("\r\n", "\n");
    EXPECT_EQ(w.txtUnProcessed->toPlainText(), shown);
    EXPECT_LE(shown.size(), 10000);
    EXPECT_TRUE(shown.endsWith(line + "\n\n"));
    EXPECT_EQ(w.txtUnProcessed->textCursor().position(), shown.size() - 1);
}

TEST(SpottingWindow, AFileSavedBeforeAnyTncWasOpenedStillOpensItsSource) {
    // Empty serial values, port 0 and handshaking 0, the DX-only value 1.
    SpottingFixture f;
    SpotSettings s;
    s.baud = s.parity = s.dataBits = s.stopBits = s.power = "";
    s.port = "0";
    s.handshake = "0";
    s.dxOnly = "1";
    s.listDisplay = "#TRUE#";
    s.source = "Telnet";
    s.telnetHost = "127.0.0.1";
    s.telnetPort = "1";
    f.WriteSettings(s);
    PacketSpotfrm& w = f.window();
    EXPECT_EQ(w.SpotCommPort, 1);
    EXPECT_TRUE(w.optComm[0]->isChecked());
    EXPECT_TRUE(w.OptList->isChecked());
    EXPECT_FALSE(w.chkDX->isChecked());
    EXPECT_EQ(w.List1->currentItem()->text(), "Telnet");
    EXPECT_TRUE(w.txtTelnetHost->isEnabled());
    EXPECT_FALSE(w.fraPort->isEnabled());
    EXPECT_EQ(w.Label6->text(), "Type text to send and press enter:");
    EXPECT_TRUE(f.monitor().startsWith("Attempting connection to: 127.0.0.1:1\r\n\r\n"));
    w.Command2_Click();
}

TEST(SpottingWindow, ChoosingTncSetsItsDefaultsButKeepsPortAndPower) {
    SpottingFixture f;
    PacketSpotfrm& w = f.window();
    w.optComm[4]->setChecked(true);
    w.optPowerDTR->setChecked(true);
    w.Option1->setChecked(true);
    w.optBaud12->setChecked(true);
    w.chkDX->setChecked(true);
    w.List1->setCurrentRow(1);  // "TNC"
    EXPECT_EQ(w.SpotSource, "TNC");
    EXPECT_TRUE(w.optBaud96->isChecked());
    EXPECT_TRUE(w.optParityNone->isChecked());
    EXPECT_TRUE(w.optData8->isChecked());
    EXPECT_TRUE(w.optStop1->isChecked());
    EXPECT_TRUE(w.Option3->isChecked());
    EXPECT_EQ(w.txtHex->text(), "03");
    EXPECT_TRUE(w.optComm[4]->isChecked());
    EXPECT_TRUE(w.optPowerDTR->isChecked());
    EXPECT_FALSE(w.chkDX->isChecked());
    EXPECT_TRUE(w.fraPort->isEnabled());
    EXPECT_FALSE(w.txtTelnetHost->isEnabled());
    EXPECT_EQ(w.Label6->text(), "Send text  (Ctrl C or Esc for TNC Command mode):");
    EXPECT_TRUE(f.monitor().startsWith("TNC: check your modem's documentation"));
    EXPECT_TRUE(f.monitor().endsWith("experiences with different hardware.\r\n\r\n"));
    // Telnet changes no serial setting.
    w.List1->setCurrentRow(2);
    EXPECT_TRUE(w.optComm[4]->isChecked());
    EXPECT_TRUE(w.optBaud96->isChecked());
    EXPECT_EQ(w.txtHex->text(), "03");
}

TEST(SpottingWindow, OpenPortWithNoneOpensNothingAndShowsNoListening) {
    SpottingFixture f;
    PacketSpotfrm& w = f.window();
    w.List1->setCurrentRow(0);  // "None"
    EXPECT_TRUE(f.monitor().startsWith("Use this form to configure your DX spotting options."));
    w.Command1_Click();
    EXPECT_EQ(f.monitor(), "** Attempting to Open Port **\r\n\r\n");
    EXPECT_TRUE(w.Label4->isHidden());
    EXPECT_FALSE(w.Timer1->isActive());
    // Esc: the same, and "List DX Only" is cleared.
    w.chkDX->setChecked(true);
    f.window().show();
    QTest::keyClick(w.txtSent, Qt::Key_Escape);
    EXPECT_FALSE(w.chkDX->isChecked());
    EXPECT_EQ(f.monitor(), "** Attempting to Open Port **\r\n\r\n");
    // Done with no source opens nothing, hides the window and saves.
    w.cmdDone_Click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.Label4->isHidden());
    EXPECT_TRUE(QFile::exists(f.t().workFile("PackSpot.txt")));
}

TEST(SpottingWindow, DoneWritesTheSettingsFileWhole) {
    SpottingFixture f;
    PacketSpotfrm& w = f.window();
    w.List1->setCurrentRow(2);  // "Telnet"
    w.txtTelnetHost->setText("dx.\"cluster\".example");
    w.txtTelnetPort->setText("7300");
    w.OptList->setChecked(true);
    w.cmdDone_Click();  // opens the source, which fails later: nothing listens there
    w.Command2_Click();
    const QByteArray expected =
        "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n1\r\n\"\"\r\n\"Telnet\"\r\n0\r\n0\r\n0\r\n#TRUE#\r\n"
        "\"\"\r\n\"7300\"\r\n\"dx.cluster.example\"\r\n";
    EXPECT_EQ(TestProgram::ReadFile(f.t().workFile("PackSpot.txt")), expected);
    // It reads back: the quote-free host and the list display.
    f.program().UnloadPacketSpotfrm();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    PacketSpotfrm& again = f.window();
    EXPECT_EQ(again.txtTelnetHost->text(), "dx.cluster.example");
    EXPECT_TRUE(again.OptList->isChecked());
    again.Command2_Click();
}

TEST(SpottingWindow, ASettingsFileThatCannotBeWrittenSaysSoAndDoneGoesOn) {
    SpottingFixture f;
    PacketSpotfrm& w = f.window();
    w.show();
    // A folder where the file should be: nothing can be written there.
    ASSERT_TRUE(QDir(f.t().work()).mkdir("PackSpot.txt"));
    w.cmdDone_Click();
    ASSERT_EQ(f.t().dialogs.shown.size(), 1u);
    EXPECT_EQ(f.t().dialogs.shown[0].title, "Unable to write file.");
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(QFileInfo(f.t().workFile("PackSpot.txt")).isDir());
}

TEST(SpottingWindow, SpotLastPreparesALineOfTheLastContact) {
    SpottingFixture f;
    PacketSpotfrm& w = f.window();
    w.Command3_Click();
    EXPECT_EQ(w.txtSent->text(), "DX Frequency in kHz ");
    EXPECT_EQ(w.txtSent->selectedText(), "Frequency in kHz");
    f.program().log.QSOCount = 1;
    f.program().log.row(1).QSOCall = "K9ZZZ";
    w.Command3_Click();
    EXPECT_EQ(w.txtSent->text(), "DX Frequency in kHz K9ZZZ");
    f.program().log.QSOCount = 0;
}

TEST(SpottingWindow, TheBandMapIsRefreshedAfter361TicksWithoutASpot) {
    SpottingFixture f;
    PacketSpotfrm& w = f.window();
    for (int i = 0; i < 360; ++i) w.Timer1_Timer();
    EXPECT_EQ(w.LabelUpdateTimeCounter, 360.0f);
    w.Timer1_Timer();
    EXPECT_EQ(w.LabelUpdateTimeCounter, 0.0f);
}

TEST(SpottingWindow, TheMainWindowOpensItFromItsMenuAndCtrlD) {
    SpottingFixture f;
    mainwindow::MainWindow& main = f.main.window();
    EXPECT_FALSE(f.program().PacketSpotfrmLoaded());
    main.mnuDXSpotting->trigger();
    ASSERT_TRUE(f.program().PacketSpotfrmLoaded());
    EXPECT_TRUE(f.window().isVisible());
    f.window().hide();
    int key = 'D', shift = platform::vbCtrlMask;
    main.Form_KeyDown(key, shift);
    EXPECT_EQ(key, 0);
    EXPECT_TRUE(f.window().isVisible());
}

TEST(SpottingWindow, EveryActivationWithASourceOpenPutsTheFocusInTheSendBox) {
    // A cluster that asks for the login first.
    QTcpServer cluster;
    ASSERT_TRUE(cluster.listen(QHostAddress::LocalHost));
    QTcpSocket* peer = nullptr;
    QByteArray received;
    QObject::connect(&cluster, &QTcpServer::newConnection, &cluster, [&] {
        peer = cluster.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, peer, [&] { received += peer->readAll(); });
    });
    SpottingFixture f;
    SpotSettings s;
    s.source = "Telnet";
    s.telnetHost = "127.0.0.1";
    s.telnetPort = QString::number(cluster.serverPort());
    f.WriteSettings(s);
    mainwindow::MainWindow& main = f.main.window();
    main.show();

    // Options > DX Spotting > Configure: the window opens the saved source.
    main.mnuDXSpotting->trigger();
    PacketSpotfrm& w = f.window();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_TRUE(f.WaitFor([&] { return peer && !w.Label4->isHidden(); }));
    EXPECT_EQ(QApplication::focusWidget(), w.txtSent);
    // The login the cluster asks for goes to the cluster, not into the list.
    QTest::keyClicks(QApplication::focusWidget(), "K1ABC");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(f.WaitFor([&] { return received == "K1ABC\r\n"; })) << received.toStdString();
    EXPECT_EQ(w.List1->currentItem()->text(), "Telnet");
    EXPECT_EQ(w.SpotSource, "Telnet");

    // Hidden with the focus left on the list, then shown again by Ctrl+D.
    w.List1->setFocus();
    w.cmdDone_Click();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    int key = 'D', shift = platform::vbCtrlMask;
    main.Form_KeyDown(key, shift);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(QApplication::focusWidget(), w.txtSent);
    EXPECT_EQ(w.Winsock1.State(), platform::TcpLink::sckConnected);
}

}  // namespace

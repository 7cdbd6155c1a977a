// The packet TNC source over a real pseudo-terminal pair (the test plays the
// TNC on the master side), and the line order of the port's open on a port
// that records its control lines.
#include <QLabel>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "platform/serial_port.h"
#include "spotting/dx_spot_lines.h"
#include "spotting/spotting_fixture.h"
#include "support/fake_serial_port.h"
#include "support/pty_pair.h"
#include "support/qstring_printer.h"

namespace {

using spotting::PacketSpotfrm;
using testing_support::FakeSerialPort;
using testing_support::PtyPair;
using testing_support::SpottingFixture;

// The spotting window with the TNC source chosen on the pseudo-terminal's
// port 3, not yet opened.
PacketSpotfrm& ChooseTnc(SpottingFixture& f, const PtyPair& tnc) {
    tnc.MapAsPort(f.t().work(), 3);
    PacketSpotfrm& w = f.window();
    w.show();
    w.optComm[2]->setChecked(true);
    w.List1->setCurrentRow(1);  // "TNC": 9.6k, N, 8, 1, RTS handshaking, "03"
    return w;
}

TEST(Tnc, OverAPseudoTerminal) {
    PtyPair tnc;
    ASSERT_TRUE(tnc.ok());
    SpottingFixture f;
    PacketSpotfrm& w = ChooseTnc(f, tnc);
    w.Command1_Click();
    ASSERT_TRUE(w.comComm1 && w.comComm1->IsOpen());
    EXPECT_EQ(w.comComm1->Settings(), "9600,N,8,1");
    EXPECT_EQ(w.comComm1->GetHandshaking(), platform::Handshaking::RtsCts);
    EXPECT_EQ(w.SpotCommPort, 3);
    EXPECT_EQ(f.monitor(), "** Attempting to Open Port **\r\n\r\n** TNC Serial Port Open **\r\n\r\n");
    EXPECT_FALSE(w.Label4->isHidden());
    EXPECT_TRUE(w.Timer1->isActive());

    f.Send("C DXCLUS");
    EXPECT_EQ(tnc.Read(9), "C DXCLUS\r");
    EXPECT_EQ(w.txtSent->text(), "");
    // Esc sends the command-mode character of the settings, without Enter.
    QTest::keyClick(w.txtSent, Qt::Key_Escape);
    EXPECT_EQ(tnc.Read(1), QByteArray(1, '\x03'));
    w.txtHex->setText("1b");
    QTest::keyClick(w.txtSent, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(tnc.Read(1), QByteArray(1, '\x1b'));

    // The TNC delivers a spot line in two reads.
    tnc.Write("cmd:\r\nDX de K9ZZZ:     14025.0  KL7");
    ASSERT_TRUE(QTest::qWaitFor([&] {
        w.Timer1_Timer();
        return f.monitor().endsWith("cmd:\r\n");
    }));
    tnc.Write("SB        cq test                        1234Z\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] {
        w.Timer1_Timer();
        return f.program().spotStore.DXSpotCall[49] == "KL7SB";
    }));
    EXPECT_FLOAT_EQ(f.program().spotStore.DXSpotFreq[49], 14.025f);
    EXPECT_EQ(f.main.window().txtDX->topLevelItem(0)->text(0), "KL7SB");
    // The spot restarted the count; the tick that read it counts itself.
    EXPECT_EQ(w.LabelUpdateTimeCounter, 1.0f);

    w.Command2_Click();
    EXPECT_FALSE(w.comComm1->IsOpen());
    EXPECT_TRUE(f.monitor().endsWith("\r\n\r\n** Port Closed **"));
    EXPECT_FALSE(w.Timer1->isActive());
}

// A node that ends its lines LF CR and puts a prompt or a bell before a spot:
// with "List DX Only" ticked the operator sees the spot lines and nothing
// else, and every spot reaches the spot list.
TEST(Tnc, SpotsAfterLfCrLineEndsPromptsAndBellsAreListedAndShownWithListDxOnly) {
    PtyPair tnc;
    ASSERT_TRUE(tnc.ok());
    SpottingFixture f;
    PacketSpotfrm& w = ChooseTnc(f, tnc);
    QTest::mouseClick(w.chkDX, Qt::LeftButton, {}, QPoint(8, w.chkDX->height() / 2));
    ASSERT_TRUE(w.chkDX->isChecked());
    w.Command1_Click();
    ASSERT_TRUE(w.comComm1 && w.comComm1->IsOpen());

    const QByteArray spots[] = {
        testing_support::kDxSpotLines[0], testing_support::kDxSpotLines[5],
        testing_support::kDxSpotLines[7]};
    tnc.Write("Hello K9ZZZ\n\r" + spots[0] + "\n\rcmd:" + spots[1] + "\n\r\a" + spots[2] + "\n\r");
    mainwindow::MainWindow& main = f.main.window();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        w.Timer1_Timer();
        return main.txtDX->topLevelItemCount() == 3;
    }));
    EXPECT_EQ(main.txtDX->topLevelItem(2)->text(0), "KL7SB");
    EXPECT_EQ(main.txtDX->topLevelItem(1)->text(0), "CS3B");
    EXPECT_EQ(main.txtDX->topLevelItem(0)->text(0), "K7GT");
    EXPECT_EQ(main.txtDX->topLevelItem(0)->text(1), "14.0576");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.MonitorViewPending(); }));
    const QString shown = w.txtUnProcessed->toPlainText();
    for (const QByteArray& spot : spots) EXPECT_TRUE(shown.contains(QString::fromLatin1(spot))) << spot.data();
    EXPECT_FALSE(shown.contains("Hello"));
    EXPECT_FALSE(shown.contains("cmd:"));
}

TEST(Tnc, ControlLinesFollowHandshakingAndPower) {
    struct Case {
        QRadioButton* PacketSpotfrm::*handshake;
        QRadioButton* PacketSpotfrm::*power;
        bool rts;
        bool dtr;
        QString events;
    };
    const Case cases[] = {
        {&PacketSpotfrm::Option1, &PacketSpotfrm::optPowerNone, false, false, "dtr 0,rts 0,open"},
        {&PacketSpotfrm::Option2, &PacketSpotfrm::optPowerNone, false, false, "dtr 0,rts 0,open"},
        {&PacketSpotfrm::Option3, &PacketSpotfrm::optPowerNone, true, false, "dtr 0,rts 0,rts 1,open"},
        {&PacketSpotfrm::Option4, &PacketSpotfrm::optPowerDTR, true, true, "dtr 0,rts 0,rts 1,open,dtr 1"},
        {&PacketSpotfrm::Option1, &PacketSpotfrm::optPowerRTS, true, false, "dtr 0,rts 0,open,rts 1"},
    };
    for (const Case& c : cases) {
        FakeSerialPort::State port;  // outlives the window that owns the port
        SpottingFixture f;
        f.program().serialPortFactory = [&port] { return std::make_unique<FakeSerialPort>(port); };
        PacketSpotfrm& w = f.window();
        w.List1->setCurrentRow(1);
        (w.*c.handshake)->setChecked(true);
        (w.*c.power)->setChecked(true);
        w.Command1_Click();
        EXPECT_TRUE(port.open);
        EXPECT_EQ(port.rts, c.rts);
        EXPECT_EQ(port.dtr, c.dtr);
        EXPECT_EQ(port.events.join(','), c.events);
        w.Command2_Click();
    }
}

TEST(Tnc, APortThatDoesNotOpenIsReportedAndLeftClosed) {
    FakeSerialPort::State port;  // outlives the window that owns the port
    port.refuseOpen = true;
    SpottingFixture f;
    f.program().serialPortFactory = [&port] { return std::make_unique<FakeSerialPort>(port); };
    PacketSpotfrm& w = f.window();
    w.List1->setCurrentRow(1);
    w.Command1_Click();
    EXPECT_EQ(f.monitor(), "** Attempting to Open Port **\r\n\r\n"
                           "** Unable to open TNC Serial Port **\r\n\r\n"
                           "\r\n\r\n** Port Closed **");
    ASSERT_EQ(f.t().dialogs.shown.size(), 1u);
    EXPECT_EQ(f.t().dialogs.shown[0].title, "Invalid Comm Settings.");
    EXPECT_EQ(f.t().dialogs.beeps, 1);
    EXPECT_TRUE(w.Label4->isHidden());
    EXPECT_FALSE(w.Timer1->isActive());
    // Enter with the port closed tries to open it again and sends nothing.
    port.refuseOpen = false;
    port.written.clear();
    f.Send("C DXCLUS");
    EXPECT_TRUE(port.open);
    EXPECT_EQ(port.written, "C DXCLUS\r");
}

}  // namespace

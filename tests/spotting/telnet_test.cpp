// The Telnet cluster link against a cluster server on loopback: what the
// monitor shows, what reaches the cluster, spots and socket errors.
#include <QLabel>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include "spotting/dx_spot_lines.h"
#include "spotting/loopback_cluster.h"
#include "spotting/spotting_fixture.h"
#include "support/qstring_printer.h"

namespace {

using spotting::PacketSpotfrm;
using testing_support::SpotSettings;
using testing_support::SpottingFixture;
using testing_support::TelnetTo;

const QByteArray kSpot1 =
    "DX de S53M:       7064.6  KL7SB        rtty, ufb sig                  0302Z\r\n";
const QByteArray kSpot2 =
    "DX de KM3T-2-#:  14100.0  CS3B           CW    24 dB  22 WPM  NCDXF B 2259Z\r\n";

using Cluster = testing_support::LoopbackCluster;

TEST(Telnet, LoginPromptLinesTypedAndSpotsInChunks) {
    Cluster cluster;
    SpottingFixture f;
    f.WriteSettings(TelnetTo(cluster.port()));
    PacketSpotfrm& w = f.window();  // the load opens the saved source
    const QString attempting =
        QStringLiteral("Attempting connection to: 127.0.0.1:%1\r\n\r\n").arg(cluster.port());
    EXPECT_EQ(f.monitor(), attempting);
    EXPECT_TRUE(w.Label4->isHidden());  // not yet connected
    ASSERT_TRUE(f.WaitFor([&] { return cluster.peer && !w.Label4->isHidden(); }));

    cluster.Send("Please enter your call: ");
    ASSERT_TRUE(f.WaitFor([&] { return f.monitor().endsWith("call: "); }));
    EXPECT_EQ(f.monitor(), attempting + "Please enter your call: ");

    f.Send("K9ZZZ");
    f.Send("SH/DX");
    ASSERT_TRUE(f.WaitFor([&] { return cluster.received.size() >= 14; }));
    EXPECT_EQ(cluster.received, "K9ZZZ\r\nSH/DX\r\n");
    EXPECT_EQ(w.txtSent->text(), "");

    // Two spot lines cut into chunks that split one line and join the next.
    const QByteArray text = "Hello K9ZZZ\r\n" + kSpot1 + kSpot2;
    const qsizetype cuts[] = {20, 50, 101, text.size()};
    qsizetype from = 0;
    for (qsizetype cut : cuts) {
        cluster.Send(text.mid(from, cut - from));
        const QString expected = QString::fromLatin1(text.left(cut));
        ASSERT_TRUE(f.WaitFor([&] { return f.monitor().endsWith(expected); })) << cut;
        from = cut;
    }
    mainwindow::MainWindow& main = f.main.window();
    ASSERT_EQ(main.txtDX->topLevelItemCount(), 2);
    EXPECT_EQ(main.txtDX->topLevelItem(0)->text(0), "CS3B");
    EXPECT_EQ(main.txtDX->topLevelItem(0)->text(1), "14.1");
    EXPECT_EQ(main.txtDX->topLevelItem(1)->text(0), "KL7SB");
    EXPECT_EQ(f.program().spotStore.DXSpotCall[49], "CS3B");
    EXPECT_EQ(w.LabelUpdateTimeCounter, 0.0f);

    // Nothing was ever sent but the lines typed.
    QTest::qWait(50);
    EXPECT_EQ(cluster.received, "K9ZZZ\r\nSH/DX\r\n");
    EXPECT_EQ(f.t().dialogs.beeps, 0);
}

// Opens the spotting window on the node and waits until it is connected.
bool Connect(SpottingFixture& f, Cluster& cluster) {
    f.WriteSettings(TelnetTo(cluster.port()));
    PacketSpotfrm& w = f.window();
    return f.WaitFor([&] { return cluster.peer && !w.Label4->isHidden(); });
}

// The node sends `bytes`, and the window shows them before the next piece is
// sent, so that every piece arrives as a chunk of its own.
testing::AssertionResult SendChunk(SpottingFixture& f, Cluster& cluster, const QByteArray& bytes) {
    cluster.Send(bytes);
    if (f.WaitFor([&] { return f.monitor().endsWith(QString::fromLatin1(bytes)); }))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "not shown: " << bytes.toStdString();
}

TEST(Telnet, SpotsAfterAPromptWithoutLineEndAndLinesEndedLfCrArePosted) {
    Cluster cluster;
    SpottingFixture f;
    ASSERT_TRUE(Connect(f, cluster));
    mainwindow::MainWindow& main = f.main.window();
    auto send = [&](const QByteArray& bytes) { ASSERT_TRUE(SendChunk(f, cluster, bytes)); };
    const QByteArray spot1 = kSpot1.chopped(2);
    const QByteArray spot2 = kSpot2.chopped(2);

    // DX Spider's prompt has no line end; the node's next spot follows it.
    send("K9ZZZ de DXSPIDER >");
    send(kSpot1);
    send("dxspider >");
    send(kSpot2);
    ASSERT_EQ(main.txtDX->topLevelItemCount(), 2);
    EXPECT_EQ(main.txtDX->topLevelItem(1)->text(0), "KL7SB");
    EXPECT_EQ(main.txtDX->topLevelItem(0)->text(0), "CS3B");

    // A node that ends its lines LF CR.
    send("Hello K9ZZZ\n\r");
    send(spot1 + "\n\r");
    send(QByteArray(spot2).replace("CS3B", "K1ABC") + "\n\r");
    send("\a" + QByteArray(spot1).replace("KL7SB", "VE3AA") + "\n\r");
    ASSERT_EQ(main.txtDX->topLevelItemCount(), 5);
    EXPECT_EQ(main.txtDX->topLevelItem(2)->text(0), "KL7SB");
    EXPECT_EQ(main.txtDX->topLevelItem(1)->text(0), "K1ABC");
    EXPECT_EQ(main.txtDX->topLevelItem(0)->text(0), "VE3AA");
    EXPECT_EQ(main.txtDX->topLevelItem(0)->text(1), "7.0646");
    EXPECT_EQ(f.program().spotStore.DXSpotCall[49], "VE3AA");
}

// Lines ended by CR alone, several in one chunk; and chunks that end just
// before a call or a comment that begins with "DX" (only a spot line's own
// "DX de " starts a line).
TEST(Telnet, LinesEndedCrAloneAndChunksCutBeforeADxCallOrCommentLoseNothing) {
    Cluster cluster;
    SpottingFixture f;
    ASSERT_TRUE(Connect(f, cluster));
    mainwindow::MainWindow& main = f.main.window();
    auto send = [&](const QByteArray& bytes) { ASSERT_TRUE(SendChunk(f, cluster, bytes)); };
    send(QByteArray(testing_support::kDxSpotLines[0]) + "\r" + testing_support::kDxSpotLines[1] +
         "\r" + testing_support::kDxSpotLines[2] + "\r");
    ASSERT_EQ(main.txtDX->topLevelItemCount(), 3);
    EXPECT_EQ(main.txtDX->topLevelItem(2)->text(0), "KL7SB");
    EXPECT_EQ(main.txtDX->topLevelItem(1)->text(0), "VK2JJM");
    EXPECT_EQ(main.txtDX->topLevelItem(0)->text(0), "KE0L");

    // "DX de N9EN/4:    18077.0  DX1ABC       DXCC needed, tnx!              1359Z"
    const QByteArray line = QByteArray(testing_support::kDxSpotLines[3])
                                .replace("OS5Z  ", "DX1ABC")
                                .replace("op. Marc; tnx QSO!", "DXCC needed, tnx! ");
    const qsizetype call = line.indexOf("DX1ABC");
    const qsizetype comment = line.indexOf("DXCC");
    send(line.first(call));
    send(line.sliced(call, comment - call));
    send(line.sliced(comment) + "\r\n");
    ASSERT_EQ(main.txtDX->topLevelItemCount(), 4);
    EXPECT_EQ(main.txtDX->topLevelItem(0)->text(0), "DX1ABC");
    EXPECT_EQ(main.txtDX->topLevelItem(0)->text(1), "18.077");
    EXPECT_EQ(main.txtDX->topLevelItem(0)->text(4), "de N9EN/4:  DXCC needed, tnx!");
    EXPECT_EQ(f.program().spotStore.DXSpotCall[49], "DX1ABC");
}

TEST(Telnet, ALineTypedBeforeTheNodeAnswersIsNotSent) {
    Cluster cluster;
    SpottingFixture f;
    f.WriteSettings(TelnetTo(cluster.port()));
    f.window();
    // Enter at once after the open, before any event has run.
    f.Send("K9ZZZ");
    EXPECT_TRUE(f.monitor().endsWith(
        "**  Connection not yet established.  Please wait a moment and try again.\r\n\r\n"))
        << f.monitor().toStdString();
    ASSERT_TRUE(f.WaitFor([&] { return cluster.peer != nullptr; }));
    QTest::qWait(50);
    EXPECT_EQ(cluster.received, "");
}

TEST(Telnet, ARefusedPortShowsTheErrorThenClosesTheSource) {
    quint16 port = 0;
    {
        QTcpServer probe;  // a port that was free a moment ago and is closed now
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
    }
    SpottingFixture f;
    f.WriteSettings(TelnetTo(port));
    PacketSpotfrm& w = f.window();
    ASSERT_TRUE(f.WaitFor([&] { return f.t().dialogs.beeps == 1; }));
    EXPECT_EQ(f.monitor(), QStringLiteral("Attempting connection to: 127.0.0.1:%1\r\n\r\n"
                                          "ERROR: Connection is forcefully rejected.\r\n\r\n"
                                          "** Port Closed **")
                               .arg(port));
    EXPECT_TRUE(w.Label4->isHidden());
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_TRUE(f.t().dialogs.shown.empty());  // no message box on this source
}

TEST(Telnet, AResetByTheNodeShowsItsText) {
    Cluster cluster;
    SpottingFixture f;
    f.WriteSettings(TelnetTo(cluster.port()));
    PacketSpotfrm& w = f.window();
    ASSERT_TRUE(f.WaitFor([&] { return cluster.peer && !w.Label4->isHidden(); }));
    cluster.Send("login: ");
    ASSERT_TRUE(f.WaitFor([&] { return f.monitor().endsWith("login: "); }));
    // Linger 0: closing sends a reset.
    const linger hard{1, 0};
    ::setsockopt(static_cast<int>(cluster.peer->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard,
                 sizeof hard);
    cluster.peer->abort();
    ASSERT_TRUE(f.WaitFor([&] { return f.t().dialogs.beeps == 1; }));
    EXPECT_TRUE(f.monitor().endsWith(
        "login: ERROR: The connection is reset by remote side.!\r\n\r\n** Port Closed **"));
    EXPECT_TRUE(w.Label4->isHidden());
    EXPECT_FALSE(w.Timer1->isActive());
}

TEST(Telnet, ABadPortOpensNothing) {
    for (const char* port : {"", "abc", "0", "70000"}) {
        SpottingFixture f;
        SpotSettings s = TelnetTo(0);
        s.telnetPort = port;
        f.WriteSettings(s);
        PacketSpotfrm& w = f.window();
        EXPECT_TRUE(f.monitor().endsWith(
            "** Invalid Telnet port **\r\n\r\n\r\n\r\n** Port Closed **"))
            << port;
        EXPECT_TRUE(w.Label4->isHidden());
        EXPECT_FALSE(w.Timer1->isActive());
        EXPECT_EQ(w.Winsock1.State(), platform::TcpLink::sckClosed);
    }
}

TEST(Telnet, ErrorTexts) {
    struct Case {
        int number;
        const char* text;
    };
    const Case cases[] = {
        {10061, "ERROR: Connection is forcefully rejected."},
        {11001, "ERROR: Authoritative answer: Host not found."},
        {10060, "ERROR: Socket has been shut down."},
        {10058, "ERROR: Socket has been shut down."},
        {10054, "ERROR: The connection is reset by remote side.!"},
        {7, "ERROR: Out of memory."},
        {10037, "ERROR: The operation is completed. No blocking operation in progress"},
        {10065, "Error number 10065"},
        {-1, "Error number -1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PacketSpotfrm::SocketErrorText(c.number), c.text) << c.number;
    EXPECT_EQ(platform::WinsockErrorNumber(QAbstractSocket::ConnectionRefusedError), 10061);
    EXPECT_EQ(platform::WinsockErrorNumber(QAbstractSocket::HostNotFoundError), 11001);
    EXPECT_EQ(platform::WinsockErrorNumber(QAbstractSocket::SocketTimeoutError), 10060);
    EXPECT_EQ(platform::WinsockErrorNumber(QAbstractSocket::RemoteHostClosedError), 10054);
}

}  // namespace

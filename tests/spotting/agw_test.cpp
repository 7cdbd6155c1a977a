// The packet engine link: against the packet modem program direwolf (its AGW
// port on loopback, audio from a generated packet recording on its input),
// and against a scripted AGW server for connected mode and unsound frames.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/packet_engine_client.h"
#include "spotting/spotting_fixture.h"
#include "support/qstring_printer.h"

namespace {

using platform::AgwFrame;
using spotting::PacketSpotfrm;
using testing_support::SpotSettings;
using testing_support::SpottingFixture;

quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

AgwFrame Frame(char kind, const QByteArray& from, const QByteArray& to, const QByteArray& data) {
    AgwFrame f;
    f.kind = kind;
    f.callFrom = from;
    f.callTo = to;
    f.data = data;
    return f;
}

// An AGW server on its own thread, as a packet engine is a program of its
// own: it answers registrations, records every frame and sends what the test
// queues. A connect request is answered with a connect notice.
class FakeAgwServer {
public:
    FakeAgwServer() {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        int yes = 1;
        ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listen_, 4);
        socklen_t len = sizeof a;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~FakeAgwServer() {
        stop_ = true;
        thread_.join();
        if (client_ >= 0) ::close(client_);
        ::close(listen_);
    }
    int port() const { return port_; }
    bool acceptRegistration = true;
    // `flood` goes ahead of the registration answer (an engine passing on
    // traffic before it answers); with `hold` the answer waits for Release().
    void AnswerAfter(const QByteArray& flood, bool hold) {
        std::lock_guard lock(mutex_);
        beforeAnswer_ = flood;
        holdAnswer_ = hold;
    }
    // Closes the client's connection, as an engine that ends does.
    void Disconnect() { disconnect_ = true; }
    // Stops and resumes reading from the client, as a busy engine does.
    void PauseReading(bool paused) { paused_ = paused; }
    void Release() {
        std::lock_guard lock(mutex_);
        outgoing_ += held_;
        held_.clear();
    }

    void Queue(const QByteArray& bytes) {
        std::lock_guard lock(mutex_);
        outgoing_ += bytes;
    }
    void Queue(const AgwFrame& frame) { Queue(platform::EncodeAgwFrame(frame)); }
    std::vector<AgwFrame> Received() {
        std::lock_guard lock(mutex_);
        return received_;
    }
    QByteArray Kinds() {
        QByteArray kinds;
        for (const AgwFrame& f : Received()) kinds += f.kind;
        return kinds;
    }
    bool ClientGone() const { return gone_; }

private:
    void run() {
        QByteArray buffer;
        while (!stop_) {
            pollfd p{client_ >= 0 ? client_ : listen_, POLLIN, 0};
            if (client_ >= 0 && paused_) p.events = 0;
            ::poll(&p, 1, 10);
            if (client_ < 0) {
                if (p.revents & POLLIN) client_ = ::accept(listen_, nullptr, nullptr);
                continue;
            }
            if (disconnect_) {
                ::close(client_);
                client_ = -1;
                disconnect_ = false;
                continue;
            }
            if (p.revents & (POLLIN | POLLHUP)) {
                char chunk[4096];
                const ssize_t n = ::read(client_, chunk, sizeof chunk);
                if (n <= 0) {
                    gone_ = true;
                    ::close(client_);
                    client_ = -1;
                    continue;
                }
                buffer.append(chunk, n);
                AgwFrame frame;
                while (platform::TakeAgwFrame(buffer, &frame) == 1) answer(frame);
            }
            QByteArray out;
            {
                std::lock_guard lock(mutex_);
                out.swap(outgoing_);
            }
            if (!out.isEmpty())
                ::send(client_, out.constData(), static_cast<size_t>(out.size()), MSG_NOSIGNAL);
        }
    }
    void answer(const AgwFrame& frame) {
        std::lock_guard lock(mutex_);
        received_.push_back(frame);
        if (frame.kind == 'X') {
            outgoing_ += beforeAnswer_;
            (holdAnswer_ ? held_ : outgoing_) += platform::EncodeAgwFrame(
                Frame('X', frame.callFrom, {}, QByteArray(1, acceptRegistration ? 1 : 0)));
        }
        if (frame.kind == 'C')
            outgoing_ += platform::EncodeAgwFrame(
                Frame('C', frame.callTo, frame.callFrom,
                      "*** CONNECTED With Station " + frame.callTo + "\r" + QByteArray(1, '\0')));
    }

    int listen_ = -1;
    int client_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> gone_{false};
    std::atomic<bool> disconnect_{false};
    std::atomic<bool> paused_{false};
    std::mutex mutex_;
    QByteArray outgoing_;
    QByteArray held_;
    QByteArray beforeAnswer_;
    bool holdAnswer_ = false;
    std::vector<AgwFrame> received_;
    std::thread thread_;
};

void UseEngineAt(SpottingFixture& f, int port) {
    testing_support::TestProgram::WriteFile(f.t().workFile("Ports.txt"),
                                            "AGWPE=127.0.0.1:" + QByteArray::number(port) + "\r\n");
    SpotSettings s;
    s.source = "AGW Packet Engine";
    f.WriteSettings(s);
    f.program().station.OwnCall = " n0call ";
}

// The window, opened on the engine, once the engine has answered its
// registration (the window does not wait for the answer).
PacketSpotfrm& Registered(SpottingFixture& f) {
    PacketSpotfrm& w = f.window();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Timer1->isActive(); })) << f.monitor().toStdString();
    return w;
}

// The window after a failed registration: the message box has been shown.
PacketSpotfrm& Refused(SpottingFixture& f, int ms = 5000) {
    PacketSpotfrm& w = f.window();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.t().dialogs.shown.empty(); }, ms));
    return w;
}

// Polls the window as its timer would until `done` holds (5 s at most).
template <class F>
bool PollUntil(PacketSpotfrm& w, F done, int ms = 5000) {
    return QTest::qWaitFor(
        [&] {
            w.Timer1_Timer();
            return done();
        },
        ms);
}

// The window registered with a scripted engine and connected through it to
// K9ZZZ.
struct ConnectedToK9zzz {
    ConnectedToK9zzz() : w((UseEngineAt(f, engine.port()), Registered(f))) {
        f.Send(":C K9ZZZ");
        EXPECT_TRUE(PollUntil(w, [&] { return !w.AGWConnectedCall.isEmpty(); }));
    }
    FakeAgwServer engine;
    SpottingFixture f;
    PacketSpotfrm& w;
};

// The packet modem program direwolf with its AGW port on a free loopback
// port, its audio input fed by the test.
class Direwolf {
public:
    // Starts it and waits until its AGW port takes connections; false (with
    // the reason in failure()) when it cannot run.
    bool Start() {
        const QString direwolf = QStandardPaths::findExecutable("direwolf");
        if (direwolf.isEmpty()) return fail("direwolf is not installed (scripts/setup installs it)");
        port_ = FreePort();
        QFile conf(dir_.filePath("direwolf.conf"));
        if (!conf.open(QIODevice::WriteOnly)) return fail("cannot write direwolf.conf");
        conf.write("ADEVICE stdin null\nACHANNELS 1\nCHANNEL 0\nMYCALL N0CALL\nMODEM 1200\n"
                   "AGWPORT " + QByteArray::number(port_) + "\nKISSPORT 0\n");
        conf.close();
        modem_.setWorkingDirectory(dir_.path());
        modem_.setProcessChannelMode(QProcess::MergedChannels);
        modem_.start(direwolf, {"-c", "direwolf.conf", "-t", "0"});
        if (!modem_.waitForStarted(5000)) return fail("direwolf did not start");
        auto listening = [&] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
            return probe.waitForConnected(200);
        };
        if (!QTest::qWaitFor([&] { return modem_.state() == QProcess::Running && listening(); }, 10000))
            return fail("its AGW port never listened: " + modem_.readAll().toStdString());
        return true;
    }
    ~Direwolf() { Stop(); }
    void Stop() {
        if (modem_.state() == QProcess::NotRunning) return;
        modem_.kill();
        modem_.waitForFinished();
    }
    int port() const { return port_; }
    const std::string& failure() const { return failure_; }
    std::string output() { return modem_.readAll().toStdString(); }

    // Plays a UI frame with `info` from K9ZZZ-1 to DX into its audio input,
    // as a packet cluster beacons a spot line.
    bool Play(const QByteArray& info) {
        const QString genPackets = QStandardPaths::findExecutable("gen_packets");
        if (genPackets.isEmpty()) return fail("gen_packets is not installed");
        QFile message(dir_.filePath("spot.txt"));
        if (!message.open(QIODevice::WriteOnly)) return fail("cannot write spot.txt");
        message.write("K9ZZZ-1>DX:" + info);
        message.close();
        QProcess gen;
        gen.setWorkingDirectory(dir_.path());
        gen.start(genPackets, {"-o", "spot.wav", "spot.txt"});
        if (!gen.waitForFinished(10000) || gen.exitCode() != 0) return fail("gen_packets failed");
        QFile wav(dir_.filePath("spot.wav"));
        if (!wav.open(QIODevice::ReadOnly)) return fail("no spot.wav");
        modem_.write(wav.readAll());
        return true;
    }

private:
    bool fail(const std::string& why) {
        failure_ = why;
        return false;
    }
    QTemporaryDir dir_;
    QProcess modem_;
    int port_ = 0;
    std::string failure_;
};

TEST(AgwEngine, DirewolfMonitoredSpotIsPosted) {
    Direwolf modem;
    ASSERT_TRUE(modem.Start()) << modem.failure();
    SpottingFixture f;
    UseEngineAt(f, modem.port());
    PacketSpotfrm& w = Registered(f);
    ASSERT_TRUE(f.monitor().endsWith("\r\n** Successfully connected to AGW Packet Engine **\r\n\r\n"))
        << f.monitor().toStdString();
    EXPECT_FALSE(w.Label4->isHidden());
    EXPECT_TRUE(w.Timer1->isActive());

    ASSERT_TRUE(modem.Play("DX de K9ZZZ:     14025.0  KL7SB        cq contest                     1234Z"))
        << modem.failure();
    ASSERT_TRUE(PollUntil(w, [&] { return f.program().spotStore.DXSpotCall[49] == "KL7SB"; }, 10000))
        << f.monitor().toStdString() << modem.output();
    EXPECT_FLOAT_EQ(f.program().spotStore.DXSpotFreq[49], 14.025f);
    EXPECT_TRUE(f.monitor().contains(
        "DX de K9ZZZ:     14025.0  KL7SB        cq contest                     1234Z"));
    EXPECT_EQ(f.main.window().txtDX->topLevelItemCount(), 1);
    w.Command2_Click();
}

TEST(AgwEngine, AnEngineThatGoesAwayIsReportedAndTheSourceClosed) {
    Direwolf modem;
    ASSERT_TRUE(modem.Start()) << modem.failure();
    SpottingFixture f;
    UseEngineAt(f, modem.port());
    PacketSpotfrm& w = Registered(f);
    ASSERT_FALSE(w.Label4->isHidden());

    // The packet engine ends under the window.
    modem.Stop();
    ASSERT_TRUE(PollUntil(w, [&] { return w.Label4->isHidden(); })) << f.monitor().toStdString();
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_TRUE(f.monitor().endsWith("\r\nERROR: The connection is reset by remote side.!\r\n\r\n"
                                     "** Port Closed **"))
        << f.monitor().toStdString();
    EXPECT_EQ(f.t().dialogs.beeps, 1);
    EXPECT_TRUE(f.t().dialogs.shown.empty());
    // Open Port tries again, and says that nothing answers.
    w.Command1_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.t().dialogs.shown.empty(); }));
    EXPECT_EQ(f.t().dialogs.shown[0].title, "Unable to connect to the AGW Packet Engine.");
    EXPECT_TRUE(w.Label4->isHidden());
}

TEST(AgwEngine, AConnectedStationsEngineGoingAwayEndsTheConnectionToo) {
    ConnectedToK9zzz c;
    auto& [engine, f, w] = c;
    engine.Disconnect();
    ASSERT_TRUE(PollUntil(w, [&] { return w.Label4->isHidden(); })) << f.monitor().toStdString();
    EXPECT_EQ(w.AGWConnectedCall, "");
    EXPECT_EQ(w.windowTitle(), "DX Spotting Setup");
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_TRUE(f.monitor().endsWith("\r\n\r\n** Port Closed **"));
}

TEST(AgwEngine, FramesAheadOfTheRegistrationAnswerAreDroppedAndHeldToABound) {
    // 300 frames of 1 KB each, then the answer: at once, or after the window
    // has gone on with its work.
    QByteArray flood;
    for (int i = 0; i < 300; ++i)
        flood += platform::EncodeAgwFrame(
            Frame('U', "W9XG", "BEACON",
                  QByteArrayLiteral(" 1:Fm W9XG To BEACON <UI pid=F0 Len=1000 >\r") +
                      QByteArray(1000, char('a' + i % 26))));
    for (bool hold : {false, true}) {
        SCOPED_TRACE(hold);
        FakeAgwServer engine;
        engine.AnswerAfter(flood, hold);
        SpottingFixture f;
        UseEngineAt(f, engine.port());
        // Opening returns without waiting for the engine's answer.
        PacketSpotfrm& w = f.window();
        qint64 most = w.agw.HeldBytes();
        if (hold) {
            EXPECT_FALSE(w.Timer1->isActive());
            EXPECT_TRUE(w.Label4->isHidden());
            EXPECT_TRUE(f.t().dialogs.shown.empty());
            // The flood arrives while the answer is held back.
            ASSERT_TRUE(QTest::qWaitFor([&] { return engine.Kinds() == "X"; }));
            EXPECT_FALSE(QTest::qWaitFor(
                [&] {
                    most = std::max(most, w.agw.HeldBytes());
                    return w.Timer1->isActive();
                },
                200));
            engine.Release();
        }
        ASSERT_TRUE(QTest::qWaitFor([&] {
            most = std::max(most, w.agw.HeldBytes());
            return w.Timer1->isActive();
        })) << f.monitor().toStdString();
        EXPECT_TRUE(f.t().dialogs.shown.empty());
        EXPECT_FALSE(w.Label4->isHidden());
        EXPECT_TRUE(f.monitor().endsWith("** Successfully connected to AGW Packet Engine **\r\n\r\n"));
        // Never more than a frame and the socket's share.
        EXPECT_LE(most, platform::PacketEngineClient::kMaxFrame * 2 + 1024);
        EXPECT_LE(w.agw.HeldBytes(), platform::PacketEngineClient::kMaxFrame * 2 + 1024);
        // The frames ahead of the answer are not handed on; those after it are.
        engine.Queue(Frame('U', "K9ZZZ-1", "DX",
                           " 1:Fm K9ZZZ-1 To DX <UI pid=F0 Len=74 >\r"
                           "DX de K9ZZZ:     14025.0  KL7SB        cq contest                     1234Z\r"));
        ASSERT_TRUE(PollUntil(w, [&] { return f.program().spotStore.DXSpotCall[49] == "KL7SB"; }));
        EXPECT_FALSE(f.monitor().contains("W9XG"));
    }
}

TEST(AgwEngine, ConnectedModeWithItsNoticesAndData) {
    FakeAgwServer engine;
    SpottingFixture f;
    UseEngineAt(f, engine.port());
    PacketSpotfrm& w = Registered(f);
    // Registered with the own call (trimmed), monitoring switched on once.
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.Kinds() == "Xm"; }));
    EXPECT_EQ(engine.Received()[0].callFrom, "N0CALL");

    f.Send(":c k9zzz");
    ASSERT_TRUE(PollUntil(w, [&] { return w.AGWConnectedCall == "K9ZZZ"; }));
    const AgwFrame request = engine.Received()[2];
    EXPECT_EQ(request.kind, 'C');
    EXPECT_EQ(request.callFrom, "N0CALL");
    EXPECT_EQ(request.callTo, "K9ZZZ");
    EXPECT_EQ(w.windowTitle(), "DX Spotting Setup - Connected to K9ZZZ");
    EXPECT_TRUE(f.monitor().endsWith("** Connected to K9ZZZ **"));
    EXPECT_EQ(f.t().dialogs.beeps, 1);

    // A typed line goes to the station as data, ended by CR.
    f.Send("SH/DX");
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.Kinds().size() == 4; }));
    EXPECT_EQ(engine.Received()[3].kind, 'D');
    EXPECT_EQ(engine.Received()[3].callTo, "K9ZZZ");
    EXPECT_EQ(engine.Received()[3].data, "SH/DX\r");

    // The node's answer: two spot lines in one frame, both posted.
    engine.Queue(Frame('D', "K9ZZZ", "N0CALL",
                       "DX de S53M:       7064.6  KL7SB        rtty, ufb sig                  0302Z\r"
                       "DX de KM3T-2-#:  14100.0  CS3B           CW    24 dB  22 WPM  NCDXF B 2259Z\r"));
    ASSERT_TRUE(PollUntil(w, [&] { return f.main.window().txtDX->topLevelItemCount() == 2; }));
    EXPECT_EQ(f.program().spotStore.DXSpotCall[48], "KL7SB");
    EXPECT_EQ(f.program().spotStore.DXSpotCall[49], "CS3B");
    EXPECT_EQ(f.monitor().count("KL7SB"), 1);

    // A frame whose spot line follows other text is shown once, and posted.
    engine.Queue(Frame('D', "K9ZZZ", "N0CALL",
                       "K9ZZZ de NODE 1800Z >\r"
                       "DX de W3LPL:     14025.0  VE3AA        cq test                        1801Z\r"));
    ASSERT_TRUE(PollUntil(w, [&] { return f.main.window().txtDX->topLevelItemCount() == 3; }));
    EXPECT_EQ(f.program().spotStore.DXSpotCall[49], "VE3AA");
    EXPECT_EQ(f.monitor().count("K9ZZZ de NODE 1800Z >"), 1);
    EXPECT_EQ(f.monitor().count("VE3AA"), 1);

    // The station disconnects.
    engine.Queue(Frame('d', "K9ZZZ", "N0CALL", "*** DISCONNECTED From Station K9ZZZ\r"));
    ASSERT_TRUE(PollUntil(w, [&] { return w.AGWConnectedCall.isEmpty(); }));
    EXPECT_EQ(w.windowTitle(), "DX Spotting Setup");
    EXPECT_TRUE(f.monitor().endsWith("\r\n** Disconnected from K9ZZZ **\r\n"));
    EXPECT_EQ(f.t().dialogs.beeps, 3);

    // Close Port ends the registration.
    w.Command2_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.ClientGone(); }));
    EXPECT_EQ(engine.Kinds().right(1), "x");
    EXPECT_TRUE(w.Label4->isHidden());
}

TEST(AgwEngine, CloseWhileConnectedSendsTheDisconnectRequest) {
    ConnectedToK9zzz c;
    auto& [engine, f, w] = c;
    w.Command2_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.ClientGone(); }));
    EXPECT_EQ(engine.Kinds(), "XmCdx");
    EXPECT_EQ(engine.Received()[3].callTo, "K9ZZZ");
    EXPECT_EQ(w.windowTitle(), "DX Spotting Setup");
    EXPECT_TRUE(f.monitor().endsWith("\r\n\r\n** Port Closed **"));
}

// Close returns without waiting for the unregistration to leave: with an
// engine that takes nothing for a while and megabytes still to go, every
// frame still reaches it in order, the 'x' last, and the connection ends
// after it.
TEST(AgwEngine, CloseLetsEverythingSentLeaveWithoutWaiting) {
    FakeAgwServer engine;
    platform::PacketEngineClient client;
    client.SetEndpoint(QStringLiteral("127.0.0.1"), engine.port());
    int answer = -1;
    ASSERT_TRUE(client.StartPoll(QStringLiteral("N0CALL"), {}, [&](int result) { answer = result; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer != -1; }));
    ASSERT_EQ(answer, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.Kinds() == "Xm"; }));

    engine.PauseReading(true);
    constexpr int kLines = 1000;
    const QByteArray line(platform::PacketEngineClient::kMaxData, 'a');
    for (int i = 0; i < kLines; ++i) ASSERT_EQ(client.PutData(QStringLiteral("K9ZZZ"), line, 'D'), 1);
    client.Close();
    EXPECT_FALSE(client.IsRegistered());
    engine.PauseReading(false);

    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.ClientGone(); }, 20000));
    const QByteArray kinds = engine.Kinds();
    EXPECT_EQ(kinds.toStdString(), ("Xm" + QByteArray(kLines, 'D') + "x").toStdString());
}

TEST(AgwEngine, TheSendBoxBreaksLongLinesAndEscTypesAColon) {
    ConnectedToK9zzz c;
    auto& [engine, f, w] = c;
    // Past 70 characters the line goes at the next space, without it.
    const QString words = QString(70, u'x');
    QTest::keyClicks(w.txtSent, words + " more");
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.Kinds() == "XmCD"; }));
    EXPECT_EQ(engine.Received()[3].data, words.toLatin1() + "\r");
    EXPECT_EQ(w.txtSent->text(), "more");
    w.txtSent->clear();
    QTest::keyClick(w.txtSent, Qt::Key_Escape);
    EXPECT_EQ(w.txtSent->text(), ":");
    // The main window unloads the window at the end: the station is told.
    f.program().UnloadPacketSpotfrm();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.ClientGone(); }));
    EXPECT_EQ(engine.Kinds(), "XmCDdx");
}

TEST(AgwEngine, CommandsThatSendNothing) {
    FakeAgwServer engine;
    SpottingFixture f;
    UseEngineAt(f, engine.port());
    Registered(f);
    f.Send(":D");           // nobody connected
    f.Send(":X K9ZZZ");     // no such command
    f.Send("hello");        // text with nobody connected
    f.Send(":C K9ZZZZZZZZ"); // too long for a call
    f.Send(":C   ");
    ASSERT_EQ(f.t().dialogs.shown.size(), 1u);
    EXPECT_EQ(f.t().dialogs.shown[0].title, "Call sign Required");
    EXPECT_EQ(f.t().dialogs.shown[0].text, "You must enter a call sign to connect to such as :C Tavik");
    QTest::qWait(100);
    EXPECT_EQ(engine.Kinds(), "Xm");
}

TEST(AgwEngine, RefusedAndMissingEngineAndNoOwnCall) {
    {
        FakeAgwServer engine;
        engine.acceptRegistration = false;
        SpottingFixture f;
        UseEngineAt(f, engine.port());
        PacketSpotfrm& w = Refused(f);
        ASSERT_EQ(f.t().dialogs.shown.size(), 1u);
        EXPECT_EQ(f.t().dialogs.shown[0].title, "Unable to connect to the AGW Packet Engine.");
        EXPECT_TRUE(w.Label4->isHidden());
        EXPECT_FALSE(w.Timer1->isActive());
        EXPECT_TRUE(f.monitor().endsWith("- Click Open from this program.\r\n\r\n"));
    }
    {
        SpottingFixture f;
        UseEngineAt(f, FreePort());  // nothing listens there
        PacketSpotfrm& w = Refused(f);
        ASSERT_EQ(f.t().dialogs.shown.size(), 1u);
        EXPECT_EQ(f.t().dialogs.shown[0].title, "Unable to connect to the AGW Packet Engine.");
        EXPECT_TRUE(w.Label4->isHidden());
    }
    {
        // A call longer than AX.25 carries is refused before anything is sent.
        FakeAgwServer engine;
        SpottingFixture f;
        UseEngineAt(f, engine.port());
        f.program().station.OwnCall = "K9ZZZZ-123";
        PacketSpotfrm& w = Refused(f);
        ASSERT_EQ(f.t().dialogs.shown.size(), 1u);
        EXPECT_EQ(f.t().dialogs.shown[0].title, "Unable to connect to the AGW Packet Engine.");
        EXPECT_TRUE(w.Label4->isHidden());
        QTest::qWait(50);
        EXPECT_EQ(engine.Kinds(), "");
    }
    {
        SpottingFixture f;
        UseEngineAt(f, FreePort());
        f.program().station.OwnCall = "   ";
        PacketSpotfrm& w = Refused(f);
        ASSERT_EQ(f.t().dialogs.shown.size(), 1u);
        EXPECT_EQ(f.t().dialogs.shown[0].title, "Call Sign Required!");
        EXPECT_EQ(f.t().dialogs.beeps, 1);
        EXPECT_FALSE(w.Timer1->isActive());
        EXPECT_TRUE(w.Label4->isHidden());
    }
}

TEST(AgwEngine, AnAnswerThatNeverComesOrIsNoLongerWantedEndsTheRegistration) {
    {
        // An engine that takes the registration and never answers it.
        FakeAgwServer engine;
        engine.AnswerAfter({}, true);
        SpottingFixture f;
        UseEngineAt(f, engine.port());
        // The engine is given 2.5 s; the wait here is long enough for any load.
        PacketSpotfrm& w = Refused(f, 30000);
        ASSERT_EQ(f.t().dialogs.shown.size(), 1u);
        EXPECT_EQ(f.t().dialogs.shown[0].title, "Unable to connect to the AGW Packet Engine.");
        EXPECT_TRUE(w.Label4->isHidden());
        EXPECT_FALSE(w.Timer1->isActive());
        EXPECT_TRUE(QTest::qWaitFor([&] { return engine.ClientGone(); }));
    }
    {
        // Close Port before the answer: the answer that comes later is not
        // taken, and nothing is shown.
        FakeAgwServer engine;
        engine.AnswerAfter({}, true);
        SpottingFixture f;
        UseEngineAt(f, engine.port());
        PacketSpotfrm& w = f.window();
        ASSERT_TRUE(QTest::qWaitFor([&] { return engine.Kinds() == "X"; }));
        w.Command2_Click();
        EXPECT_TRUE(f.monitor().endsWith("\r\n\r\n** Port Closed **"));
        engine.Release();
        ASSERT_TRUE(QTest::qWaitFor([&] { return engine.ClientGone(); }));
        QTest::qWait(100);
        EXPECT_TRUE(f.t().dialogs.shown.empty());
        EXPECT_FALSE(w.Timer1->isActive());
        EXPECT_TRUE(w.Label4->isHidden());
        EXPECT_EQ(engine.Kinds(), "X");
    }
}

TEST(AgwEngine, UnsoundFramesAreClampedOrEndTheConnection) {
    FakeAgwServer engine;
    SpottingFixture f;
    UseEngineAt(f, engine.port());
    PacketSpotfrm& w = Registered(f);
    // Data beyond 4000 bytes is cut to 4000.
    engine.Queue(Frame('U', "W9XG", "BEACON", " 1:Fm W9XG To BEACON <UI>\r" + QByteArray(5000, 'a')));
    ASSERT_TRUE(PollUntil(w, [&] { return f.monitor().contains("aaaa"); }));
    EXPECT_TRUE(f.monitor().contains(QString(4000 - 26, u'a')));
    EXPECT_FALSE(f.monitor().contains(QString(4000 - 26 + 1, u'a')));
    // A header that claims more than 64 KiB drops the connection.
    AgwFrame huge = Frame('U', "W9XG", "BEACON", {});
    QByteArray bytes = platform::EncodeAgwFrame(huge);
    bytes[28] = 0;
    bytes[29] = 0;
    bytes[30] = 2;  // 128 KiB
    engine.Queue(bytes);
    ASSERT_TRUE(PollUntil(w, [&] { return engine.ClientGone(); }));
    // The operator is told, and the source is closed.
    EXPECT_TRUE(w.Label4->isHidden());
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_TRUE(f.monitor().endsWith(
        "\r\nERROR: Connection is aborted due to timeout or other failure.\r\n\r\n** Port Closed **"))
        << f.monitor().toStdString();
}

}  // namespace

// The spotting window as an operator meets it on a desktop: the logger
// itself (the ostrel program), on an X server of the test's own with a
// window manager (openbox), driven from the keyboard through xdotool, with a
// cluster node on loopback. The offscreen platform activates a window at
// once; a window manager gives the focus to a new window later, on its own
// terms, and that is where the first opening's focus is decided.
//
// Skipped when Xvfb, openbox or xdotool is not installed (scripts/setup
// installs them).
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>
#include <csignal>
#include <memory>
#include <optional>

#include <sys/prctl.h>

#include "spotting/loopback_cluster.h"
#include "spotting/spotting_fixture.h"
#include "support/setup_fixture.h"
#include "support/test_program.h"
#include "support/x_server.h"

namespace {

using testing_support::LoopbackCluster;
using testing_support::TestProgram;
using testing_support::XServer;

// A program on the test's display that ends with the test, however the test
// ends.
std::unique_ptr<QProcess> StartProgram(const QString& program, const QProcessEnvironment& environment,
                                       const QString& folder = {}) {
    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setProcessEnvironment(environment);
    if (!folder.isEmpty()) process->setWorkingDirectory(folder);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process->start();
    return process;
}

// Ends its program when the test leaves the scope, passed or not.
struct Running {
    std::unique_ptr<QProcess> process;
    explicit Running(std::unique_ptr<QProcess> p) : process(std::move(p)) {}
    ~Running() {
        if (process->state() == QProcess::NotRunning) return;
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished();
        }
    }
    QProcess* operator->() const { return process.get(); }
};

// The operator's keyboard, and what the window manager shows, through
// xdotool. Events of the test run while it waits: the cluster node answers
// from the test's thread.
class Desktop {
public:
    explicit Desktop(QProcessEnvironment environment) : environment_(std::move(environment)) {}

    std::optional<QByteArray> Xdotool(const QStringList& arguments) {
        QProcess x;
        x.setProcessEnvironment(environment_);
        x.start(QStringLiteral("xdotool"), arguments);
        if (!QTest::qWaitFor([&] { return x.state() == QProcess::NotRunning; }, 10000)) {
            x.kill();
            x.waitForFinished();
            return std::nullopt;
        }
        if (x.exitStatus() != QProcess::NormalExit || x.exitCode() != 0) return std::nullopt;
        return x.readAllStandardOutput();
    }

    // The caption of the window that has the keyboard.
    QString ActiveWindow() {
        const std::optional<QByteArray> name = Xdotool({"getactivewindow", "getwindowname"});
        return name ? QString::fromUtf8(*name).trimmed() : QString();
    }

    // Waits until a window whose caption holds `caption` has the keyboard.
    bool WaitForActive(const QString& caption, int ms = 30000) {
        return QTest::qWaitFor([&] { return ActiveWindow().contains(caption); }, ms);
    }

    bool Keys(const QStringList& keys) { return Xdotool(QStringList{"key", "--delay", "50"} + keys).has_value(); }
    bool Type(const QString& text) { return Xdotool({"type", "--delay", "50", text}).has_value(); }

private:
    QProcessEnvironment environment_;
};

TEST(SpottingWindowOnADesktop, TheFirstOpeningFromTheMenuTakesTheLoginInTheSendBox) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed";

    // A station inside the party state whose PackSpot.txt names a Telnet
    // node on loopback, in a working folder seeded as scripts/run seeds it.
    LoopbackCluster cluster;
    TestProgram t;
    testing_support::SeedWorkingFolder(t);
    TestProgram::WriteFile(t.workFile("QSOpref.txt"), testing_support::kInStatePrefs);
    TestProgram::WriteFile(t.workFile("log.txt"), "");
    TestProgram::WriteLines(t.workFile("PackSpot.txt"), testing_support::TelnetTo(cluster.port()).Lines());

    XServer x;
    ASSERT_TRUE(x.StartOnFreeDisplay("1024x768x24"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", QString::fromLatin1(x.display()));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    // The stored UTC offset is 5 hours: a clock 5 hours behind UTC asks
    // nothing about it.
    environment.insert("TZ", "EST5");
    environment.insert("XDG_DATA_HOME", t.root() + "/data-home");
    environment.insert("XDG_CONFIG_HOME", t.root() + "/config-home");
    environment.insert("XDG_RUNTIME_DIR", t.root());
    environment.remove("APPDATA");
    environment.remove("USERPROFILE");
    Desktop desktop(environment);

    // The window manager is up once it tells the desktops it manages.
    const Running windowManager(StartProgram("openbox", environment));
    ASSERT_TRUE(QTest::qWaitFor([&] { return desktop.Xdotool({"get_num_desktops"}).has_value(); }, 15000))
        << "openbox did not start";
    const Running logger(StartProgram(QStringLiteral(OSTREL_PROGRAM), environment, t.work()));

    // The start-up road: the set-up dialog's Done, then Yes to continuing
    // the log.
    ASSERT_TRUE(desktop.WaitForActive("Setup Information")) << logger->readAll().toStdString();
    ASSERT_TRUE(desktop.Keys({"Return"}));
    ASSERT_TRUE(desktop.WaitForActive("Open existing log?")) << logger->readAll().toStdString();
    ASSERT_TRUE(desktop.Keys({"Return"}));
    ASSERT_TRUE(desktop.WaitForActive("Tavik's Ostrel")) << logger->readAll().toStdString();

    // Options > DX Spotting > Configure: the window opens the saved source,
    // and the node asks for the login.
    ASSERT_TRUE(desktop.Keys({"alt+o", "d", "c"}));
    ASSERT_TRUE(desktop.WaitForActive("DX Spotting Setup")) << desktop.ActiveWindow().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return cluster.peer != nullptr; }, 10000));
    cluster.Send("Please enter your call: ");

    // The operator types the login at once and presses Enter: it goes to the
    // node, and the source stays open.
    ASSERT_TRUE(desktop.Type("K9ABC"));
    ASSERT_TRUE(desktop.Keys({"Return"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return cluster.received == "K9ABC\r\n"; }, 10000))
        << "the node received \"" << cluster.received.toStdString() << "\"";
    EXPECT_EQ(cluster.peer->state(), QAbstractSocket::ConnectedState);
}

}  // namespace

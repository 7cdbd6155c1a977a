#pragma once
// A program with a loaded main window (so spots reach the store and the spot
// list) and a PackSpot.txt written by the test before the spotting window is
// first opened.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "mainwindow/main_window.h"
#include "spotting/packet_spot_frm.h"
#include "support/main_window_fixture.h"

namespace testing_support {

struct SpotSettings {
    QString baud = "9600";
    QString parity = "N";
    QString dataBits = "8";
    QString stopBits = "1";
    QString port = "1";
    QString power = "N";
    QString source = "None";
    QString convert = "0";
    QString handshake = "3";
    QString dxOnly = "0";
    QString listDisplay = "#FALSE#";
    QString hex = "03";
    QString telnetPort;
    QString telnetHost;

    // The 14 lines as the window writes them.
    QStringList Lines() const;
};

// The Telnet source to a cluster node at `host`:`port`.
SpotSettings TelnetTo(int port, const QString& host = QStringLiteral("127.0.0.1"));

class SpottingFixture {
public:
    SpottingFixture();

    MainWindowFixture main{1};
    Program& program() { return main.program(); }
    TestProgram& t() { return main.t; }

    void WriteSettings(const SpotSettings& settings);
    // The spotting window, created (and its saved source opened) on first use.
    spotting::PacketSpotfrm& window() { return program().packetSpotfrm(); }
    QString monitor() { return window().feed.monitor.text(); }
    // Types `text` into the send box and presses Enter.
    void Send(const QString& text);
    // Runs events until `done` holds or 5 s pass; false on the time-out.
    template <class F>
    bool WaitFor(F done, int ms = 5000);
};

}  // namespace testing_support

#include <QTest>

template <class F>
bool testing_support::SpottingFixture::WaitFor(F done, int ms) {
    return QTest::qWaitFor(done, ms);
}

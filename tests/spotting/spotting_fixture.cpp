#include "spotting/spotting_fixture.h"

#include <QLineEdit>
#include <QTest>

namespace testing_support {

QStringList SpotSettings::Lines() const {
    auto q = [](const QString& text) { return '"' + text + '"'; };
    return {q(baud),       q(parity),  q(dataBits),  q(stopBits), port,
            q(power),      q(source),  convert,      handshake,   dxOnly,
            listDisplay,   q(hex),     q(telnetPort), q(telnetHost)};
}

SpotSettings TelnetTo(int port, const QString& host) {
    SpotSettings s;
    s.source = "Telnet";
    s.telnetHost = host;
    s.telnetPort = QString::number(port);
    return s;
}

SpottingFixture::SpottingFixture() {
    main.WriteLog("");
    main.Load();
    // What the main window's load asked is not the spotting window's.
    t().dialogs.shown.clear();
    t().dialogs.beeps = 0;
}

void SpottingFixture::WriteSettings(const SpotSettings& settings) {
    TestProgram::WriteLines(t().workFile("PackSpot.txt"), settings.Lines());
}

void SpottingFixture::Send(const QString& text) {
    spotting::PacketSpotfrm& w = window();
    w.show();
    w.txtSent->setFocus();
    QTest::keyClicks(w.txtSent, text);
    QTest::keyClick(w.txtSent, Qt::Key_Return);
}

}  // namespace testing_support

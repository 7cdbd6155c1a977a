// The rig poll's read tick on an 11,000-contact log: one that parses a
// Kenwood reply and reports the band the main window already shows, and one
// whose report changes the band (a save and a log reload), each against
// LoadLog of the same log.
// Prints "ratio rig-tick/loadlog <value>" and "ratio rig-band-change/loadlog <value>".
#include <QApplication>
#include <cstdio>

#include "bench_support.h"
#include "logstore/county_table.h"
#include "mainwindow/main_window.h"
#include "platform/serial_port.h"
#include "program/main_window_proxy.h"
#include "rig/rig_engine.h"

namespace {

// A port whose radio has always just answered `reply`.
class AnsweringPort final : public platform::SerialPort {
public:
    QByteArray reply;
    void SetPortNumber(int) override {}
    int PortNumber() const override { return 1; }
    void SetSettings(const QString&) override {}
    QString Settings() const override { return {}; }
    void SetHandshaking(platform::Handshaking) override {}
    platform::Handshaking GetHandshaking() const override { return platform::Handshaking::None; }
    void SetDtr(bool) override {}
    bool Dtr() const override { return false; }
    void SetRts(bool) override {}
    bool Rts() const override { return false; }
    bool Open(QString*) override { return open_ = true; }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    QByteArray Input() override { return reply; }
    bool Output(const QByteArray&, QString*) override { return true; }
    int OutBufferCount() const override { return 0; }
    int InBufferCount() const override { return int(reply.size()); }
    void DiscardInput() override {}
    QString DevicePath() const override { return {}; }

private:
    bool open_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::BenchProgram b;
    Program& program = b.program();
    program.station.StationSide = 1;
    program.station.PartyState = "WI";
    program.station.CurrentBand = "20";
    program.station.CurrentMode = "CW";
    program.station.RigType = "None";
    b.WriteLog(logstore::kMaxContacts);
    b.CopyDataFile("county2.txt");
    logstore::LoadCountyTable(program.counties, program.logPlace());
    mainwindow::MainWindow& w = program.OpenMainWindow();
    w.Form_Load(QSizeF(9600, 7200));

    const double load = bench::MedianMs(15, [&] { program.LoadLog(); });

    AnsweringPort port;
    platform::SystemClock clock;
    bench::QuietDialogs dialogs;
    rig::RigEngine::Hooks hooks;
    hooks.reportFrequency = [&](float& mhz) { program.form1().BandFreqConversion(mhz); };
    hooks.reportMode = [&](QString& mode) { program.form1().ModeSelection(mode); };
    rig::RigEngine engine(port, clock, dialogs, hooks);
    engine.settings.RigType = "Kenwood";
    engine.settings.FreqPollString = "FA;";
    engine.settings.ModePollString = "MD;";
    engine.OpenRigPort();

    // A send tick and the read tick after it; the send tick writes three
    // bytes to a port that takes them at once.
    port.reply = "FA00014025000;MD3;";
    const double tick = bench::MedianMs(2001, [&] {
        engine.tmrGetData_Timer();
        engine.tmrGetData_Timer();
    });
    bool forty = false;
    const double change = bench::MedianMs(15, [&] {
        forty = !forty;
        port.reply = forty ? "FA00007025000;MD3;" : "FA00014025000;MD3;";
        engine.tmrGetData_Timer();
        engine.tmrGetData_Timer();
    });
    std::printf("LoadLog %.3f ms, rig tick %.4f ms, rig tick with band change %.3f ms (band now %s)\n", load, tick,
                change, qPrintable(program.station.CurrentBand));
    std::printf("ratio rig-tick/loadlog %.4f\n", tick / load);
    std::printf("ratio rig-band-change/loadlog %.2f\n", change / load);
    return 0;
}

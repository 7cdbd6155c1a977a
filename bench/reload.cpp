// The whole log reload of each main window on an 11,000-contact log, with
// the recent-contacts list showing all contacts, against LoadLog alone.
// Prints "ratio reload-in/loadlog <value>" and "ratio reload-out/loadlog <value>".
#include <QApplication>
#include <cstdio>

#include "bench_support.h"
#include "logstore/county_table.h"
#include "mainwindow/main_window.h"

namespace {

double reloadMs(int side) {
    bench::BenchProgram b;
    Program& program = b.program();
    program.station.StationSide = static_cast<std::uint8_t>(side);
    program.station.PartyState = "WI";
    program.station.CurrentBand = "40";
    program.station.CurrentMode = "CW";
    b.WriteLog(logstore::kMaxContacts);
    b.CopyDataFile("county2.txt");
    logstore::LoadCountyTable(program.counties, program.logPlace());
    mainwindow::MainWindow& w = program.OpenMainWindow();
    w.Form_Load(QSizeF(9600, 7200));
    w.cmdList_Click();  // "All"
    return bench::MedianMs(15, [&] { w.ReloadLog(); });
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::BenchProgram b;
    b.WriteLog(logstore::kMaxContacts);
    const double load = bench::MedianMs(15, [&] { b.program().LoadLog(); });
    const double in = reloadMs(0);
    const double out = reloadMs(1);
    std::printf("LoadLog %.3f ms, ReloadLog in-state %.3f ms, out-of-state %.3f ms\n", load, in, out);
    std::printf("ratio reload-in/loadlog %.2f\n", in / load);
    std::printf("ratio reload-out/loadlog %.2f\n", out / load);
    return 0;
}

// The call box and logging on a full-size log: the cost of one key typed in
// the call box (partial dupes on, prefix lookup) and of Mains logging one
// contact, beside LoadLog of the same file.
// Prints "ratio keystroke/loadlog <value>" and "ratio mains/loadlog <value>".
#include <QApplication>
#include <QLineEdit>
#include <cstdio>

#include "bench_support.h"
#include "logstore/county_table.h"
#include "mainwindow/main_window.h"
#include "setup/reference_tables.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::BenchProgram b;
    Program& program = b.program();
    program.station.StationSide = 0;
    program.station.PartyState = "WI";
    program.station.CurrentBand = "40";
    program.station.CurrentMode = "CW";
    program.station.OperatingCounty = "ADA";
    program.station.FormSizePercent = 100;
    b.WriteLog(logstore::kMaxContacts - 100);
    b.CopyDataFile("county2.txt");
    b.CopyDataFile("arrlpre2.txt");
    b.CopyDataFile("states.txt");
    logstore::LoadCountyTable(program.counties, program.logPlace());
    setup::LoadPrefixTable(program);
    setup::LoadStatePositionTable(program);
    const double load = bench::MedianMs(15, [&] { program.LoadLog(); });

    mainwindow::MainWindow& w = program.OpenMainWindow();
    w.Form_Load(QSizeF(9600, 7200));
    w.cmdLogOn_Click();

    // One key: the handler, then the character into the box (which runs the
    // change handler and the prefix lookup).
    const QString keys = "W9ABD";
    int next = 0;
    const double key = bench::MedianMs(201, [&] {
        if (next == keys.size()) {
            w.entry().txtCall->clear();
            next = 0;
        }
        int KeyAscii = keys[next++].unicode();
        w.entry().txtCall_KeyPress(KeyAscii);
        if (KeyAscii != 0) w.entry().txtCall->insert(QString(QChar(KeyAscii)));
    });

    int serial = 0;
    const double mains = bench::MedianMs(31, [&] {
        w.entry().txtCall->setText(QString("K%1XYZ").arg(++serial));
        w.entry().txtCntry->setText("WI");
        w.entry().txtSec->setText("Dane");
        w.entry().Mains();
    });
    std::printf("LoadLog %.3f ms, call-box key %.3f ms, Mains %.3f ms (%d contacts)\n", load, key,
                mains, program.log.QSOCount);
    std::printf("ratio keystroke/loadlog %.3f\n", key / load);
    std::printf("ratio mains/loadlog %.3f\n", mains / load);
    return 0;
}

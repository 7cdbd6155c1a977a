// The spot intake on a busy feed: 10,000 cluster spot lines (real lines with
// other calls and frequencies) through the TNC line assembler, the parser,
// the spot store and the main window's spot list, with the band map shown
// on the shown window and redrawn from the event loop as it is in use (each
// chunk is handled as one event, and the queued redraws run between
// chunks), against a plain split of the same text into lines.
// Prints "ratio spot-intake/line-split <value>" and "spots-per-second <value>".
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTreeWidget>
#include <cstdio>

#include "bench_support.h"
#include "spotting/dx_spot_lines.h"  // the feed's lines
#include "logstore/county_table.h"
#include "mainwindow/main_window.h"
#include "program/main_window_proxy.h"
#include "setup/reference_tables.h"
#include "spotting/band_map.h"
#include "spotting/spot_feed.h"
#include "spotting/spot_panel.h"

namespace {

constexpr int kSpots = 10000;

// The real lines again and again, each with a call and frequency of its own
// (same columns), as a skimmer feed delivers them.
QString FeedText() {
    QString text;
    for (int i = 0; i < kSpots; ++i) text += testing_support::VariedSpotLine(i, 14000.0, 3500) + QStringLiteral("\r\n");
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::BenchProgram b;
    Program& program = b.program();
    program.station.StationSide = 1;
    program.station.CurrentBand = "20";
    program.station.CurrentMode = "CW";
    program.station.FormSizePercent = 100;
    b.WriteLog(10);
    b.CopyDataFile("county2.txt");
    b.CopyDataFile("arrlpre2.txt");
    b.CopyDataFile("states.txt");
    logstore::LoadCountyTable(program.counties, program.logPlace());
    setup::LoadPrefixTable(program);
    setup::LoadStatePositionTable(program);
    mainwindow::MainWindow& w = program.OpenMainWindow();
    w.Form_Load(QSizeF(9600, 7200));
    // The band map shows on the shown window, as the spot panel opens it.
    w.show();
    w.spotPanel().PacketResize(QStringLiteral("Telnet"), false);
    if (!w.spotPanel().BandMapShows()) {
        std::printf("the band map does not show\n");
        return 1;
    }
    // The band map's labels are shown and hidden as spots come and go.
    struct Visibility final : QObject {
        int changes = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Show || event->type() == QEvent::Hide) ++changes;
            return false;
        }
    } visibility;
    for (QLabel* label : w.bandMap().lblDXSpot) label->installEventFilter(&visibility);

    const QString text = FeedText();
    // Chunks as the port delivers them between polls.
    constexpr qsizetype kChunk = 1400;

    long long lines = 0;
    const double split = bench::MedianMs(9, [&] {
        lines = text.split(u'\n').size();
    });
    bench::KeepAlive(lines);

    int posted = 0;
    const double intake = bench::MedianMs(5, [&] {
        spotting::SpotFeed feed([&](const spotting::SpotLine& spot) {
            ++posted;
            QVariant call(spot.call), frequency(spot.frequency), record(spot.record);
            program.form1().BandMapSpots(call, frequency, record);
        });
        for (qsizetype at = 0; at < text.size(); at += kChunk) {
            feed.ReceiveTnc(QStringView(text).sliced(at, std::min(kChunk, text.size() - at)));
            QCoreApplication::processEvents();
        }
        // The last chunk's redraw belongs to the intake too.
        while (w.SpotViewsPending()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    });
    int shown = 0;
    for (const QLabel* label : w.bandMap().lblDXSpot) shown += label->isVisible() ? 1 : 0;
    std::printf("line split %.3f ms, spot intake %.3f ms for %d spots (%d rows in the list, "
                "%d spot labels shown, %d label shows and hides in all runs)\n",
                split, intake, kSpots, w.txtDX->topLevelItemCount(), shown, visibility.changes);
    std::printf("ratio spot-intake/line-split %.3f\n", intake / split);
    std::printf("spots-per-second %.0f\n", kSpots / (intake / 1000.0));
    return posted > 0 ? 0 : 1;
}

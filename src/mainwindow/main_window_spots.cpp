// The main window's spotting commands: the spotting window, the spot list,
// and the spots the spotting window hands on.
#include <QLineEdit>
#include <QTreeWidget>
#include <optional>

#include "entry/prefix_lookup.h"
#include "mainwindow/main_window.h"
#include "platform/same_text.h"
#include "program/program.h"
#include "setup/station.h"
#include "spotting/packet_spot_frm.h"
#include "spotting/spot_list.h"
#include "spotting/spot_store.h"

namespace mainwindow {

void MainWindow::mnuDXSpotting_Click() {
    setup::SaveQSOPref(program_);
    ShowSpotting();
}

void MainWindow::ShowSpotting() {
    spotting::PacketSpotfrm& spotting = program_.packetSpotfrm();
    spotting.show();
    spotting.raise();
    spotting.activateWindow();
}

void MainWindow::txtDX_Click() {
    entry_->txtCall->setFocus();
    if (txtDX->topLevelItemCount() == 0) return;
    const QTreeWidgetItem* row = txtDX->currentItem();
    if (!row) return;
    // The "Frequency" cell is in MHz.
    const std::optional<double> mhz = spotting::SpotFrequencyKHz(row->text(1));
    if (!mhz) return;
    const QString call = row->text(0);
    // The rig is tuned as from a right click on a band-map spot; it does
    // nothing while the rig is not being polled.
    if (!platform::SameText(program_.station.RigType, QLatin1StringView("None")))
        program_.TuneToSpot(static_cast<float>(*mhz));
    entry_->txtCall->setFocus();
    entry_->txtCall->setText(call);
}


void MainWindow::BandMapSpots(QVariant& qDXSpotCall, QVariant& qDXSpotFreq,
                              QVariant& qDXSpotRecord) {
    // Every step guards itself: a failure ends the intake where it is, and
    // nothing reaches the caller.
    try {
        const QString call = qDXSpotCall.toString();
        const std::optional<double> kHz = spotting::SpotFrequencyKHz(qDXSpotFreq.toString());
        if (!kHz) return;
        const std::optional<spotting::SpotRow> row = spotting::FileSpot(
            program_.spotStore, call, qDXSpotFreq.toString(), qDXSpotRecord.toString(),
            program_.clock(), program_.station.UTCOffsetHours,
            [this](const QString& c) { return entry::CountryFromCall(program_, c); });
        if (!row) return;
        // The caller's values as the intake left them: MHz, and the record
        // cut before its first CR.
        QString record = qDXSpotRecord.toString();
        const qsizetype cr = record.indexOf(u'\r');
        if (cr >= 0) record.truncate(cr);
        qDXSpotRecord = record;
        qDXSpotFreq = *kHz / 1000.0;
        // The maps are redrawn, and the list repainted, once a frame for
        // all the spots come meanwhile; the list takes its row at once.
        spotViews_->Mark();
        spotting::AddSpotRow(*txtDX, *row);
    } catch (const std::exception&) {
        // The steps done stay done.
    }
}

}  // namespace mainwindow

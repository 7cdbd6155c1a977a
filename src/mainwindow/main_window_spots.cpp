// The main window's spotting commands: the spotting window and the spot list.
#include <QLineEdit>
#include <QTreeWidget>

#include "mainwindow/main_window.h"
#include "platform/same_text.h"
#include "program/program.h"
#include "setup/station.h"
#include "spotting/packet_spot_frm.h"
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

}  // namespace mainwindow

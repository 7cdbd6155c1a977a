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
    txtCall->setFocus();
    if (txtDX->topLevelItemCount() == 0) return;
    const QTreeWidgetItem* row = txtDX->currentItem();
    if (!row) return;
    if (!spotting::SpotFrequencyKHz(row->text(1))) return;
    // Tuning to the row's frequency (when a rig model is set up) goes through
    // the rig window's ChangeFrequency, which this program does not have yet.
    txtCall->setFocus();
    txtCall->setText(row->text(0));
}

}  // namespace mainwindow

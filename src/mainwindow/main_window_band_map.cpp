// The main window's spot panel and band map, and the spectrum map it opens.
#include <QListWidget>
#include <QRadioButton>

#include "mainwindow/main_window.h"
#include "platform/modal.h"
#include "program/program.h"
#include "spotting/packet_spot_frm.h"
#include "spotting/spectrum_map.h"
#include "spotting/spot_list.h"
#include "spotting/spot_panel.h"

namespace mainwindow {

void MainWindow::buildSpotPanel() {
    spotPanel_ = std::make_unique<spotting::SpotPanel>(*this, program_, txtDX, entry_->txtCall, entry_->lblDupe,
                                                       [this] { FitCountyLists(); });
    spotting::BandMap& map = spotPanel_->bandMap();
    lblDX = map.lblDX;
    map.lblDX->onClick = [this] { lblDX_Click(); };
    map.lblDX->onDoubleClick = [this] { lblDX_DblClick(); };
    spotViews_ = std::make_unique<platform::FrameUpdate>(this, [this] { redrawSpotViews(); });
}

void MainWindow::redrawSpotViews() {
    spotting::ShowSpotRows(*txtDX);
    if (!lblDX->isHidden()) DisplayBandMapLabels();
    if (program_.SpectrumMapVisible()) program_.spectrumMap().BandMapLabelDisplay();
}

bool MainWindow::SpotViewsPending() const { return spotViews_ && spotViews_->Pending(); }

spotting::BandMap& MainWindow::bandMap() { return spotPanel_->bandMap(); }

void MainWindow::PacketResize() {
    // The spotting window's Done calls this: it is loaded then.
    if (!program_.PacketSpotfrmLoaded()) return;
    spotting::PacketSpotfrm& spotting = program_.packetSpotfrm();
    const QListWidgetItem* source = spotting.List1->currentItem();
    spotPanel_->PacketResize(source ? source->text() : QString(), spotting.OptList->isChecked());
}

void MainWindow::DisplayBandMapLabels() { bandMap().DisplayBandMapLabels(); }

void MainWindow::RefreshBandMap() { bandMap().RefreshBandMap(); }

void MainWindow::SetBandMapScale() { bandMap().SetBandMapScale(); }

void MainWindow::ShowSpectrumMap() {
    platform::ShowModal(program_.spectrumMap());
    program_.UnloadSpectrumMap();
}

}  // namespace mainwindow

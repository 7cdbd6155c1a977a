// Closing the main window and ending the run: the close refused while a
// keyer sends, the other windows unloaded, the log backed up and the
// operating time kept; and the Exit command, which ends at once.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>

#include "keyers/cw_frm.h"
#include "keyers/winkey_hook.h"
#include "logstore/contact_log.h"
#include "mainwindow/main_window.h"
#include "program/program.h"
#include "setup/station.h"

namespace mainwindow {

bool MainWindow::QueryUnload() {
    program_.keyer.CWBuffer.clear();
    const keyers::KeyerState& k = program_.keyer;
    return k.CWSending != 1 && k.PracticeSending == 0 && k.WKSending == 0;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (!QueryUnload()) {
        event->ignore();
        return;
    }
    closing_ = true;
    Timer1->stop();
    Timer2->stop();
    Form_Unload();
    Form_Terminate();
    event->accept();
}

void MainWindow::Form_Unload() {
    // The other windows go first, each closing its own devices; the
    // spotting, spectrum map, rig and WinKeyer windows join this order as
    // they arrive.
    program_.UnloadPhoneFrm();
    program_.UnloadCWFrm();
    program_.UnloadBlindFrm();
    program_.UnloadPacketSpotfrm();
    program_.UnloadSpectrumMap();
    program_.UnloadRigControlfrm();
    program_.UnloadForm1();
    if (program_.winKey) program_.winKey->Unload();
    logstore::BackupLog(program_.log, program_.logPlace());
}

void MainWindow::Form_Terminate() {
    if (program_.operating.LoggedOn) {
        program_.station.BankedOperatingSeconds = static_cast<float>(program_.operating.OperatingSeconds);
        setup::SaveQSOPref(program_);
        program_.operating.LoggedOn = false;
    }
    QCoreApplication::quit();
}

void MainWindow::mnuExit_Click() {
    // No window is unloaded, but no transmitter is left keyed either.
    if (program_.CWFrmLoaded()) program_.cwFrm().ReleaseKeying();
    if (program_.operating.LoggedOn) {
        program_.station.BankedOperatingSeconds = static_cast<float>(program_.operating.OperatingSeconds);
        setup::SaveQSOPref(program_);
    }
    // Ends at once: no backup is made. The rig link still ends properly:
    // polling stops, a Yaesu is told to leave CAT mode and the port closes.
    program_.UnloadRigControlfrm();
    closing_ = true;
    Timer1->stop();
    Timer2->stop();
    hide();
    QCoreApplication::quit();
}

}  // namespace mainwindow

// The File menu's contest output: the submission file through the summary
// dialog, and the ADIF export.
#include "mainwindow/main_window.h"
#include "platform/modal.h"
#include "program/program.h"
#include "scoring/adif.h"
#include "scoring/summary_dialog.h"

namespace mainwindow {

// Each opening loads the dialog afresh; it is unloaded as soon as it closes.
void MainWindow::mnuWriteSumm_Click() {
    scoring::WICabrilloOut dialog(program_);
    platform::ShowModal(dialog);
}

void MainWindow::mnuexportADIF_Click() { scoring::ExportADIF(program_); }

}  // namespace mainwindow

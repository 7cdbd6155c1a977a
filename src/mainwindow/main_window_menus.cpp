// Menu commands with logic of their own: the clipboard copy, form size and
// taskbar layout, recall, the map and graph windows, the dialogs of the
// colours, the operating county and the help page, the rig windows, and the
// List Previous and Post Contest check marks.
#include <QAbstractItemModel>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <algorithm>
#include <cmath>

#include "mainwindow/main_window.h"
#include "platform/modal.h"
#include "platform/twips.h"
#include "program/program.h"
#include "rig/band_plan_chart.h"
#include "rig/rig_control_frm.h"
#include "entry/county_change.h"
#include "scoring/county_map.h"
#include "scoring/rate_graph.h"
#include "setup/color_dialog.h"
#include "setup/help_page.h"
#include "setup/station.h"

namespace mainwindow {

void MainWindow::mnuCopyListtoClipboard_Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || !ListView1->model()) return;
    clipboard->clear();
    const QAbstractItemModel& model = *ListView1->model();
    const int columns = model.columnCount();
    // Every field is followed by a Tab, the last of a line by CR LF.
    auto line = [columns](const auto& field) {
        QString out;
        for (int c = 0; c < columns; ++c) out += field(c) + (c + 1 < columns ? QStringLiteral("\t") : QStringLiteral("\r\n"));
        return out;
    };
    QString text = line([&](int c) { return model.headerData(c, Qt::Horizontal).toString(); });
    // The rows from the bottom of the list up to its top.
    for (int row = model.rowCount() - 1; row >= 0; --row)
        text += line([&](int c) { return model.index(row, c).data().toString(); });
    clipboard->setText(text);
}

void MainWindow::mnuFormSize_Click() {
    setup::Station& st = program_.station;
    const std::optional<QString> answer = program_.dialogs().InputBox(
        QStringLiteral("Enter the % of the screen you would like the form to cover.  Try between 90 and 100 "
                       "for best results.  Values below 75 do not display well."),
        QStringLiteral("Please enter screen percentage."), QString::number(st.FormSizePercent));
    bool numeric = false;
    double percent = answer ? answer->trimmed().toDouble(&numeric) : 0;
    // "nan" and "inf" read as numbers but are none.
    if (!numeric || !std::isfinite(percent)) {
        program_.dialogs().MsgBox(QStringLiteral("Please enter only numeric values."), platform::vbOKOnly,
                                  QStringLiteral("Numeric Values Required"));
        return;
    }
    percent = std::clamp(percent, 30.0, 100.0);
    // Halves go to the even neighbour.
    st.FormSizePercent = static_cast<std::uint8_t>(std::nearbyint(percent));
    program_.dialogs().MsgBox(QStringLiteral("This program must be closed and restarted for this setting to take effect."),
                              platform::vbOKOnly,
                              QStringLiteral("For this setting to take effect please restart this program."));
    setup::SaveQSOPref(program_);
}

void MainWindow::mnuTaskbar_Click() {
    setup::Station& st = program_.station;
    // The item has toggled its own check mark; the setting decides it.
    mnuTaskbar->setChecked(st.TaskbarLayout != 0);
    if (st.FormSizePercent != 100) {
        program_.dialogs().MsgBox(QStringLiteral("The form size must be set to 100% to use the taskbar display option."),
                                  platform::vbOKOnly,
                                  QStringLiteral("Please set your form size to 100% to use this option."));
        return;
    }
    st.TaskbarLayout = st.TaskbarLayout == 0 ? 1 : 0;
    setup::SaveQSOPref(program_);
    ArrangeForTaskbar(platform::ScreenSizeTwips(), platform::WorkAreaTwips());
}

void MainWindow::mnuRecall_Click() {
    const int count = program_.log.QSOCount;
    if (count < 1) return;
    entry_->txtCall->setText(program_.log.row(count).QSOCall);
    entry_->txtSec->setFocus();
    entry_->txtSec->setSelection(entry_->txtSec->cursorPosition(), static_cast<int>(entry_->txtSec->text().length()));
}

// Each opening loads the window afresh; it is unloaded as soon as it closes.
void MainWindow::mnuMap_Click() {
    scoring::CountyMapWI map(program_);
    map.Form_Load();
    platform::ShowModal(map);
}

void MainWindow::mnuGraph_Click() {
    scoring::GraphQSO graph(program_);
    graph.Form_Load();
    platform::ShowModal(graph);
}

void MainWindow::mnuColors_Click() {
    setup::ShowColorDialog(program_);
    setup::SaveQSOPref(program_);
    // The grid and the county lists take the new colours.
    ReloadLog();
}

void MainWindow::mnuChangeCounty_Click() {
    entry::ShowCountyChange(program_);
    setup::SaveQSOPref(program_);
    Label25->setText(program_.station.OperatingCounty);
    Label25_Change();
}

void MainWindow::mnuHelp_Click() { setup::ShowHelpPage(program_); }


void MainWindow::mnuRigInterface_Click() { program_.rigControlfrm().show(); }

void MainWindow::mnuPrivileges_Click() { rig::ShowPrivilegesChart(program_); }

bool MainWindow::ListPrevious() const { return mnuListPrevious->isChecked(); }

void MainWindow::ShowPostContestCheck(bool on) {
    if (mnuPostContest) mnuPostContest->setChecked(on);
}

void MainWindow::mnuListPrevious_Click() {
    // The action has already toggled its own check mark.
    program_.station.ListPrevious = mnuListPrevious->isChecked() ? 1 : 0;
    setup::SaveQSOPref(program_);
}

}  // namespace mainwindow

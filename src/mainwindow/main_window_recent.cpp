// The recent-contacts list, its buttons, and clearing the entry line.
#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "entry/contact_edit_dialog.h"
#include "entry/recent_contacts_model.h"
#include "logstore/contact_log.h"
#include "mainwindow/main_window.h"
#include "platform/colors.h"
#include "program/program.h"

namespace mainwindow {

void MainWindow::ListRecentContacts() {
    const int count = program_.log.QSOCount;
    const int first = ShowAllContacts == 1 ? 1 : (count < 20 ? 1 : count - 19);
    recentModel_->Refill(first);
}

int MainWindow::SelectedRecord() const {
    const QModelIndex current = ListView1->currentIndex();
    if (!current.isValid() || !ListView1->selectionModel()->isSelected(current)) return 0;
    const int record = recentModel_->RecordAt(current.row());
    return record >= 1 && record <= program_.log.QSOCount ? record : 0;
}

int MainWindow::RecentRowCount() const { return ListView1->model() ? ListView1->model()->rowCount() : 0; }

void MainWindow::HideEditButtons() {
    cmdEdit->hide();
    cmdDelete->hide();
}

void MainWindow::ListPreviousContacts(const std::vector<int>& records) { recentModel_->Show(records); }

void MainWindow::cmdDelete_Click() {
    // Only a selected row of the log is ever deleted, and without one there
    // is nothing to ask about.
    const int record = SelectedRecord();
    if (record == 0) return;
    const int answer = program_.dialogs().MsgBox(QStringLiteral("Are you sure?"), platform::vbYesNo,
                                                 QStringLiteral("Are you sure?"));
    cmdEdit->hide();
    cmdDelete->hide();
    if (answer == platform::vbNo) return;
    logstore::DeleteContact(program_.log, program_.logPlace(), record);
    ReloadLog();
    cmdEdit->hide();
    cmdDelete->hide();
}

void MainWindow::cmdEdit_Click() {
    const int record = SelectedRecord();
    if (record == 0) return;
    program_.entry.EditRecordNo = record;
    entry::ShowContactEditDialog(program_);
    cmdEdit->hide();
    cmdDelete->hide();
    // However the dialog was left: the file is rewritten from the table in
    // one whole-file write (a failure keeps the old log.txt, which the reload
    // then reads back) and every count and list follows the log again.
    logstore::RewriteLog(program_.log, program_.logPlace());
    ReloadLog();
}

void MainWindow::cmdList_Click() {
    if (ShowAllContacts == 1) {
        cmdList->setText(QStringLiteral("Last 20"));
        ShowAllContacts = 0;
    } else {
        cmdList->setText(QStringLiteral("All"));
        ShowAllContacts = 1;
    }
    ListRecentContacts();
    entry_->txtCall->setFocus();
}

void MainWindow::cmdDup_Click() {
    platform::SetBackColor(entry_->lblDupe, palette().color(QPalette::Button));
    std::uint8_t& on = program_.entry.PartialDupesOn;
    if (on == 1) {
        on = 0;
        cmdDup->setText(QStringLiteral("Off"));
    } else {
        on = 1;
        cmdDup->setText(QStringLiteral("On"));
    }
    entry_->txtCall->setFocus();
}

void MainWindow::ListView1_Click() {
    if (recentModel_ && recentModel_->rowCount() > 0) {
        cmdEdit->show();
        cmdDelete->show();
    }
}

void MainWindow::ListView1_ColumnClick(int column) { recentModel_->SortOnce(column); }

void MainWindow::ListView1_MouseUp(int button) {
    if (button == 2 && recentModel_->rowCount() > 0) cmdEdit_Click();
}

}  // namespace mainwindow

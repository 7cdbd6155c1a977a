// The main window's commands on the whole log: reload, the start-up
// question, new log, archive and restore.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <type_traits>

#include "logstore/contact_log.h"
#include "mainwindow/main_window.h"
#include "platform/colors.h"
#include "platform/text_file.h"
#include "program/program.h"
#include "scoring/worked.h"
#include "setup/folders.h"
#include "setup/station.h"

namespace mainwindow {

namespace {
const QString kLogFilter = QStringLiteral("Log Files (*.log) | *.log");
}

void MainWindow::ReloadLog() {
    entry_->LogReloaded();
    if (!program_.LoadLog()) return;  // the program has ended
    scoring::Tally& tally = program_.tally;
    // Each rebuild stands on its own: one that fails leaves its display as
    // it was and never ends the program. A failure is told once, whatever
    // number of rebuilds failed.
    bool failed = false;
    auto rebuild = [&](const char* name, auto step) {
        try {
            if (beforeRebuild) beforeRebuild(name);
            if constexpr (std::is_member_function_pointer_v<decltype(step)>)
                (this->*step)();
            else
                step();
        } catch (const std::exception&) {
            failed = true;
        }
    };
    if (side_ == Side::In) {
        rebuild("ResetStatesGrid", [&] {
            const QColor remaining = platform::FromStoredColor(program_.station.RemainingColor);
            for (int k = 1; k <= setup::kStateProvinces; ++k)
                platform::SetForeColor(Label10[static_cast<std::size_t>(k)], remaining);
            tally.StateProvWorkedCount = 0;
        });
    }
    scoring::CountModes(program_.log, tally);
    if (side_ == Side::In) {
        rebuild("RebuildStatesWorked", &MainWindow::RebuildStatesWorked);
        rebuild("FillCountyLists", &MainWindow::FillCountyLists);
        rebuild("ComputeRates", &MainWindow::ComputeRates);
        rebuild("ShowStatesWorked", &MainWindow::ShowStatesWorked);
        rebuild("CountPerBand", &MainWindow::CountPerBand);
        rebuild("ShowDXWorked", &MainWindow::ShowDXWorked);
        rebuild("ShowScore", &MainWindow::ShowScore);
        rebuild("ListRecentContacts", &MainWindow::ListRecentContacts);
    } else {
        rebuild("FillCountyLists", &MainWindow::FillCountyLists);
        rebuild("ListRecentContacts", &MainWindow::ListRecentContacts);
        rebuild("ComputeRates", &MainWindow::ComputeRates);
        rebuild("ShowScore", &MainWindow::ShowScore);
    }
    if (failed)
        program_.dialogs().MsgBox(
            QStringLiteral(
                "Error opening file.  This error is annoying but probably correctable.  In all "
                "likelihood, a character such as a quote got into your data or one of your entries "
                "has an invalid date/time format.  Close this program and open log.txt in the "
                "program's working directory with a text editor such as notepad.  Inspect the data "
                "and fix any errors you see (remove any extra quotes and make sure your date and "
                "time entries are valid)."),
            platform::vbOKOnly, QStringLiteral("File Error"));
}

void MainWindow::AskOpenExistingLog() {
    const int answer = program_.dialogs().MsgBox(
        QStringLiteral("Do you want to continue an existing contest? (Yes opens your existing log, "
                       "No erases any existing log and starts a new log.)"),
        platform::vbQuestion | platform::vbYesNo, QStringLiteral("Open existing log?"));
    if (answer != platform::vbYes) program_.StartNewLog();
    cmdEdit->hide();
    cmdDelete->hide();
}

void MainWindow::mnuNew_Click() {
    program_.StartNewLog();
    ReloadLog();
    if (program_.ended()) return;
    ShowOperatingTime();
    ComputeRates();
    setup::SaveQSOPref(program_);
}

void MainWindow::mnuArchive_Click() {
    platform::Dialogs& dialogs = program_.dialogs();
    dialogs.MsgBox(QStringLiteral("This function is used to create a permanent copy of your currently "
                                  "open log file.  To open your log file at a later date, click File > "
                                  "Restore from Archive or Backup."),
                   platform::vbOKOnly, QStringLiteral("Archive Information"));
    const QString backup = program_.folders.BackupFolder();
    platform::FileDialogRequest request;
    request.initialDir = backup;
    request.fileName = backup + "/" + setup::CallFileStem(program_.station.OwnCall) +
                       program_.clock().LocalNow().toString(QStringLiteral("yyyy-MM-dd")) + ".log";
    request.filter = kLogFilter;
    request.confirmOverwrite = true;
    std::optional<QString> chosen = dialogs.SaveFileName(request);
    if (!chosen) return;
    QString error;
    if (!platform::CopyFileReplacing(program_.WorkPath(QStringLiteral("log.txt")), *chosen, &error))
        dialogs.MsgBox(error, platform::vbOKOnly, QStringLiteral("Error Archiving Log"));
}

void MainWindow::mnuRestore_Click() {
    platform::Dialogs& dialogs = program_.dialogs();
    dialogs.MsgBox(
        QStringLiteral("This action will open an archived log or backup file and creates a working file "
                       "called log.txt.  If you make any changes to your archived data that you would like "
                       "to permanently save, before you click File > New to start a new contest, be sure "
                       "to click File > Archive to save your changes."),
        platform::vbOKOnly, QStringLiteral("Opening Archived Data Information"));
    if (program_.log.QSOCount > 0 &&
        dialogs.MsgBox(QStringLiteral("Are you sure that you want to open an archived log?  This action "
                                      "will clear and replace existing QSO data."),
                       platform::vbYesNo, QStringLiteral("Are your sure?")) == platform::vbNo)
        return;
    platform::FileDialogRequest request;
    request.initialDir = program_.folders.BackupFolder();
    request.filter = kLogFilter;
    std::optional<QString> chosen = dialogs.OpenFileName(request);
    if (!chosen) return;

    const QString title = QStringLiteral("Error Restoring Log");
    QString error;
    std::optional<QByteArray> bytes = platform::ReadWholeFile(*chosen, &error);
    if (!bytes) {
        dialogs.MsgBox(error, platform::vbOKOnly, title);
        return;
    }
    // A file that does not read as a log would end the program at the reload
    // and at every later start: it is refused before it replaces anything.
    // One that reads but does not end cleanly is restored in clean form, so
    // that the next contact appended to it starts a line of its own.
    const std::optional<QByteArray> restored = logstore::CleanLogBytes(*bytes);
    if (!restored) {
        dialogs.MsgBox(QStringLiteral("The file %1 is not a log that this program can read: a record "
                                      "is incomplete or it holds more than 11,000 contacts. log.txt "
                                      "was not changed.")
                           .arg(*chosen),
                       platform::vbOKOnly, title);
        return;
    }
    // The log being replaced is kept in BACKUP first.
    QFile current(program_.WorkPath(QStringLiteral("log.txt")));
    if (current.exists() && current.size() > 0 &&
        !logstore::CopyLogToBackup(program_.logPlace(), &error, true)) {
        dialogs.MsgBox(error, platform::vbOKOnly, title);
        return;
    }
    if (!platform::WriteFileAtomically(program_.WorkPath(QStringLiteral("log.txt")), *restored, &error)) {
        dialogs.MsgBox(error, platform::vbOKOnly, title);
        return;
    }
    ReloadLog();
}

}  // namespace mainwindow

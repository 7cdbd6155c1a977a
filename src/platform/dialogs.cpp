#include "platform/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace platform {

int QtDialogs::MsgBox(const QString& text, int style, const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    switch (style & 0x7) {
    case vbOKCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case vbYesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case vbYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return vbYes;
    case QMessageBox::No: return vbNo;
    case QMessageBox::Cancel: return vbCancel;
    default: return (style & 0x7) == vbYesNo ? vbNo : vbOK;
    }
}

std::optional<QString> QtDialogs::InputBox(const QString& prompt, const QString& title,
                                           const QString& defaultText) {
    bool ok = false;
    QString answer = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                           QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return answer;
}

QString QtFilterFromPairs(const QString& filter) {
    QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed().replace(';', ' ');
        out << (description.contains('(') ? description
                                          : description + " (" + patterns + ")");
    }
    return out.join(";;");
}

static std::optional<QString> fileDialog(const FileDialogRequest& r, bool save) {
    QFileDialog dialog(QApplication::activeWindow(), r.title, r.initialDir,
                       QtFilterFromPairs(r.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!r.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!r.fileName.isEmpty()) dialog.selectFile(r.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtDialogs::SaveFileName(const FileDialogRequest& request) {
    return fileDialog(request, true);
}

std::optional<QString> QtDialogs::OpenFileName(const FileDialogRequest& request) {
    return fileDialog(request, false);
}

std::optional<QColor> QtDialogs::PickColor(const QColor& initial) {
    QColor c = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (!c.isValid()) return std::nullopt;
    return c;
}

void QtDialogs::Beep() { QApplication::beep(); }

}  // namespace platform

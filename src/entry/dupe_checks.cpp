// The dupe checks of the main windows: per key in the call box, on leaving
// it, and the full check at logging.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>

#include "entry/recent_contacts_model.h"
#include "keyers/blind_frm.h"
#include "mainwindow/main_window.h"
#include "platform/colors.h"
#include "program/program.h"
#include "scoring/worked.h"

namespace mainwindow {

namespace {

bool sameText(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

const QColor kTeal(0, 192, 192);
const QColor kRed(255, 0, 0);

// The month and day ("mm/dd") or the month and year ("mm/yy") of a stored
// date "yyyy/mm/dd"; the text as stored when it reads otherwise.
QString datePart(const QString& stored, bool withYear) {
    const QDate date = QDate::fromString(stored, QStringLiteral("yyyy/MM/dd"));
    if (!date.isValid()) return stored;
    return date.toString(withYear ? QStringLiteral("MM/yy") : QStringLiteral("MM/dd"));
}

// Fills an empty box from an earlier contact and selects what it wrote.
void fillEmpty(QLineEdit* box, const QString& text) {
    if (!box->text().isEmpty()) return;
    box->setText(text);
    box->selectAll();
}

}  // namespace

void MainWindow::CheckFullDupe() {
    entry::EntryState& e = program_.entry;
    const bool in = side_ == Side::In;
    const setup::Station& st = program_.station;
    e.DupeFlag = 0;
    const logstore::ContactLog& log = program_.log;
    for (int i = 1; i <= log.QSOCount; ++i) {
        const logstore::ContactRecord& r = log.row(i);
        if (!sameText(r.QSOCall, txtCall->text())) continue;
        fillEmpty(txtSec, r.QSOCounty);
        if (in) fillEmpty(txtCntry, r.QSOSPC);
        const bool dupe = sameText(r.QSOBand, st.CurrentBand) && sameText(r.QSOMode, st.CurrentMode) &&
                          sameText(r.QSOCounty, txtSec->text()) &&
                          (!in || sameText(r.QSOCountySent, st.OperatingCounty));
        if (!dupe) continue;
        setStatus(in ? "Duplicate " + r.QSOCall + " " + datePart(r.QSODate, false) + " " + r.QSOTime +
                           "  Rec# " + QString::number(i)
                     : "Duplicate " + r.QSOCall + "  " + r.QSODate + "  " + r.QSOTime + "   Rec# " +
                           QString::number(i),
                  kRed);
        resetDupeLine();
        program_.dialogs().Beep();
        keyers::BlindFrm& blind = program_.blindFrm();
        blind.BlindKeyPhone(QStringLiteral("Dupe"));
        // The prompt is heard before anything else happens; the wait is
        // bounded by the prompt's own length.
        if (st.VoiceNavMode != 0) blind.MMControl1.WaitWhilePlaying();
        e.DupeFlag = 1;
        e.LastDupeAtMs = program_.clock().MonotonicMs();
        break;
    }
    if (e.DupeFlag == 1) {
        txtCall->setFocus();
        for (QLineEdit* box : {txtRSTS, txtCntry, txtCall, txtRSTR, txtSec})
            if (box) box->clear();
        for (QLabel* label : {Label19, Label22, Label23}) label->clear();
        if (in) lblStation[4]->setEnabled(false);
    }
}

void MainWindow::DupCheck2() {
    entry::EntryState& e = program_.entry;
    const bool in = side_ == Side::In;
    const setup::Station& st = program_.station;
    const bool listing = mnuListPrevious->isChecked();
    std::vector<int> previous;
    if (in) e.DupeFlag = 0;
    const logstore::ContactLog& log = program_.log;
    const QString call = txtCall->text();
    for (int i = 1; i <= log.QSOCount; ++i) {
        const logstore::ContactRecord& r = log.row(i);
        if (!sameText(r.QSOCall, call)) continue;
        if (listing) previous.push_back(i);
        fillEmpty(txtSec, r.QSOCounty);
        if (in) fillEmpty(txtCntry, r.QSOSPC);
        const bool sameBandMode = sameText(r.QSOBand, st.CurrentBand) && sameText(r.QSOMode, st.CurrentMode);
        if (in && !sameText(r.QSOSPC, st.PartyState) && sameBandMode &&
            sameText(r.QSOCountySent, st.OperatingCounty)) {
            // A station outside the party state cannot be worked again from
            // another county: the full check decides at once.
            CheckFullDupe();
            if (e.DupeFlag == 1) break;
        }
        if (sameBandMode && (!in || sameText(r.QSOCountySent, st.OperatingCounty))) {
            setStatus(in ? "Dupe if not rover!  " + r.QSOCall + "  " + datePart(r.QSODate, true) + "  " +
                               r.QSOTime + "   Rec# " + QString::number(i)
                         : "Duplicate Unless Rover!  " + r.QSOCall + "  " + r.QSODate + "  " + r.QSOTime +
                               "   Rec# " + QString::number(i),
                      kRed);
            platform::SetBackColor(lblDupe, palette().color(QPalette::Button));
            if (in) lblDupe->clear();
            program_.dialogs().Beep();
            if (!listing) break;
        }
    }
    if (listing) recentModel_->Show(previous);
}

void MainWindow::CheckCallAsTyped(int KeyAscii) {
    const bool in = side_ == Side::In;
    const setup::Station& st = program_.station;
    platform::SetBackColor(lblDialog, kTeal);
    resetDupeLine();
    const QString before = txtCall->text();
    const QString typed = KeyAscii > 0 ? before + QChar(KeyAscii) : before;
    const bool listable = KeyAscii >= 46 && KeyAscii <= 90;
    QString list;
    if (program_.entry.PartialDupesOn == 1 && listable) {
        const logstore::ContactLog& log = program_.log;
        for (int i = 1; i <= log.QSOCount; ++i) {
            const logstore::ContactRecord& r = log.row(i);
            if (!sameText(r.QSOMode, st.CurrentMode) || !sameText(r.QSOBand, st.CurrentBand)) continue;
            if (in && !sameText(r.QSOCountySent, st.OperatingCounty)) continue;
            if (r.QSOCall.size() >= typed.size() && r.QSOCall.startsWith(typed, Qt::CaseInsensitive))
                list = r.QSOCall + " " + list;
            if (list.size() > 100) break;
        }
        platform::SetBackColor(lblDupe, list.isEmpty() ? palette().color(QPalette::Button) : kTeal);
        lblDupe->setText(list);
    }
    if (!list.isEmpty() && before.size() > 2)
        lblDialog->setText(QStringLiteral("Possible Duplicate!"));
    else if (program_.operating.LoggedOn)
        lblDialog->setText(QStringLiteral(" "));
    if (typed.size() == 3 && listable) {
        auto numeric = [](QChar c) { return c.unicode() >= 47 && c.unicode() <= 57; };
        if (numeric(typed[1]) || numeric(typed[2])) {
            lblDialog->setText(QStringLiteral(" "));
        } else {
            program_.dialogs().Beep();
            lblDialog->setText(QStringLiteral("The second or third character is not numeric!"));
        }
    }
}

}  // namespace mainwindow

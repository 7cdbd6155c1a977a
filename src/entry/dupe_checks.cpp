// The dupe checks of the entry line: per key in the call box, on leaving
// it, and the full check at logging.
#include "entry/entry_line.h"

#include <QLabel>
#include <QLineEdit>

#include "entry/entry_window.h"
#include "keyers/blind_frm.h"
#include "logstore/log_moment.h"
#include "platform/colors.h"
#include "platform/form.h"
#include "platform/same_text.h"
#include "program/program.h"
#include "scoring/worked.h"

namespace entry {

namespace {


// The month and day ("mm/dd") or the month and year ("mm/yy") of a stored
// date "yyyy/mm/dd"; the text as stored when it reads otherwise.
QString datePart(const QString& stored, bool withYear) {
    const std::optional<QDate> date = logstore::ParseLogDate(stored);
    if (!date) return stored;
    return date->toString(withYear ? QStringLiteral("MM/yy") : QStringLiteral("MM/dd"));
}

// Fills an empty box from an earlier contact and selects what it wrote.
void fillEmpty(QLineEdit* box, const QString& text) {
    if (!box->text().isEmpty()) return;
    box->setText(text);
    box->selectAll();
}

}  // namespace

void EntryLine::CheckFullDupe() {
    EntryState& e = program_.entry;
    const bool in = in_;
    const setup::Station& st = program_.station;
    e.DupeFlag = 0;
    const logstore::ContactLog& log = program_.log;
    for (int i = 1; i <= log.QSOCount; ++i) {
        const logstore::ContactRecord& r = log.row(i);
        if (!platform::SameText(r.QSOCall, txtCall->text())) continue;
        fillEmpty(txtSec, r.QSOCounty);
        if (in) fillEmpty(txtCntry, r.QSOSPC);
        const bool dupe = platform::SameText(r.QSOBand, st.CurrentBand) && platform::SameText(r.QSOMode, st.CurrentMode) &&
                          platform::SameText(r.QSOCounty, txtSec->text()) &&
                          (!in || platform::SameText(r.QSOCountySent, st.OperatingCounty));
        if (!dupe) continue;
        setStatus(in ? "Duplicate " + r.QSOCall + " " + datePart(r.QSODate, false) + " " + r.QSOTime +
                           "  Rec# " + QString::number(i)
                     : "Duplicate " + r.QSOCall + "  " + r.QSODate + "  " + r.QSOTime + "   Rec# " +
                           QString::number(i),
                  kStatusRed);
        resetDupeLine();
        program_.dialogs().Beep();
        // With voice navigation on, the prompt is heard whole: the prompt of
        // the call box, which takes the focus next, follows it.
        program_.blindFrm().BlindKeyPhone(QStringLiteral("Dupe"), st.VoiceNavMode != 0);
        e.DupeFlag = 1;
        e.LastDupeAtMs = program_.clock().MonotonicMs();
        break;
    }
    if (e.DupeFlag == 1) emptyEntryLine();
}

void EntryLine::DupCheck2() {
    EntryState& e = program_.entry;
    const bool in = in_;
    const setup::Station& st = program_.station;
    const bool listing = window_.ListPrevious();
    std::vector<int> previous;
    if (in) e.DupeFlag = 0;
    const logstore::ContactLog& log = program_.log;
    const QString call = txtCall->text();
    for (int i = 1; i <= log.QSOCount; ++i) {
        const logstore::ContactRecord& r = log.row(i);
        if (!platform::SameText(r.QSOCall, call)) continue;
        if (listing) previous.push_back(i);
        fillEmpty(txtSec, r.QSOCounty);
        if (in) fillEmpty(txtCntry, r.QSOSPC);
        const bool sameBandMode = platform::SameText(r.QSOBand, st.CurrentBand) && platform::SameText(r.QSOMode, st.CurrentMode);
        if (in && !platform::SameText(r.QSOSPC, st.PartyState) && sameBandMode &&
            platform::SameText(r.QSOCountySent, st.OperatingCounty)) {
            // A station outside the party state cannot be worked again from
            // another county: the full check decides at once.
            CheckFullDupe();
            if (e.DupeFlag == 1) break;
        }
        if (sameBandMode && (!in || platform::SameText(r.QSOCountySent, st.OperatingCounty))) {
            setStatus(in ? "Dupe if not rover!  " + r.QSOCall + "  " + datePart(r.QSODate, true) + "  " +
                               r.QSOTime + "   Rec# " + QString::number(i)
                         : "Duplicate Unless Rover!  " + r.QSOCall + "  " + r.QSODate + "  " + r.QSOTime +
                               "   Rec# " + QString::number(i),
                      kStatusRed);
            platform::SetBackColor(lblDupe, form_.palette().color(QPalette::Button));
            if (in) lblDupe->clear();
            program_.dialogs().Beep();
            if (!listing) break;
        }
    }
    if (listing) window_.ListPreviousContacts(previous);
}

const std::vector<int>& EntryLine::partialDupeRows() {
    const setup::Station& st = program_.station;
    const bool in = in_;
    const QString key = st.CurrentBand.toUpper() + u'|' + st.CurrentMode.toUpper() + u'|' +
                        (in ? st.OperatingCounty.toUpper() : QString());
    const logstore::ContactLog& log = program_.log;
    if (key != partialKey_ || partialCount_ < 0 || partialCount_ > log.QSOCount) {
        partialKey_ = key;
        partialRows_.clear();
        partialCount_ = 0;
    }
    for (int i = partialCount_ + 1; i <= log.QSOCount; ++i) {
        const logstore::ContactRecord& r = log.row(i);
        if (platform::SameText(r.QSOMode, st.CurrentMode) && platform::SameText(r.QSOBand, st.CurrentBand) &&
            (!in || platform::SameText(r.QSOCountySent, st.OperatingCounty)))
            partialRows_.push_back(i);
    }
    partialCount_ = log.QSOCount;
    return partialRows_;
}

bool EntryLine::dupeHoldRuns() const {
    return program_.entry.DupeFlag == 1 &&
           program_.clock().MonotonicMs() < program_.entry.LastDupeAtMs + 3000;
}

bool EntryLine::WaitDupeTimeout() {
    if (dupeHoldRuns()) return true;
    program_.entry.DupeFlag = 0;
    return false;
}

void EntryLine::CheckCallAsTyped(int KeyAscii) {
    platform::SetBackColor(lblDialog, kStatusTeal);
    resetDupeLine();
    const QString before = txtCall->text();
    const QString typed = KeyAscii > 0 ? before + QChar(KeyAscii) : before;
    const bool listable = KeyAscii >= 46 && KeyAscii <= 90;
    QString list;
    if (program_.entry.PartialDupesOn == 1 && listable) {
        const logstore::ContactLog& log = program_.log;
        for (int i : partialDupeRows()) {
            const QString& call = log.row(i).QSOCall;
            if (call.size() >= typed.size() && call.startsWith(typed, Qt::CaseInsensitive))
                list = call + " " + list;
            if (list.size() > 100) break;
        }
        platform::SetBackColor(lblDupe, list.isEmpty() ? form_.palette().color(QPalette::Button) : kStatusTeal);
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

}  // namespace entry

// Logging one contact: the checks of the entry line, the stored row, the
// line appended to log.txt, and the counts and lists that follow a contact.
#include "entry/entry_line.h"

#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

#include "entry/entry_window.h"
#include "logstore/contact_log.h"
#include "logstore/county_table.h"
#include "platform/colors.h"
#include "platform/form.h"
#include "platform/same_text.h"
#include "program/program.h"
#include "scoring/worked.h"

namespace entry {

void EntryLine::setStatus(const QString& text, const QColor& back) {
    platform::SetBackColor(lblDialog, back);
    lblDialog->setText(text);
}

void EntryLine::resetDupeLine() {
    platform::SetBackColor(lblDupe, form_.palette().color(QPalette::Button));
    lblDupe->clear();
}

void EntryLine::Mains() {
    // One contact at a time: a Mains entered again before this one has
    // returned logs nothing.
    if (inMains_) return;
    inMains_ = true;
    auto leave = qScopeGuard([this] { inMains_ = false; });
    // After the contest the contact's own date and time are checked first;
    // a refused one leaves everything else as it was.
    if (!PostContestCheck()) return;

    EntryState& e = program_.entry;
    const bool in = in_;
    if (in && !platform::SameText(txtCntry->text(), program_.station.PartyState)) txtSec->clear();
    if (!program_.operating.LoggedOn) window_.cmdLogOn_Click();
    CheckRequiredFields();
    // Every flag is checked afresh on every run: a code refused before must
    // not hold back a contact that needs no section check.
    e.BadSectionFlag = 0;
    if (in && txtCntry->text().size() == 2) CheckSection();

    QString abbrev = txtSec->text();
    const QString name = logstore::CountyFromAbbreviation(program_.counties, abbrev);
    if (!name.isEmpty()) txtSec->setText(name);

    if (in) {
        CheckFullDupe();
        e.BadCountyFlag = 0;
        if (!txtSec->text().isEmpty()) CheckCounty();
    } else {
        e.BadCountyFlag = 0;
        if (!txtSec->text().isEmpty()) CheckCounty();
        CheckFullDupe();
    }

    bool stored = true;
    if (e.MissingFieldFlag == 0 && e.DupeFlag == 0 && e.BadSectionFlag == 0 && e.BadCountyFlag == 0)
        stored = storeContact();
    // A contact that could not be stored stays on the entry line.
    if (stored && e.MissingFieldFlag == 0 && e.BadSectionFlag == 0 && e.BadCountyFlag == 0)
        emptyEntryLine();
    // What the operator typed meanwhile, and the clocks and polls, are
    // handled after this returns, in their order; the window is drawn then.
    resetDupeLine();
    window_.ComputeRates();
    e.RigFrequencyText.clear();
}

bool EntryLine::storeContact() {
    const bool in = in_;
    logstore::ContactRecord* row = logstore::TakeNewRow(program_.log, program_.logPlace());
    if (!row) return false;  // the log is full; the operator has been told
    // One reading of the clock gives both the date and the time, so a
    // contact at midnight never gets the day before or after.
    const QDateTime utc = scoring::UtcFromLocal(program_.clock().LocalNow(), program_.station.UTCOffsetHours);
    row->QSOCall = txtCall->text();
    if (in) {
        row->QSOSPC = txtCntry->text();
        row->QSOCountySent = program_.station.OperatingCounty;
    } else {
        row->QSORSTSent = txtRSTS->text();
        row->QSORSTRcvd = txtRSTR->text();
    }
    row->QSOCounty = txtSec->text();
    if (PostContestMode()) {
        // Typed in UTC, as the boxes show them after the check.
        row->QSODate = txtPostConDate->text();
        row->QSOTime = txtPostConTime->text();
    } else {
        row->QSODate = utc.toString(QStringLiteral("yyyy/MM/dd"));
        row->QSOTime = utc.toString(QStringLiteral("HH:mm:ss"));
    }
    row->QSOMode = program_.station.CurrentMode;
    row->QSOBand = program_.station.CurrentBand;
    row->QSOFrequency = program_.entry.RigFrequencyText;
    // The file first: a contact that log.txt did not take is not counted.
    if (!logstore::AppendContact(program_.log, program_.logPlace())) return false;

    const logstore::ContactRecord& stored = program_.log.row(program_.log.QSOCount);
    setStatus(QString(), kStatusTeal);
    resetDupeLine();
    if (in && !stored.QSOCounty.isEmpty()) window_.UpdateCountyLists();
    scoring::CountContact(program_.station.CurrentMode, program_.tally);
    window_.ListRecentContacts();
    if (!in) window_.UpdateCountyLists();
    if (in && stored.QSOSPC.size() > 2 && !Label3->isHidden()) window_.ShowDXList();
    if (in && stored.QSOSPC.size() == 2) window_.UpdateStatesWorked();
    window_.ShowScore();
    return true;
}

void EntryLine::ClearEntry() {
    resetDupeLine();
    setStatus(QString(), kStatusTeal);
    emptyEntryLine();
}

void EntryLine::emptyEntryLine() {
    for (QLineEdit* box : {txtRSTS, txtCntry, txtCall, txtRSTR, txtSec})
        if (box) box->clear();
    for (QLabel* label : {Label19, Label22, Label23}) label->clear();
    if (in_) countyCaption->setEnabled(false);
    txtCall->setFocus();
}

void EntryLine::CheckRequiredFields() {
    EntryState& e = program_.entry;
    platform::Dialogs& dialogs = program_.dialogs();
    const bool in = in_;
    e.MissingFieldFlag = 0;
    const bool countyNeeded = in ? platform::SameText(txtCntry->text(), program_.station.PartyState) : true;
    auto fail = [&](const char* message, QLineEdit* box) {
        dialogs.Beep();
        lblDialog->setText(QString::fromLatin1(message));
        e.MissingFieldFlag = 1;
        box->setFocus();
    };
    if (countyNeeded && txtSec->text().isEmpty()) fail("Need County!", txtSec);
    if (txtCall->text().size() < 3) fail("Need Call Sign!", txtCall);
    if (in && txtCntry->text().isEmpty()) fail("Need Country!", txtCntry);
}

void EntryLine::CheckSection() {
    EntryState& e = program_.entry;
    e.BadSectionFlag = 1;
    if (program_.stateProvinces.Find(txtCntry->text()) != 0) {
        e.BadSectionFlag = 0;
        if (Label19->text().isEmpty()) Label19->setText(QStringLiteral("NA"));
        return;
    }
    program_.dialogs().Beep();
    lblDialog->setText(QStringLiteral("Invald Section!"));
    txtCntry->setFocus();
}

void EntryLine::CheckCounty() {
    EntryState& e = program_.entry;
    e.BadCountyFlag = 1;
    const QString county = txtSec->text();
    for (int i = 1; i <= program_.counties.CountyCount; ++i)
        if (platform::SameText(program_.counties.CountyNames[static_cast<std::size_t>(i)], county)) {
            e.BadCountyFlag = 0;
            return;
        }
    program_.dialogs().Beep();
    lblDialog->setText(county + " is not a valid county!");
    txtSec->setFocus();
}

}  // namespace entry

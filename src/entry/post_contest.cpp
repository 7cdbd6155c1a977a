// Post-contest entry: contacts from a paper log are entered after the
// contest with their own UTC date and time, typed into two more boxes of the
// entry line that the Post Contest command shows.
#include "entry/entry_line.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>

#include "entry/entry_window.h"
#include "logstore/log_moment.h"
#include "platform/form.h"
#include "platform/key_adapter.h"
#include "program/program.h"

namespace entry {

namespace {

bool allDigits(const QString& text) {
    for (QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return !text.isEmpty();
}

}  // namespace

bool EntryLine::PostContestMode() const { return txtPostConTime && !txtPostConTime->isHidden(); }

void EntryLine::mnuPostContest_Click() {
    // The boxes tell whether the mode is on; the check mark follows them.
    const bool on = !PostContestMode();
    QWidget* const controls[] = {lblPostConTime, txtPostConTime, lblPostConDate, txtPostConDate};
    for (QWidget* w : controls) w->setVisible(on);
    window_.ShowPostContestCheck(on);

    // The partial-dupe heading and list make room below the boxes, or take
    // their place again.
    platform::Control& heading = form_.Ctl(lblPossDup);
    platform::Control& dupes = form_.Ctl(lblDupe);
    const float bottom = dupes.Top + dupes.Height;
    if (on) {
        const platform::Control& box = form_.Ctl(txtPostConTime);
        heading.Top = box.Top + box.Height + 30;
    } else {
        heading.Top = form_.Ctl(lblPostConTime).Top;
    }
    dupes.Top = on ? heading.Top + heading.Height : form_.Ctl(txtPostConTime).Top;
    dupes.Height = bottom - dupes.Top;
    form_.Apply(heading);
    form_.Apply(dupes);
}

bool EntryLine::postContestFocusEvent(QObject* watched, QEvent* event) {
    // The boxes' focus handlers run once the key or click that moved the
    // focus is done, as the entry line's own boxes do.
    if (event->type() != QEvent::FocusIn) return false;
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    if (watched == txtPostConTime)
        QMetaObject::invokeMethod(this, &EntryLine::txtPostConTime_GotFocus, Qt::QueuedConnection);
    else if (watched == txtPostConDate)
        QMetaObject::invokeMethod(this, &EntryLine::txtPostConDate_GotFocus, Qt::QueuedConnection);
    return false;
}

void EntryLine::txtPostConDate_GotFocus() {
    if (txtPostConDate->text().isEmpty())
        txtPostConDate->setText(program_.clock().LocalNow().date().toString(QStringLiteral("yyyy/MM/dd")));
    txtPostConDate->selectAll();
}

void EntryLine::txtPostConTime_GotFocus() {
    txtPostConTime->setCursorPosition(0);
    txtPostConTime->selectAll();
}

// The keys of both boxes: Space moves on, Enter logs, and besides Backspace
// only the characters from `first` to `last` are typed.
void EntryLine::postContestKey(int& KeyAscii, int first, int last) {
    if (KeyAscii == platform::vbKeySpace) {
        KeyAscii = 0;
        platform::KeyAdapter::SendTab();
        return;
    }
    if (KeyAscii == platform::vbKeyReturn) {
        KeyAscii = 0;
        Mains();
        return;
    }
    if (KeyAscii != platform::vbKeyBack && (KeyAscii < first || KeyAscii > last)) KeyAscii = 0;
}

void EntryLine::txtPostConTime_KeyPress(int& KeyAscii) { postContestKey(KeyAscii, '0', ':'); }

void EntryLine::txtPostConDate_KeyPress(int& KeyAscii) { postContestKey(KeyAscii, '/', '9'); }

bool EntryLine::PostContestCheck() {
    if (!PostContestMode()) return true;
    // Dates are read year first, whatever the PC's locale, and kept in the
    // log's one form.
    const std::optional<QDate> date = logstore::ParseLogDate(txtPostConDate->text());
    if (!date) {
        lblDialog->setText(QStringLiteral("Invalid date format!"));
        program_.dialogs().Beep();
        return false;
    }
    txtPostConDate->setText(date->toString(QStringLiteral("yyyy/MM/dd")));
    QString time = txtPostConTime->text();
    if ((time.size() == 3 || time.size() == 4) && allDigits(time)) {
        time.insert(time.size() - 2, u':');
        txtPostConTime->setText(time);
    }
    const std::optional<QTime> moment = logstore::ParseLogTime(time);
    if (!moment) {
        lblDialog->setText(QStringLiteral("Invalid time format!"));
        program_.dialogs().Beep();
        return false;
    }
    txtPostConTime->setText(moment->toString(QStringLiteral("HH:mm")));
    return true;
}

}  // namespace entry

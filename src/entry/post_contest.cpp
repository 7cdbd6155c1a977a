// Post-contest entry: contacts from a paper log are entered after the
// contest with their own UTC date and time, typed into two more boxes of the
// entry line that the Post Contest command shows.
#include <QAction>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>

#include "logstore/log_moment.h"
#include "mainwindow/main_window.h"
#include "platform/key_adapter.h"
#include "program/program.h"

namespace mainwindow {

namespace {

// Runs the boxes' focus handlers once the key or click that moved the focus
// is done, as the entry line's own boxes do.
class PostContestWatcher final : public QObject {
public:
    explicit PostContestWatcher(MainWindow& window) : QObject(&window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusIn) return false;
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        if (watched == window_.entry().txtPostConTime)
            QMetaObject::invokeMethod(&window_, &MainWindow::txtPostConTime_GotFocus, Qt::QueuedConnection);
        else if (watched == window_.entry().txtPostConDate)
            QMetaObject::invokeMethod(&window_, &MainWindow::txtPostConDate_GotFocus, Qt::QueuedConnection);
        return false;
    }

private:
    MainWindow& window_;
};

bool allDigits(const QString& text) {
    for (QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return !text.isEmpty();
}

}  // namespace

void MainWindow::buildPostContestControls() {
    // They stand over the top of the partial-dupe area, which moves down
    // while they show.
    const platform::Control& heading = Ctl(entry_->lblPossDup);
    const float left = heading.Left;
    platform::FontModel entryFont{.Name = QStringLiteral("Arial"), .Size = 12, .Bold = true};
    entry_->lblPostConTime = AddLabel(QStringLiteral("lblPostConTime"), QStringLiteral("Time"), left, 720, 900, 240);
    entry_->txtPostConTime = AddTextBox(QStringLiteral("txtPostConTime"), QString(), left, 960, 900, 400);
    entry_->lblPostConDate = AddLabel(QStringLiteral("lblPostConDate"), QStringLiteral("Date"), left + 1020, 720, 1620, 240);
    entry_->txtPostConDate = AddTextBox(QStringLiteral("txtPostConDate"), QString(), left + 1020, 960, 1620, 400);
    for (QLineEdit* box : {entry_->txtPostConTime, entry_->txtPostConDate}) SetFont(box, entryFont);
    setTabOrder(entry_->txtSec, entry_->txtPostConTime);
    setTabOrder(entry_->txtPostConTime, entry_->txtPostConDate);
    for (QWidget* w : std::initializer_list<QWidget*>{entry_->lblPostConTime, entry_->txtPostConTime, entry_->lblPostConDate,
                                                      entry_->txtPostConDate})
        w->hide();
    keys_->Attach(entry_->txtPostConTime, {.keyPress = [this](int& KeyAscii) { txtPostConTime_KeyPress(KeyAscii); }});
    keys_->Attach(entry_->txtPostConDate, {.keyPress = [this](int& KeyAscii) { txtPostConDate_KeyPress(KeyAscii); }});
    auto* watcher = new PostContestWatcher(*this);
    entry_->txtPostConTime->installEventFilter(watcher);
    entry_->txtPostConDate->installEventFilter(watcher);
}

bool MainWindow::PostContestMode() const { return entry_->txtPostConTime && !entry_->txtPostConTime->isHidden(); }

void MainWindow::mnuPostContest_Click() {
    // The boxes tell whether the mode is on; the check mark follows them.
    const bool on = !PostContestMode();
    QWidget* const controls[] = {entry_->lblPostConTime, entry_->txtPostConTime, entry_->lblPostConDate, entry_->txtPostConDate};
    for (QWidget* w : controls) w->setVisible(on);
    if (mnuPostContest) mnuPostContest->setChecked(on);

    // The partial-dupe heading and list make room below the boxes, or take
    // their place again.
    platform::Control& heading = Ctl(entry_->lblPossDup);
    platform::Control& dupes = Ctl(entry_->lblDupe);
    const float bottom = dupes.Top + dupes.Height;
    if (on) {
        const platform::Control& box = Ctl(entry_->txtPostConTime);
        heading.Top = box.Top + box.Height + 30;
    } else {
        heading.Top = Ctl(entry_->lblPostConTime).Top;
    }
    dupes.Top = on ? heading.Top + heading.Height : Ctl(entry_->txtPostConTime).Top;
    dupes.Height = bottom - dupes.Top;
    Apply(heading);
    Apply(dupes);
}

void MainWindow::txtPostConDate_GotFocus() {
    if (entry_->txtPostConDate->text().isEmpty())
        entry_->txtPostConDate->setText(program_.clock().LocalNow().date().toString(QStringLiteral("yyyy/MM/dd")));
    entry_->txtPostConDate->selectAll();
}

void MainWindow::txtPostConTime_GotFocus() {
    entry_->txtPostConTime->setCursorPosition(0);
    entry_->txtPostConTime->selectAll();
}

namespace {

// The keys of both boxes: Space moves on, Enter logs, and besides Backspace
// only the characters from `first` to `last` are typed.
void postContestKey(MainWindow& window, int& KeyAscii, int first, int last) {
    if (KeyAscii == platform::vbKeySpace) {
        KeyAscii = 0;
        platform::KeyAdapter::SendTab();
        return;
    }
    if (KeyAscii == platform::vbKeyReturn) {
        KeyAscii = 0;
        window.Mains();
        return;
    }
    if (KeyAscii != platform::vbKeyBack && (KeyAscii < first || KeyAscii > last)) KeyAscii = 0;
}

}  // namespace

void MainWindow::txtPostConTime_KeyPress(int& KeyAscii) { postContestKey(*this, KeyAscii, '0', ':'); }

void MainWindow::txtPostConDate_KeyPress(int& KeyAscii) { postContestKey(*this, KeyAscii, '/', '9'); }

bool MainWindow::PostContestCheck() {
    if (!PostContestMode()) return true;
    // Dates are read year first, whatever the PC's locale, and kept in the
    // log's one form.
    const std::optional<QDate> date = logstore::ParseLogDate(entry_->txtPostConDate->text());
    if (!date) {
        entry_->lblDialog->setText(QStringLiteral("Invalid date format!"));
        program_.dialogs().Beep();
        return false;
    }
    entry_->txtPostConDate->setText(date->toString(QStringLiteral("yyyy/MM/dd")));
    QString time = entry_->txtPostConTime->text();
    if ((time.size() == 3 || time.size() == 4) && allDigits(time)) {
        time.insert(time.size() - 2, u':');
        entry_->txtPostConTime->setText(time);
    }
    const std::optional<QTime> moment = logstore::ParseLogTime(time);
    if (!moment) {
        entry_->lblDialog->setText(QStringLiteral("Invalid time format!"));
        program_.dialogs().Beep();
        return false;
    }
    entry_->txtPostConTime->setText(moment->toString(QStringLiteral("HH:mm")));
    return true;
}

}  // namespace mainwindow

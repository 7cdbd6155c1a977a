// The entry line of the main windows: the call, state/province/country and
// county boxes, their keys, focus and change handlers.
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QListWidget>
#include <QTreeView>

#include "scoring/worked.h"

#include "entry/prefix_lookup.h"
#include "keyers/blind_frm.h"
#include "mainwindow/main_window.h"
#include "platform/key_adapter.h"
#include "platform/twips.h"
#include "platform/same_text.h"
#include "platform/sel_start.h"
#include "program/program.h"
#include "setup/key_filters.h"

namespace mainwindow {

namespace {

using platform::SelStart;


}  // namespace

void MainWindow::attachEntryLine() {
    platform::KeyAdapter& adapter = *keys_;
    adapter.Attach(entry_->txtCall, {.keyPress = [this](int& KeyAscii) { txtCall_KeyPress(KeyAscii); }});
    adapter.Attach(entry_->txtSec, {.keyPress = [this](int& KeyAscii) { txtSec_KeyPress(KeyAscii); }});
    connect(entry_->txtCall, &QLineEdit::textChanged, this, &MainWindow::txtCall_Change);
    entry_->txtCall->installEventFilter(this);
    entry_->txtSec->installEventFilter(this);
    if (side_ == Side::In) {
        adapter.Attach(entry_->txtCntry, {.keyPress = [this](int& KeyAscii) { txtCntry_KeyPress(KeyAscii); }});
        connect(entry_->txtCntry, &QLineEdit::textChanged, this, &MainWindow::txtCntry_Change);
        entry_->txtCntry->installEventFilter(this);
    } else {
        connect(entry_->txtSec, &QLineEdit::textChanged, this, &MainWindow::txtSec_Change);
        // The RST that the CW wildcard "*" sends.
        connect(entry_->txtRSTS, &QLineEdit::textChanged, this,
                [this] { program_.entry.CWMacroRST = entry_->txtRSTS->text(); });
    }
}

bool MainWindow::entryFocusEvent(QObject* watched, QEvent* event) {
    // Focus handlers run once the handler that moved the focus has finished,
    // the box left first and then the box entered, so that what they write
    // (a dupe warning, a filled-in exchange) is what stays.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // The window's first activation after it has loaded gives the call box
    // the focus; its prompt is due then.
    const bool opening = openingFocus_ && event->type() == QEvent::FocusIn && watched == entry_->txtCall;
    if (event->type() == QEvent::FocusIn) openingFocus_ = false;
    // Leaving the window for a box or a menu, and coming back, is no leaving
    // or entering of the box.
    if (!opening && (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason))
        return false;
    auto later = [this](void (MainWindow::*handler)()) {
        QMetaObject::invokeMethod(this, handler, Qt::QueuedConnection);
    };
    if (event->type() == QEvent::FocusIn) {
        if (watched == entry_->txtCall) later(&MainWindow::txtCall_GotFocus);
        if (watched == entry_->txtCntry) later(&MainWindow::txtCntry_GotFocus);
        if (watched == entry_->txtSec) later(&MainWindow::txtSec_GotFocus);
    } else if (event->type() == QEvent::FocusOut && watched == entry_->txtCall) {
        later(&MainWindow::txtCall_LostFocus);
    }
    return false;
}

void MainWindow::speak(const QString& prompt, int fromLevel) {
    if (program_.station.VoiceNavMode >= fromLevel && program_.station.VoiceNavMode != 0)
        program_.blindFrm().BlindKeyPhone(prompt);
}

void MainWindow::txtCall_KeyPress(int& KeyAscii) {
    // After a duplicate the entry line takes no key until its message has
    // stood for three seconds; timers and other events go on meanwhile.
    if (WaitDupeTimeout()) {
        KeyAscii = 0;
        return;
    }
    const bool in = side_ == Side::In;
    const setup::Station& st = program_.station;
    platform::FontModel dupeFont = Ctl(entry_->lblDupe).Font;
    dupeFont.Size = static_cast<float>(9.0 * screenTwips_.width() / 9600.0 *
                                       st.FormSizePercent / 100.0);
    if (dupeFont.Size != Ctl(entry_->lblDupe).Font.Size) SetFont(entry_->lblDupe, dupeFont);

    const int length = static_cast<int>(entry_->txtCall->text().size());
    if (length < 2 && (in || KeyAscii != 13)) {
        if (entry_->txtCntry) entry_->txtCntry->clear();
        for (QLabel* label : {entry_->Label19, entry_->Label22, entry_->Label23}) label->clear();
    }
    if (KeyAscii == 34) KeyAscii = 0;
    if (length < 3 && program_.operating.LoggedOn && (in || KeyAscii != 13))
        entry_->lblDialog->setText(QStringLiteral(" "));
    if (!program_.operating.LoggedOn) {
        entry_->lblDialog->setText(QStringLiteral("Click Log \"Time On\"!"));
        program_.dialogs().Beep();
    }
    if (KeyAscii == 13) {
        KeyAscii = 0;
        Mains();
    }
    if (KeyAscii == 32) {
        KeyAscii = 0;
        (in ? entry_->txtCntry : entry_->txtSec)->setFocus();
    }
    setup::Cap(KeyAscii);
    if (program_.entry.DupeFlag == 1) {
        // The duplicate's red message stands for its three seconds; the
        // status line is reset when they have passed.
        const std::int64_t left =
            program_.entry.LastDupeAtMs + 3000 - program_.clock().MonotonicMs();
        QTimer::singleShot(static_cast<int>(std::max<std::int64_t>(left, 0)) + 1, this,
                           &MainWindow::EndDupeHold);
        return;
    }
    CheckCallAsTyped(KeyAscii);
}

void MainWindow::EndDupeHold() {
    if (program_.entry.DupeFlag != 1) return;
    if (WaitDupeTimeout()) {
        const std::int64_t left =
            program_.entry.LastDupeAtMs + 3000 - program_.clock().MonotonicMs();
        QTimer::singleShot(static_cast<int>(std::max<std::int64_t>(left, 0)) + 1, this,
                           &MainWindow::EndDupeHold);
        return;
    }
    CheckCallAsTyped(0);
}

void MainWindow::txtCall_Change() {
    program_.entry.CWMacroCall = entry_->txtCall->text();
    if (side_ == Side::In) LookupCallPrefix();
}

void MainWindow::txtCall_GotFocus() {
    cmdEdit->hide();
    cmdDelete->hide();
    if (side_ == Side::Out && entry_->txtCall->text().isEmpty()) {
        entry_->txtRSTS->clear();
        entry_->txtRSTR->clear();
    }
    speak(QStringLiteral("Call"), 1);
    const int rows = ListView1->model() ? ListView1->model()->rowCount() : 0;
    if (entry_->txtCall->text().isEmpty() && rows < program_.log.QSOCount && rows < 18) ListRecentContacts();
}

void MainWindow::txtCall_LostFocus() {
    if (!entry_->txtCall->text().isEmpty()) DupCheck2();
    if (side_ != Side::In) return;
    if (entry_->txtCntry->text().isEmpty() && entry_->txtCall->text().size() > 2) {
        const QString code = entry::CanadianProvinceCode(entry_->txtCall->text());
        if (!code.isEmpty()) {
            entry_->txtCntry->setText(code);
            entry_->txtCntry->setSelection(0, 2);
        }
    }
}

void MainWindow::txtCntry_GotFocus() {
    speak(QStringLiteral("SPC"), 2);
    if (entry_->txtCall->text().contains(u'9') && entry_->txtCntry->text().isEmpty()) {
        entry_->txtCntry->setText(program_.station.PartyState);
        entry_->txtCntry->setSelection(0, static_cast<int>(entry_->txtCntry->text().size()));
    }
}

void MainWindow::txtCntry_KeyPress(int& KeyAscii) {
    if (WaitDupeTimeout()) {
        KeyAscii = 0;
        return;
    }
    if (KeyAscii == 34) KeyAscii = 0;
    if (KeyAscii == 13) {
        KeyAscii = 0;
        Mains();
        return;
    }
    if (KeyAscii == 32 && SelStart(entry_->txtCntry) == 0) {
        KeyAscii = 0;
        entry_->txtSec->setFocus();
        return;
    }
    if (KeyAscii >= '0' && KeyAscii <= '9') {
        // A digit belongs to the county box: there it acts as Space.
        int digit = KeyAscii;
        txtSec_KeyPress(digit);
        KeyAscii = 0;
        entry_->txtSec->setFocus();
        return;
    }
    QString t = entry_->txtCntry->text();
    const int c = SelStart(entry_->txtCntry);
    if (KeyAscii != 0 && KeyAscii != 32 && c == 0) {
        entry_->txtCntry->clear();
        t.clear();
    }
    if ((t.isEmpty() || c < 2) && KeyAscii != 0) setup::Cap(KeyAscii);
    if (KeyAscii != 0 && KeyAscii != 32 && c == 2 && t.size() >= 2) {
        entry_->txtCntry->setText(t.left(1) + t.right(1).toLower());
        entry_->txtCntry->setCursorPosition(2);
        t = entry_->txtCntry->text();
    }
    if (t.size() > 1 && KeyAscii != 0) {
        const QString p = t.left(SelStart(entry_->txtCntry)) + QChar(KeyAscii);
        const setup::PrefixTable& table = program_.prefixes;
        for (int row = table.PrefixCount; row >= 1; --row) {
            const setup::PrefixRow& r = table.row(row);
            if (!r.country.startsWith(p, Qt::CaseInsensitive)) continue;
            entry_->txtCntry->setText(p + r.country.mid(p.size()));
            entry_->txtCntry->setSelection(static_cast<int>(p.size()), static_cast<int>(r.country.size() - p.size()));
            KeyAscii = 0;
            entry_->Label19->setText(r.continent);
            ShowBearingDistance(r.latitude, r.longitude);
            break;
        }
        if (KeyAscii == 32) {
            KeyAscii = 0;
            entry_->txtSec->setFocus();
        }
    }
}

void MainWindow::txtCntry_Change() {
    try {
        const QString text = entry_->txtCntry->text();
        const setup::Station& st = program_.station;
        lblStation[4]->setEnabled(platform::SameText(text, st.PartyState));
        if (text.size() == 2) {
            for (int i = 1; i <= setup::kStatePositions; ++i) {
                const setup::StatePosition& s = program_.statePositions.rows[static_cast<std::size_t>(i)];
                if (!s.code.isEmpty() && platform::SameText(s.code, text)) {
                    entry_->Label19->setText(QStringLiteral("NA"));
                    ShowBearingDistance(s.latitude, s.longitude);
                    break;
                }
            }
        }
        bool showNew = false;
        const bool excluded = text.size() <= 2 || platform::SameText(text, QStringLiteral("Not Found")) ||
                              platform::SameText(text, QStringLiteral("Hawaii")) || platform::SameText(text, QStringLiteral("Alaska")) ||
                              platform::SameText(text, QStringLiteral("Canada")) || platform::SameText(text, QStringLiteral("USA"));
        if (!excluded) {
            showNew = true;
            const int b = scoring::DXBandIndex(st.CurrentBand);
            if (b >= 0) {
                const auto& list = program_.tally.BandDXList[static_cast<std::size_t>(b)];
                const int count = program_.tally.DXCount[static_cast<std::size_t>(b)];
                for (int e = 0; e < count && showNew; ++e)
                    if (platform::SameText(list[static_cast<std::size_t>(e)], text)) showNew = false;
            }
        }
        entry_->Label3->setVisible(showNew);
    } catch (const std::exception&) {
        // The labels stay as far as they came.
    }
}

void MainWindow::txtSec_GotFocus() {
    if (side_ == Side::In) {
        if (!platform::SameText(entry_->txtCntry->text(), program_.station.PartyState)) {
            entry_->txtCall->setFocus();
            lblStation[4]->setEnabled(false);
        } else {
            lblStation[4]->setEnabled(true);
        }
    }
    speak(QStringLiteral("County"), 2);
}

void MainWindow::txtSec_KeyPress(int& KeyAscii) {
    if (WaitDupeTimeout()) {
        KeyAscii = 0;
        return;
    }
    if (KeyAscii == 34) KeyAscii = 0;
    if (side_ == Side::In && KeyAscii >= 33 && KeyAscii <= 57) KeyAscii = 32;
    if (KeyAscii == 13) {
        KeyAscii = 0;
        Mains();
        return;
    }
    QString t = entry_->txtSec->text();
    const int c = SelStart(entry_->txtSec);
    const int n = static_cast<int>(t.size());
    if (KeyAscii == 32) {
        if (c >= n) {
            KeyAscii = 0;
            platform::KeyAdapter::SendTab();
        } else if (c + 1 < n && t[c] != u' ') {
            KeyAscii = 0;
            if (!platform::SameText(t.left(c), QStringLiteral("LA")))
                platform::KeyAdapter::SendTab();
            else
                KeyAscii = 32;
        }
    }
    if (KeyAscii != 0 && KeyAscii != 32 && c == 0) {
        entry_->txtSec->clear();
        t.clear();
    }
    if (entry_->txtSec->text().isEmpty() && KeyAscii != 0) setup::Cap(KeyAscii);
    t = entry_->txtSec->text();
    if (c > 0 && c < t.size() && t[c - 1] == u' ') setup::Cap(KeyAscii);
    if (KeyAscii == 0) return;

    const QString p = t.left(c) + QChar(KeyAscii);
    const logstore::CountyTable& counties = program_.counties;
    for (int row = counties.CountyCount; row >= 1; --row) {
        const QString& name = counties.CountyNames[static_cast<std::size_t>(row)];
        if (!name.startsWith(p, Qt::CaseInsensitive)) continue;
        entry_->txtSec->setText(p + name.mid(p.size()));
        entry_->txtSec->setSelection(static_cast<int>(p.size()), static_cast<int>(name.size() - p.size()));
        KeyAscii = 0;
        return;
    }
}

void MainWindow::txtSec_Change() {
    const QString text = entry_->txtSec->text();
    bool worked = false;
    for (int i = 0; i < List2->count() && !worked; ++i) worked = platform::SameText(List2->item(i)->text(), text);
    entry_->lblNew->setVisible(text.size() > 1 && !worked);
}

}  // namespace mainwindow

namespace mainwindow {

void MainWindow::LookupCallPrefix() {
    const entry::PrefixLookupResult r =
        entry::LookupCallPrefix(program_, entry_->txtCall->text(), entry_->txtCntry->text());
    // Writing the country box runs its change handler first; what the
    // lookup writes afterwards stands.
    if (r.country) entry_->txtCntry->setText(*r.country);
    if (r.continent) entry_->Label19->setText(*r.continent);
    if (r.bearing == entry::BearingAction::Clear) {
        entry_->Label22->clear();
        entry_->Label23->clear();
    } else if (r.bearing == entry::BearingAction::Show) {
        ShowBearingDistance(r.latitude, r.longitude);
    }
    if (r.countrySelLength) entry_->txtCntry->setSelection(0, *r.countrySelLength);
}

void MainWindow::ShowBearingDistance(float latitude, float longitude) {
    const entry::BearingDistanceText text = entry::BearingDistance(
        program_.station.OwnLatitude, program_.station.OwnLongitude, latitude, longitude);
    entry_->Label22->setText(text.bearing);
    entry_->Label23->setText(text.distance);
}

}  // namespace mainwindow

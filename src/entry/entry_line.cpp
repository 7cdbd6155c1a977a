// The entry line's boxes: their keys, focus and change handlers, and the
// prefix lookup of the call.
#include "entry/entry_line.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "entry/entry_window.h"
#include "entry/prefix_lookup.h"
#include "keyers/blind_frm.h"
#include "platform/form.h"
#include "platform/key_adapter.h"
#include "platform/same_text.h"
#include "platform/sel_start.h"
#include "program/program.h"
#include "scoring/worked.h"
#include "setup/key_filters.h"

namespace entry {

using platform::SelStart;

EntryLine::EntryLine(platform::Form& form, EntryWindow& window, Program& program, bool inState)
    : form_(form), window_(window), program_(program), in_(inState) {}

EntryLine::~EntryLine() = default;

void EntryLine::Attach(platform::KeyAdapter& keys) {
    keys_ = &keys;
    keys.SetKeyHold([this](QWidget* receiver) { return holdsKey(receiver); });
    keys.Attach(txtCall, {.keyPress = [this](int& KeyAscii) { txtCall_KeyPress(KeyAscii); }});
    keys.Attach(txtSec, {.keyPress = [this](int& KeyAscii) { txtSec_KeyPress(KeyAscii); }});
    connect(txtCall, &QLineEdit::textChanged, this, &EntryLine::txtCall_Change);
    txtCall->installEventFilter(this);
    txtSec->installEventFilter(this);
    if (in_) {
        keys.Attach(txtCntry, {.keyPress = [this](int& KeyAscii) { txtCntry_KeyPress(KeyAscii); }});
        connect(txtCntry, &QLineEdit::textChanged, this, &EntryLine::txtCntry_Change);
        txtCntry->installEventFilter(this);
    } else {
        connect(txtSec, &QLineEdit::textChanged, this, &EntryLine::txtSec_Change);
        // The RST that the CW wildcard "*" sends.
        connect(txtRSTS, &QLineEdit::textChanged, this,
                [this] { program_.entry.CWMacroRST = txtRSTS->text(); });
    }
    keys.Attach(txtPostConTime, {.keyPress = [this](int& KeyAscii) { txtPostConTime_KeyPress(KeyAscii); }});
    keys.Attach(txtPostConDate, {.keyPress = [this](int& KeyAscii) { txtPostConDate_KeyPress(KeyAscii); }});
    txtPostConTime->installEventFilter(this);
    txtPostConDate->installEventFilter(this);
    attachPickLists();
}

bool EntryLine::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (watched == txtCall || watched == txtCntry || watched == txtSec)
            return entryFocusEvent(watched, event);
        if (watched == txtPostConTime || watched == txtPostConDate)
            return postContestFocusEvent(watched, event);
    }
    if (gridEvent(watched, event)) return true;
    return QObject::eventFilter(watched, event);
}

bool EntryLine::entryFocusEvent(QObject* watched, QEvent* event) {
    // Focus handlers run once the handler that moved the focus has finished,
    // the box left first and then the box entered, so that what they write
    // (a dupe warning, a filled-in exchange) is what stays.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // The window's first activation after it has loaded gives the call box
    // the focus; its prompt is due then.
    const bool opening = openingFocus_ && event->type() == QEvent::FocusIn && watched == txtCall;
    if (event->type() == QEvent::FocusIn) openingFocus_ = false;
    // Leaving the window for a box or a menu, and coming back, is no leaving
    // or entering of the box.
    if (!opening && (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason))
        return false;
    auto later = [this](void (EntryLine::*handler)()) {
        QMetaObject::invokeMethod(this, handler, Qt::QueuedConnection);
    };
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtCall) later(&EntryLine::txtCall_GotFocus);
        if (watched == txtCntry) later(&EntryLine::txtCntry_GotFocus);
        if (watched == txtSec) later(&EntryLine::txtSec_GotFocus);
    } else if (event->type() == QEvent::FocusOut && watched == txtCall) {
        later(&EntryLine::txtCall_LostFocus);
    }
    return false;
}

void EntryLine::speak(const QString& prompt, int fromLevel) {
    if (program_.station.VoiceNavMode >= fromLevel && program_.station.VoiceNavMode != 0)
        program_.blindFrm().BlindKeyPhone(prompt);
}

void EntryLine::txtCall_KeyPress(int& KeyAscii) {
    // Keys typed during a duplicate's hold reach this handler only once it
    // is over; one that has run out unnoticed ends here.
    WaitDupeTimeout();
    const bool in = in_;
    scaleDupeFont(9.0);

    const int length = static_cast<int>(txtCall->text().size());
    if (length < 2 && (in || KeyAscii != 13)) {
        if (txtCntry) txtCntry->clear();
        for (QLabel* label : {Label19, Label22, Label23}) label->clear();
    }
    if (KeyAscii == 34) KeyAscii = 0;
    if (length < 3 && program_.operating.LoggedOn && (in || KeyAscii != 13))
        lblDialog->setText(QStringLiteral(" "));
    if (!program_.operating.LoggedOn) {
        lblDialog->setText(QStringLiteral("Click Log \"Time On\"!"));
        program_.dialogs().Beep();
    }
    if (KeyAscii == 13) {
        KeyAscii = 0;
        Mains();
    }
    if (KeyAscii == 32) {
        KeyAscii = 0;
        (in ? txtCntry : txtSec)->setFocus();
    }
    setup::Cap(KeyAscii);
    if (program_.entry.DupeFlag == 1) {
        // The duplicate's red message stands for its three seconds; the
        // status line is reset when they have passed.
        holdDupe();
        return;
    }
    CheckCallAsTyped(KeyAscii);
}

void EntryLine::holdDupe() {
    if (holdTimed_) return;
    holdTimed_ = true;
    const std::int64_t left = program_.entry.LastDupeAtMs + 3000 - program_.clock().MonotonicMs();
    program_.clock().SingleShot(static_cast<int>(std::max<std::int64_t>(left, 0)), this,
                                [this] { EndDupeHold(); });
}

bool EntryLine::holdsKey(const QWidget* box) {
    const bool entryBox = box != nullptr && (box == txtCall || box == txtCntry || box == txtSec ||
                                             box == txtPostConTime || box == txtPostConDate);
    if (!entryBox || !dupeHoldRuns()) return false;
    holdDupe();
    return true;
}

void EntryLine::scaleDupeFont(double points) {
    platform::FontModel font = form_.Ctl(lblDupe).Font;
    font.Size = static_cast<float>(window_.ScreenTwips().width() * points / 9600.0 *
                                   program_.station.FormSizePercent / 100.0);
    if (font.Size != form_.Ctl(lblDupe).Font.Size) form_.SetFont(lblDupe, font);
}

void EntryLine::EndDupeHold() {
    holdTimed_ = false;
    if (program_.entry.DupeFlag == 1) {
        if (WaitDupeTimeout()) {
            holdDupe();
            return;
        }
        CheckCallAsTyped(0);
    }
    if (keys_) keys_->ReleaseKeys();
}

void EntryLine::setRSTLength() {
    if (!txtRSTS) return;
    const int length = platform::SameText(program_.station.CurrentMode, QLatin1StringView("PH")) ? 2 : 3;
    txtRSTS->setMaxLength(length);
    txtRSTR->setMaxLength(length);
}

void EntryLine::txtCall_Change() {
    program_.entry.CWMacroCall = txtCall->text();
    if (in_) LookupCallPrefix();
}

void EntryLine::txtCall_GotFocus() {
    window_.HideEditButtons();
    if (!in_ && txtCall->text().isEmpty()) {
        txtRSTS->clear();
        txtRSTR->clear();
    }
    speak(QStringLiteral("Call"), 1);
    const int rows = window_.RecentRowCount();
    if (txtCall->text().isEmpty() && rows < program_.log.QSOCount && rows < 18) window_.ListRecentContacts();
}

void EntryLine::txtCall_LostFocus() {
    if (!txtCall->text().isEmpty()) DupCheck2();
    if (!in_) return;
    if (txtCntry->text().isEmpty() && txtCall->text().size() > 2) {
        const QString code = CanadianProvinceCode(txtCall->text());
        if (!code.isEmpty()) {
            txtCntry->setText(code);
            txtCntry->setSelection(0, 2);
        }
    }
}

void EntryLine::txtCntry_GotFocus() {
    speak(QStringLiteral("SPC"), 2);
    if (txtCall->text().contains(u'9') && txtCntry->text().isEmpty()) {
        txtCntry->setText(program_.station.PartyState);
        txtCntry->setSelection(0, static_cast<int>(txtCntry->text().size()));
    }
}

void EntryLine::txtCntry_KeyPress(int& KeyAscii) {
    if (KeyAscii == 34) KeyAscii = 0;
    if (KeyAscii == 13) {
        KeyAscii = 0;
        Mains();
        return;
    }
    if (KeyAscii == 32 && SelStart(txtCntry) == 0) {
        KeyAscii = 0;
        txtSec->setFocus();
        return;
    }
    if (KeyAscii >= '0' && KeyAscii <= '9') {
        // A digit belongs to the county box: there it acts as Space.
        int digit = KeyAscii;
        txtSec_KeyPress(digit);
        KeyAscii = 0;
        txtSec->setFocus();
        return;
    }
    QString t = txtCntry->text();
    const int c = SelStart(txtCntry);
    if (KeyAscii != 0 && KeyAscii != 32 && c == 0) {
        txtCntry->clear();
        t.clear();
    }
    if ((t.isEmpty() || c < 2) && KeyAscii != 0) setup::Cap(KeyAscii);
    if (KeyAscii != 0 && KeyAscii != 32 && c == 2 && t.size() >= 2) {
        txtCntry->setText(t.left(1) + t.right(1).toLower());
        txtCntry->setCursorPosition(2);
        t = txtCntry->text();
    }
    if (t.size() > 1 && KeyAscii != 0) {
        const QString p = t.left(SelStart(txtCntry)) + QChar(KeyAscii);
        const setup::PrefixTable& table = program_.prefixes;
        for (int row = table.PrefixCount; row >= 1; --row) {
            const setup::PrefixRow& r = table.row(row);
            if (!r.country.startsWith(p, Qt::CaseInsensitive)) continue;
            txtCntry->setText(p + r.country.mid(p.size()));
            txtCntry->setSelection(static_cast<int>(p.size()), static_cast<int>(r.country.size() - p.size()));
            KeyAscii = 0;
            Label19->setText(r.continent);
            ShowBearingDistance(r.latitude, r.longitude);
            break;
        }
        if (KeyAscii == 32) {
            KeyAscii = 0;
            txtSec->setFocus();
        }
    }
}

void EntryLine::txtCntry_Change() {
    try {
        const QString text = txtCntry->text();
        const setup::Station& st = program_.station;
        countyCaption->setEnabled(platform::SameText(text, st.PartyState));
        if (text.size() == 2) {
            for (int i = 1; i <= setup::kStatePositions; ++i) {
                const setup::StatePosition& s = program_.statePositions.rows[static_cast<std::size_t>(i)];
                if (!s.code.isEmpty() && platform::SameText(s.code, text)) {
                    Label19->setText(QStringLiteral("NA"));
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
        Label3->setVisible(showNew);
    } catch (const std::exception&) {
        // The labels stay as far as they came.
    }
}

void EntryLine::txtSec_GotFocus() {
    if (in_) {
        if (!platform::SameText(txtCntry->text(), program_.station.PartyState)) {
            txtCall->setFocus();
            countyCaption->setEnabled(false);
        } else {
            countyCaption->setEnabled(true);
        }
    }
    speak(QStringLiteral("County"), 2);
}

void EntryLine::txtSec_KeyPress(int& KeyAscii) {
    if (KeyAscii == 34) KeyAscii = 0;
    if (in_ && KeyAscii >= 33 && KeyAscii <= 57) KeyAscii = 32;
    if (KeyAscii == 13) {
        KeyAscii = 0;
        Mains();
        return;
    }
    QString t = txtSec->text();
    const int c = SelStart(txtSec);
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
        txtSec->clear();
        t.clear();
    }
    if (txtSec->text().isEmpty() && KeyAscii != 0) setup::Cap(KeyAscii);
    t = txtSec->text();
    if (c > 0 && c < t.size() && t[c - 1] == u' ') setup::Cap(KeyAscii);
    if (KeyAscii == 0) return;

    const QString p = t.left(c) + QChar(KeyAscii);
    const logstore::CountyTable& counties = program_.counties;
    for (int row = counties.CountyCount; row >= 1; --row) {
        const QString& name = counties.CountyNames[static_cast<std::size_t>(row)];
        if (!name.startsWith(p, Qt::CaseInsensitive)) continue;
        txtSec->setText(p + name.mid(p.size()));
        txtSec->setSelection(static_cast<int>(p.size()), static_cast<int>(name.size() - p.size()));
        KeyAscii = 0;
        return;
    }
}

void EntryLine::txtSec_Change() {
    const QString text = txtSec->text();
    bool worked = false;
    for (int i = 0; i < List2->count() && !worked; ++i) worked = platform::SameText(List2->item(i)->text(), text);
    lblNew->setVisible(text.size() > 1 && !worked);
}

void EntryLine::LookupCallPrefix() {
    const PrefixLookupResult r =
        entry::LookupCallPrefix(program_, txtCall->text(), txtCntry->text());
    // Writing the country box runs its change handler first; what the
    // lookup writes afterwards stands.
    if (r.country) txtCntry->setText(*r.country);
    if (r.continent) Label19->setText(*r.continent);
    if (r.bearing == BearingAction::Clear) {
        Label22->clear();
        Label23->clear();
    } else if (r.bearing == BearingAction::Show) {
        ShowBearingDistance(r.latitude, r.longitude);
    }
    if (r.countrySelLength) txtCntry->setSelection(0, *r.countrySelLength);
}

void EntryLine::ShowBearingDistance(float latitude, float longitude) {
    const BearingDistanceText text = BearingDistance(
        program_.station.OwnLatitude, program_.station.OwnLongitude, latitude, longitude);
    Label22->setText(text.bearing);
    Label23->setText(text.distance);
}

}  // namespace entry

#include "entry/contact_edit_dialog.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QScopeGuard>
#include <array>
#include <vector>

#include "logstore/contact_log.h"
#include "logstore/county_table.h"
#include "logstore/log_moment.h"
#include "platform/colors.h"
#include "platform/key_adapter.h"
#include "platform/modal.h"
#include "platform/same_text.h"
#include "platform/twips.h"
#include "program/main_window_proxy.h"
#include "program/program.h"
#include "setup/bands.h"
#include "setup/key_filters.h"
#include "setup/resize.h"

namespace entry {

namespace {

const QString kDupe = QStringLiteral("  Dupe!");
const QString kInvalid = QStringLiteral("   Invalid!");
constexpr float kRowStep = 360;
constexpr float kCaptionLeft = 840;
constexpr float kBoxLeft = 1800;
constexpr float kBoxHeight = 315;

// The start of the selection, or the caret when nothing is selected.
int selStart(const QLineEdit* box) {
    return box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
}

// Completes the text typed so far (the text before the caret followed by the
// key) from the last entry of `names` (rows 1 to count, scanned from the
// last) that begins with it, ignoring case: the typed part stays as typed,
// the rest comes from the entry and is selected, and the key is used up.
template <class NameAt>
void completeFrom(QLineEdit* box, int& KeyAscii, int count, NameAt nameAt) {
    if (KeyAscii < 32) return;  // Backspace and other control keys edit as usual
    const QString typed = box->text().left(selStart(box)) + QChar(KeyAscii);
    for (int row = count; row >= 1; --row) {
        const QString& name = nameAt(row);
        if (!name.startsWith(typed, Qt::CaseInsensitive)) continue;
        box->setText(typed + name.mid(typed.size()));
        box->setSelection(static_cast<int>(typed.size()), static_cast<int>(name.size() - typed.size()));
        KeyAscii = 0;
        return;
    }
}

}  // namespace

ContactEditDialog::ContactEditDialog(Program& program, EditSide side)
    : program_(program), side_(side) {
    setWindowTitle(QStringLiteral("Edit Contact Entry"));
    // No minimise or maximise button. Done and Delete Dupe are the ways out
    // with the edit; the close box and Esc leave without it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    if (side_ == EditSide::In)
        buildInState();
    else
        buildOutState();

    // The carried fields: loaded and written back, never shown.
    txtEditNum = AddTextBox(QStringLiteral("txtEditNum"), QString(), 0, 0, 100, 100);
    txtEditCk = AddTextBox(QStringLiteral("txtEditCk"), QString(), 0, 0, 100, 100);
    for (QLineEdit* carried : {txtEditNum, txtEditCk}) {
        carried->hide();
        carried->setFocusPolicy(Qt::NoFocus);
    }
    cmdDeleteDupe->hide();
    connect(cmdDone, &QPushButton::clicked, this, &ContactEditDialog::cmdDone_Click);
    connect(cmdDeleteDupe, &QPushButton::clicked, this, &ContactEditDialog::cmdDeleteDupe_Click);
    attachKeys();
    Apply();
}

ContactEditDialog::~ContactEditDialog() = default;

// One row of the dialog: caption, box and (for a checked box) its marker.
struct ContactEditDialog::Row {
    const char* labelName;
    const char* caption;
    QLabel* ContactEditDialog::*label;
    const char* boxName;
    QLineEdit* ContactEditDialog::*box;
    const char* markerName;  // null: the row has no marker
    QLabel* ContactEditDialog::*marker;
    float boxLeft;
};

void ContactEditDialog::addRows(float top, std::initializer_list<Row> rows, float doneLeft,
                                float doneTop, float deleteTop) {
    std::vector<QWidget*> order;
    for (const Row& row : rows) {
        QLabel* label = AddLabel(QString::fromLatin1(row.labelName), QString::fromLatin1(row.caption),
                                 kCaptionLeft, top + 30, row.boxLeft - kCaptionLeft - 60, 285);
        label->setWordWrap(false);
        SetFont(label, {.Name = QStringLiteral("Arial"), .Size = 9.75f, .Bold = true});
        this->*row.label = label;
        const float right = ScaleWidth() - 120;
        QLineEdit* box = AddTextBox(QString::fromLatin1(row.boxName), QString(), row.boxLeft, top,
                                    right - row.boxLeft, kBoxHeight);
        this->*row.box = box;
        order.push_back(box);
        if (row.markerName) {
            // In the left margin, hidden until a check shows it.
            const bool dupe = row.box == &ContactEditDialog::txtEditCall;
            QLabel* marker = AddLabel(QString::fromLatin1(row.markerName), dupe ? kDupe : kInvalid,
                                      0, top + 30, 735, 255);
            SetFont(marker, {.Name = QStringLiteral("Arial"), .Size = 8.25f});
            platform::SetForeColor(marker, Qt::white);
            platform::SetBackColor(marker, QColor(128, 0, 0));
            marker->setWordWrap(false);
            marker->hide();
            this->*row.marker = marker;
        }
        top += kRowStep;
    }
    cmdDone = AddCommandButton(QStringLiteral("cmdDone"), QStringLiteral("Done"), doneLeft, doneTop, 1335, 375);
    // The caption wraps onto two lines in its narrow box.
    cmdDeleteDupe = AddCommandButton(QStringLiteral("cmdDeleteDupe"), QStringLiteral("Delete\nDupe"),
                                     0, deleteTop, 735, 495);
    order.push_back(cmdDone);
    order.push_back(cmdDeleteDupe);
    for (std::size_t k = 0; k + 1 < order.size(); ++k) setTabOrder(order[k], order[k + 1]);
}

void ContactEditDialog::buildInState() {
    SetDesignClientSize(3450, 4410);
    Image1 = AddImage(QStringLiteral("Image1"), 240, 180, 480, 480);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(64));
    lblEditTitle = AddLabel(QStringLiteral("lblEditTitle"), QStringLiteral("Edit Contact:"), 840, 240, 2400, 375);
    SetFont(lblEditTitle, {.Name = QStringLiteral("Arial"), .Size = 12, .Bold = true});
    using D = ContactEditDialog;
    addRows(840,
            {
                {"lblcall", "Callsign", &D::lblcall, "txtEditCall", &D::txtEditCall, "Label1", &D::Label1, kBoxLeft},
                {"lblSec", "County", &D::lblSec, "txtEditSec", &D::txtEditSec, "Label7", &D::Label7, kBoxLeft},
                {"lblPre", "SPC", &D::lblPre, "txtEditPre", &D::txtEditPre, "Label2", &D::Label2, kBoxLeft},
                {"lblDate", "Date", &D::lblDate, "txtEditDate", &D::txtEditDate, nullptr, nullptr, kBoxLeft},
                {"lblTime", "Time", &D::lblTime, "txtEditTime", &D::txtEditTime, nullptr, nullptr, kBoxLeft},
                {"lblBnd", "Mode", &D::lblBnd, "txtEditBnd", &D::txtEditBnd, "Label3", &D::Label3, kBoxLeft},
                {"Label4", "Band", &D::Label4, "Text1", &D::Text1, "Label6", &D::Label6, kBoxLeft},
                {"Label8", "County Sent", &D::Label8, "Text3", &D::Text3, "Label9", &D::Label9, 2160},
            },
            (3450 - 1335) / 2.0f, 3840, 1920);
}

void ContactEditDialog::buildOutState() {
    SetDesignClientSize(3255, 3255);
    lblEditTitle = AddLabel(QStringLiteral("lblEditTitle"), QStringLiteral("Edit Contact:"), 960, 60, 2175, 375);
    SetFont(lblEditTitle, {.Name = QStringLiteral("Arial"), .Size = 12, .Bold = true});
    using D = ContactEditDialog;
    addRows(480,
            {
                {"lblcall", "Callsign", &D::lblcall, "txtEditCall", &D::txtEditCall, "Label1", &D::Label1, kBoxLeft},
                {"lblPre", "County", &D::lblPre, "txtEditPre", &D::txtEditPre, "Label2", &D::Label2, kBoxLeft},
                {"lblDate", "Date", &D::lblDate, "txtEditDate", &D::txtEditDate, nullptr, nullptr, kBoxLeft},
                {"lblTime", "Time", &D::lblTime, "txtEditTime", &D::txtEditTime, nullptr, nullptr, kBoxLeft},
                {"lblBnd", "Mode", &D::lblBnd, "txtEditBnd", &D::txtEditBnd, "Label3", &D::Label3, kBoxLeft},
                {"Label4", "Band", &D::Label4, "Text1", &D::Text1, "Label6", &D::Label6, kBoxLeft},
            },
            960, 2760, 0);
}

void ContactEditDialog::attachKeys() {
    auto* keys = new platform::KeyAdapter(this);
    // Esc, wherever the focus is, leaves as the close box does: nothing is
    // written.
    keys->SetKeyPreview({.keyPress = [this](int& KeyAscii) {
        if (KeyAscii != platform::vbKeyEscape) return;
        KeyAscii = 0;
        close();
    }});
    // Enter in any box runs Done; the box's own rule sees no key then.
    auto attach = [this, keys](QLineEdit* box, std::function<void(int&)> rule) {
        keys->Attach(box, {.keyPress = [this, rule](int& KeyAscii) {
                               if (KeyAscii == platform::vbKeyReturn) {
                                   KeyAscii = 0;
                                   cmdDone_Click();
                                   return;
                               }
                               rule(KeyAscii);
                           }});
        box->installEventFilter(this);
    };
    auto capitals = [](int& KeyAscii) {
        if (KeyAscii == '"') KeyAscii = 0;
        Cap2(KeyAscii);
    };
    attach(txtEditCall, capitals);
    attach(txtEditBnd, capitals);
    attach(Text1, capitals);
    attach(txtEditDate, [](int& KeyAscii) {
        if (KeyAscii != platform::vbKeyBack && KeyAscii != '/' && (KeyAscii < '0' || KeyAscii > '9'))
            KeyAscii = 0;
    });
    attach(txtEditTime, [](int& KeyAscii) {
        if (KeyAscii != platform::vbKeyBack && KeyAscii != ':' && (KeyAscii < '0' || KeyAscii > '9'))
            KeyAscii = 0;
    });
    if (side_ == EditSide::In) {
        attach(txtEditSec, [this](int& KeyAscii) { countyTypeAhead(txtEditSec, KeyAscii); });
        attach(Text3, [this](int& KeyAscii) { countyTypeAhead(Text3, KeyAscii); });
        attach(txtEditPre, [this](int& KeyAscii) { countryTypeAhead(KeyAscii); });
    } else {
        attach(txtEditPre, [this](int& KeyAscii) { countyTypeAhead(txtEditPre, KeyAscii); });
    }
}

void ContactEditDialog::Cap2(int& KeyAscii) { setup::Cap(KeyAscii); }

void ContactEditDialog::number(int& KeyAscii) { setup::NumOnly(KeyAscii); }

void ContactEditDialog::countyTypeAhead(QLineEdit* box, int& KeyAscii) {
    if (KeyAscii == '"') {
        KeyAscii = 0;
        return;
    }
    const int caret = selStart(box);
    // Typing at the start replaces the whole text.
    if (caret == 0 && KeyAscii != platform::vbKeySpace) box->clear();
    if (box->text().isEmpty()) setup::Cap(KeyAscii);
    // A new word of the county's name starts with a capital.
    const QString text = box->text();
    if (caret >= 1 && caret < text.size() && text.at(caret - 1) == u' ') setup::Cap(KeyAscii);
    const logstore::CountyTable& counties = program_.counties;
    completeFrom(box, KeyAscii, counties.CountyCount,
                 [&counties](int row) -> const QString& {
                     return counties.CountyNames[static_cast<std::size_t>(row)];
                 });
}

void ContactEditDialog::countryTypeAhead(int& KeyAscii) {
    if (KeyAscii == '"') {
        KeyAscii = 0;
        return;
    }
    if (txtEditPre->text().isEmpty() || selStart(txtEditPre) == 0) {
        txtEditPre->clear();
        Cap2(KeyAscii);
    }
    const setup::PrefixTable& prefixes = program_.prefixes;
    completeFrom(txtEditPre, KeyAscii, prefixes.PrefixCount,
                 [&prefixes](int row) -> const QString& { return prefixes.row(row).country; });
}

int ContactEditDialog::record() const {
    const int r = program_.entry.EditRecordNo;
    return r >= 1 && r <= program_.log.QSOCount ? r : 0;
}

void ContactEditDialog::Form_Load() { Form_Load(platform::ScreenSizeTwips()); }

void ContactEditDialog::Form_Load(QSizeF screenTwips) {
    setup::ResizeForm(*this, screenTwips);
    const int r = record();
    if (r != 0) {
        const logstore::ContactRecord& row = program_.log.row(r);
        txtEditNum->setText(row.QSORSTSent);
        txtEditCall->setText(row.QSOCall);
        txtEditCk->setText(row.QSORSTRcvd);
        txtEditDate->setText(row.QSODate);
        txtEditTime->setText(row.QSOTime);
        txtEditBnd->setText(row.QSOMode);
        Text1->setText(row.QSOBand);
        if (side_ == EditSide::In) {
            txtEditPre->setText(row.QSOSPC);
            txtEditSec->setText(row.QSOCounty);
            Text3->setText(row.QSOCountySent);
        } else {
            txtEditPre->setText(row.QSOCounty);
        }
    }
    stored_.clear();
    for (const QLineEdit* box : {txtEditCall, txtEditSec, txtEditPre, txtEditDate, txtEditTime, txtEditBnd,
                                 Text1, Text3, txtEditNum, txtEditCk})
        if (box) stored_[box] = box->text();
    for (QLabel* marker : {Label1, Label2, Label3, Label6, Label7, Label9})
        if (marker) marker->hide();
    cmdDeleteDupe->hide();
    txtEditCall->setFocus();
}

bool ContactEditDialog::changed(const QLineEdit* box) const {
    const auto found = stored_.find(box);
    return found == stored_.end() || box->text() != found->second;
}

QString ContactEditDialog::savedText(const QLineEdit* box) const {
    if (side_ == EditSide::Out && (box == txtEditCall || box == txtEditPre || box == txtEditNum || box == txtEditCk))
        return box->text().trimmed();
    return box->text();
}

// ---- Checks ----

bool ContactEditDialog::CountyReceivedCheck() {
    QLineEdit* box = countyBox();
    QLabel* marker = side_ == EditSide::In ? Label7 : Label2;
    marker->hide();
    if (!changed(box)) return true;
    const QString text = savedText(box);
    // The in-state dialog lets a contact have no county (a station outside
    // the party state); the out-of-state one logs only party counties.
    if (side_ == EditSide::In && text.isEmpty()) return true;
    const logstore::CountyTable& counties = program_.counties;
    for (i = 1; i <= counties.CountyCount; ++i)
        if (platform::SameText(counties.CountyNames[static_cast<std::size_t>(i)], text)) return true;
    program_.dialogs().Beep();
    marker->show();
    return false;
}

bool ContactEditDialog::CountySentCheck() {
    Label9->hide();
    if (!changed(Text3)) return true;
    const QString text = Text3->text();
    // Logging stores the operating county's abbreviation as the county sent;
    // a full name is as good.
    const logstore::CountyTable& counties = program_.counties;
    if (!text.isEmpty()) {
        for (i = 1; i <= counties.CountyCount; ++i) {
            const auto row = static_cast<std::size_t>(i);
            if (platform::SameText(counties.CountyNames[row], text) ||
                platform::SameText(counties.CountyAbbrevs[row], text))
                return true;
        }
    }
    program_.dialogs().Beep();
    Label9->show();
    return false;
}

bool ContactEditDialog::ModeCheck() {
    if (!changed(txtEditBnd)) {
        Label3->hide();
        return true;
    }
    const QString mode = txtEditBnd->text();
    for (const char* valid : {"CW", "PH", "DG"})
        if (platform::SameText(mode, QLatin1StringView(valid))) {
            Label3->hide();
            return true;
        }
    program_.dialogs().Beep();
    Label3->show();
    return false;
}

bool ContactEditDialog::BandCheck() {
    if (!changed(Text1)) {
        Label6->hide();
        return true;
    }
    const QString band = Text1->text();
    for (const char* code : setup::kBandCodes)
        if (platform::SameText(band, QLatin1StringView(code))) {
            Label6->hide();
            return true;
        }
    program_.dialogs().Beep();
    Label6->show();
    return false;
}

bool ContactEditDialog::DateCheck() {
    if (logstore::ParseLogDate(txtEditDate->text())) return true;
    program_.dialogs().Beep();
    program_.dialogs().MsgBox(QStringLiteral("You have entered an invalid date format!"),
                              platform::vbOKOnly, QStringLiteral("Invalid Date Format!"));
    return false;
}

bool ContactEditDialog::TimeCheck() {
    if (logstore::ParseLogTime(txtEditTime->text())) return true;
    program_.dialogs().Beep();
    program_.dialogs().MsgBox(QStringLiteral("You have entered an invalid time format!"),
                              platform::vbOKOnly, QStringLiteral("Invalid Time Format!"));
    return false;
}

void ContactEditDialog::leaveCheck(QLineEdit* box) {
    // Done has closed the dialog, or is checking everything itself.
    if (!isVisible() || inDone_) return;
    bool passed = true;
    if (box == countyBox())
        passed = CountyReceivedCheck();
    else if (box == Text3)
        passed = CountySentCheck();
    else if (box == txtEditBnd)
        passed = ModeCheck();
    else if (box == Text1)
        BandCheck();  // the focus moves on even when the band is refused
    else if (box == txtEditDate)
        passed = DateCheck();
    else if (box == txtEditTime)
        passed = TimeCheck();
    if (!passed) box->setFocus();
}

bool ContactEditDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // The operator leaves the box by Tab, a click or a shortcut; focus
        // moved by the program, or lost to another window, is no leaving.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason) {
            QPointer<QLineEdit> box = qobject_cast<QLineEdit*>(watched);
            // The check runs once the key or click that moved the focus is
            // done, so its message never interrupts a click half-way.
            QTimer::singleShot(0, this, [this, box] {
                if (box) leaveCheck(box);
            });
        }
    }
    return platform::Form::eventFilter(watched, event);
}

// ---- Done and Delete Dupe ----

bool ContactEditDialog::isDuplicateOf(int n) const {
    const logstore::ContactRecord& other = program_.log.row(n);
    if (!platform::SameText(other.QSOCall, savedText(txtEditCall)) ||
        !platform::SameText(other.QSOCounty, savedText(countyBox())) ||
        !platform::SameText(other.QSOMode, txtEditBnd->text()) ||
        !platform::SameText(other.QSOBand, Text1->text()))
        return false;
    if (side_ == EditSide::Out) return true;
    // The county sent, whether written as a name or an abbreviation.
    const logstore::CountyTable& counties = program_.counties;
    return platform::SameText(logstore::ToCountyAbbreviation(counties, other.QSOCountySent),
                              logstore::ToCountyAbbreviation(counties, Text3->text()));
}

void ContactEditDialog::cmdDone_Click() {
    if (inDone_) return;
    inDone_ = true;
    auto leave = qScopeGuard([this] { inDone_ = false; });
    const int r = record();
    if (r == 0) {
        hide();  // no contact to edit: nothing is written
        return;
    }
    if (side_ == EditSide::In && txtEditPre->text().size() < 3) txtEditPre->setText(txtEditPre->text().toUpper());
    if (!TimeCheck()) {
        txtEditTime->setFocus();
        return;
    }
    if (!DateCheck()) {
        txtEditDate->setFocus();
        return;
    }
    // The own check of every box the operator changed, again: Enter in a box
    // runs Done without the check of leaving it, and a refused text must
    // never be written. What the log already holds stays as good as it was.
    QLineEdit* firstFailed = nullptr;
    auto check = [&firstFailed](QLineEdit* box, bool passed) {
        if (!passed && !firstFailed) firstFailed = box;
    };
    check(countyBox(), CountyReceivedCheck());
    check(txtEditBnd, ModeCheck());
    check(Text1, BandCheck());
    if (side_ == EditSide::In) check(Text3, CountySentCheck());
    if (firstFailed) {
        firstFailed->setFocus();
        return;
    }

    int duplicates = 0;
    for (int n = 1; n <= program_.log.QSOCount; ++n) {
        if (n == r || !isDuplicateOf(n)) continue;
        ++duplicates;
        Label1->show();
        cmdDeleteDupe->show();
        program_.dialogs().Beep();
    }
    if (duplicates == 0) Label1->hide();

    bool codeKnown = true;
    if (side_ == EditSide::In && txtEditPre->text().size() == 2) {
        codeKnown = program_.stateProvinces.Find(txtEditPre->text()) != 0;
        Label2->setVisible(!codeKnown);
        if (!codeKnown) program_.dialogs().Beep();
    } else if (side_ == EditSide::In) {
        Label2->hide();
    }
    if (duplicates != 0 || !codeKnown) return;

    // Dates and times are kept in one form whatever was typed, so the list,
    // the rates and the submission read them alike. Blanks around the call,
    // the county and the reports out of the party state are no part of
    // them: the duplicate test and the log see the texts without, while the
    // boxes keep what the operator typed.
    logstore::ContactRecord& row = program_.log.row(r);
    row.QSOCall = savedText(txtEditCall);
    row.QSORSTSent = savedText(txtEditNum);
    if (side_ == EditSide::In) row.QSOSPC = txtEditPre->text();
    row.QSORSTRcvd = savedText(txtEditCk);
    row.QSOCounty = savedText(countyBox());
    row.QSODate = logstore::ParseLogDate(txtEditDate->text())->toString(QStringLiteral("yyyy/MM/dd"));
    row.QSOTime = logstore::ParseLogTime(txtEditTime->text())->toString(QStringLiteral("HH:mm:ss"));
    row.QSOMode = txtEditBnd->text();
    row.QSOBand = Text1->text();
    if (side_ == EditSide::In) row.QSOCountySent = Text3->text();
    hide();
}

void ContactEditDialog::cmdDeleteDupe_Click() {
    hide();
    // The main window's delete asks "Are you sure?" and deletes the selected
    // row of its recent-contacts list: the contact under edit.
    program_.form1().DeleteSelectedContact();
}

void ShowContactEditDialog(Program& program) {
    ContactEditDialog& dialog = program.contactEditDialog();
    dialog.Form_Load();
    platform::ShowModal(dialog);
    program.UnloadContactEditDialog();
}

}  // namespace entry

#include "entry/county_change.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "logstore/county_table.h"
#include "platform/colors.h"
#include "platform/key_adapter.h"
#include "platform/modal.h"
#include "platform/same_text.h"
#include "platform/twips.h"
#include "program/main_window_proxy.h"
#include "program/program.h"
#include "setup/key_filters.h"
#include "setup/resize.h"
#include "setup/station.h"

namespace entry {

frmCountyChange::frmCountyChange(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral("County Change"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    SetDesignClientSize(3615, 1635);
    Label1 = AddLabel(QStringLiteral("Label1"), QStringLiteral("Please enter your current county:"),
                      240, 240, 3135, 285);
    Text1 = AddTextBox(QStringLiteral("Text1"), QString(), 240, 600, 900, 315);
    Text1->setMaxLength(3);
    Label2 = AddLabel(QStringLiteral("Label2"), QStringLiteral("   Invalid!"), 1260, 630, 900, 255);
    Label2->setWordWrap(false);
    platform::SetForeColor(Label2, Qt::white);
    platform::SetBackColor(Label2, QColor(128, 0, 0));
    Label2->hide();
    Command1 = AddCommandButton(QStringLiteral("Command1"), QStringLiteral("Done"), 1200, 1080, 1215, 375);
    setTabOrder(Text1, Command1);
    connect(Command1, &QPushButton::clicked, this, &frmCountyChange::Command1_Click);
    auto* keys = new platform::KeyAdapter(this);
    keys->Attach(Text1, {.keyPress = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); }});
    Text1->installEventFilter(this);
}

frmCountyChange::~frmCountyChange() = default;

void frmCountyChange::Form_Load() { Form_Load(platform::PrimaryScreenTwips()); }

void frmCountyChange::Form_Load(const platform::ScreenTwips& screen) {
    const QSizeF screenTwips = screen.size;
    // Sized with the screen and centred on it; fonts follow its width, by
    // at most half again.
    setup::ScaleToArea(*this, screenTwips, screenTwips.width(), 2);
    setup::KeepInWorkArea(*this, screen.workArea);
    Text1->setText(program_.station.OperatingCounty);
    Text1->setCursorPosition(0);
    Text1->setFocus();
}

void frmCountyChange::Text1_GotFocus() {
    // From the caret to the end: with the caret at the start the whole
    // county is selected and the first key replaces it.
    const int start = Text1->hasSelectedText() ? Text1->selectionStart() : Text1->cursorPosition();
    Text1->setSelection(start, static_cast<int>(Text1->text().size()) - start);
}

void frmCountyChange::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii == platform::vbKeyReturn) {
        KeyAscii = 0;
        Command1_Click();
        return;
    }
    const int caret = Text1->hasSelectedText() ? Text1->selectionStart() : Text1->cursorPosition();
    if (KeyAscii > 0 && caret == 0) Text1->clear();
    setup::Cap(KeyAscii);
}

bool frmCountyChange::Text1_LostFocus() {
    Label2->hide();
    std::uint8_t& bad = program_.entry.BadCountyFlag;
    bad = 1;
    const logstore::CountyTable& counties = program_.counties;
    for (int i = 1; i <= counties.CountyCount; ++i)
        if (platform::SameText(counties.CountyAbbrevs[static_cast<std::size_t>(i)], Text1->text())) {
            bad = 0;
            break;
        }
    if (bad == 0) return true;
    program_.dialogs().Beep();
    Label2->show();
    Text1->setFocus();
    return false;
}

void frmCountyChange::Command1_Click() {
    // Enter in the box reaches here without the check of leaving it: the
    // county is checked again, and a refused text never becomes the
    // operating county.
    if (!Text1_LostFocus()) return;
    setup::Station& st = program_.station;
    st.OperatingCounty = Text1->text();
    setup::SaveQSOPref(program_);
    // The in-state window shows the county sent at once.
    program_.form1().ShowCountySent(st.OperatingCounty);
    hide();
}

bool frmCountyChange::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (event->type() == QEvent::FocusIn) {
            QTimer::singleShot(0, this, [this] { Text1_GotFocus(); });
        } else if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                   reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason) {
            // Checked once the key or click that moved the focus is done;
            // not once Done has closed the dialog.
            QTimer::singleShot(0, this, [this] {
                if (isVisible()) Text1_LostFocus();
            });
        }
    }
    return platform::Form::eventFilter(watched, event);
}

void ShowCountyChange(Program& program) {
    frmCountyChange& dialog = program.frmCountyChange();
    dialog.Form_Load();
    platform::ShowModal(dialog);
    program.UnloadFrmCountyChange();
}

}  // namespace entry

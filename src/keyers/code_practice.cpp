#include "keyers/code_practice.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTimer>
#include <cmath>

#include "keyers/cw_frm.h"
#include "keyers/keyer_window.h"
#include "keyers/settings_file.h"
#include "keyers/winkey_hook.h"
#include "platform/colors.h"
#include "platform/key_adapter.h"
#include "program/program.h"
#include "setup/key_filters.h"

namespace keyers {

namespace {

const QColor kNavy(0, 0, 128);

// How many times a "For 1 To n" loop runs for the number in a box.
int LoopCount(double n) { return n >= 1 ? static_cast<int>(std::floor(std::min(n, 1e6))) : 0; }

}  // namespace

frmCodePractice::frmCodePractice(Program& program, const platform::ScreenTwips& screen) : program_(program) {
    setWindowTitle(QStringLiteral("On the Air Code Practice"));
    SetDesignClientSize(8520, 6120);
    Build();
    Form_Load(screen);
}

frmCodePractice::~frmCodePractice() {
    // A run cut short by the window's going is over.
    if (running_) --program_.keyer.PracticeSending;
}

void frmCodePractice::Build() {
    // The type-ahead box first, so it has the focus when the window opens.
    Label9 = AddLabel("Label9", "Type characters here to send text from keyboard:", 5520, 5400, 2100,
                      420);
    Text5 = AddTextBox("Text5", "", 7680, 5460, 660, 285);

    Label1 = AddLabel("Label1",
                      "You can transmit morse code practice using randomly generated characters, "
                      "copying and pasting text or typing text into the \"Text to Send\" text box.  "
                      "Click Send to send the characters.",
                      120, 60, 8280, 420);
    Label2 = AddLabel("Label2", " Text to Send", 120, 540, 4200, 255);
    Command6 = AddCommandButton("Command6", "&Clear", 4380, 525, 900, 285);
    Text1 = AddMultiLineTextBox("Text1", "", 120, 840, 5160, 2280);
    Label3 = AddLabel("Label3", " Text Sent", 120, 3240, 4200, 255);
    Command5 = AddCommandButton("Command5", "Cl&ear", 4380, 3225, 900, 285);
    Text2 = AddMultiLineTextBox("Text2", "", 120, 3540, 5160, 2400);

    Command3 = AddCommandButton("Command3", "&Send", 5520, 540, 1320, 420);
    Command4 = AddCommandButton("Command4", "S&top", 6960, 540, 1320, 420);
    Command7 = AddCommandButton("Command7", "&Faster", 5520, 1080, 1320, 360);
    Label7 = AddLabel("Label7", "WPM", 6960, 1140, 900, 255);
    Command8 = AddCommandButton("Command8", "S&lower", 5520, 1500, 1320, 360);
    Label8 = AddLabel("Label8", "13", 6960, 1560, 900, 255);
    Command1 = AddCommandButton("Command1", "&Paste from Clipboard", 5520, 2040, 2760, 420);
    Command2 = AddCommandButton("Command2", "&Generate Random Characters", 5520, 2580, 2760, 420);
    AddLabel("Label4", "Generate", 5520, 3180, 900, 255);
    Text3 = AddTextBox("Text3", "10", 6480, 3150, 600, 285);
    AddLabel("Label5", "groups of", 7200, 3180, 1080, 255);
    Text4 = AddTextBox("Text4", "5", 5520, 3540, 600, 285);
    AddLabel("Label6", "characters each.", 6240, 3570, 2040, 255);
    Frame1 = AddFrame("Frame1", "Include:", 5520, 4020, 2760, 1080);
    Option1 = AddOptionButton("Option1", "Letters Only", 120, 300, 2400, 255, Frame1);
    Option2 = AddOptionButton("Option2", "All", 120, 660, 2400, 255, Frame1);
    Option2->setChecked(true);

    platform::FontModel boxFont;
    boxFont.Name = QStringLiteral("Courier New");
    boxFont.Size = 11.25f;
    for (QPlainTextEdit* box : {Text1, Text2}) {
        SetFont(box, boxFont);
        platform::SetForeColor(box, Qt::white);
        platform::SetBackColor(box, kNavy);
    }
    for (QLabel* bar : {Label2, Label3}) {
        platform::SetForeColor(bar, Qt::white);
        platform::SetBackColor(bar, kNavy);
    }
    platform::FontModel bold;
    bold.Bold = true;
    for (QPushButton* button : {Command3, Command4, Command7, Command8, Command1, Command2})
        SetFont(button, bold);
    bold.Size = 9.75f;
    SetFont(Label8, bold);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    keys_ = new platform::KeyAdapter(this);
    keys_->Attach(Text1, {.keyPress = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); }});
    keys_->Attach(Text5, {.keyPress = [this](int& KeyAscii) { Text5_KeyPress(KeyAscii); }});
}

void frmCodePractice::Form_Load(const platform::ScreenTwips& screen) {
    ScaleToWorkArea(*this, screen);
    Label8->setText(program_.cwFrm().Text11->text());
    for (int i = 0; i < 26; ++i) PracticeCharacters[static_cast<std::size_t>(1 + i)] = QChar(u'A' + i);
    for (int i = 0; i < 10; ++i) PracticeCharacters[static_cast<std::size_t>(27 + i)] = QChar(u'0' + i);
    const char punctuation[] = ".,?/-";
    for (int i = 0; i < 5; ++i)
        PracticeCharacters[static_cast<std::size_t>(37 + i)] = QChar::fromLatin1(punctuation[i]);
}

bool frmCodePractice::Form_Unload() {
    program_.keyer.CWBuffer.clear();
    PracticeSendText.clear();
    return program_.keyer.CWSending != 1;
}

void frmCodePractice::closeEvent(QCloseEvent* event) {
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
}

void frmCodePractice::Command1_Click() {
    Text1->setPlainText(QGuiApplication::clipboard()->text());
}

void frmCodePractice::Command2_Click() {
    if (!BoxNumber(Text3->text())) Text3->setText(QStringLiteral("10"));
    if (!BoxNumber(Text4->text())) Text4->setText(QStringLiteral("5"));
    QRandomGenerator random(static_cast<quint32>(program_.clock().MonotonicMs()) ^
                            static_cast<quint32>(program_.clock().UtcNow().toMSecsSinceEpoch()));
    const int n = Option1->isChecked() ? 26 : 41;
    const int groups = LoopCount(*BoxNumber(Text3->text()));
    const int length = LoopCount(*BoxNumber(Text4->text()));
    QString text;
    for (int g = 0; g < groups; ++g) {
        for (int c = 0; c < length; ++c) {
            const int k = static_cast<int>(random.generateDouble() * n) + 1;
            text += PracticeCharacters[static_cast<std::size_t>(k)];
        }
        text += u' ';
    }
    Text1->setPlainText(text);
}

void frmCodePractice::AppendSent(const QString& character) {
    Text2->setPlainText(Text2->toPlainText() + character);
    const QString sent = Text2->toPlainText();
    if (!sent.isEmpty()) {
        QTextCursor caret = Text2->textCursor();
        caret.setPosition(static_cast<int>(sent.size()) - 1);
        Text2->setTextCursor(caret);
    }
}

void frmCodePractice::Command3_Click() {
    PracticeSendText = Text1->toPlainText();
    Text1->setFocus();
    practiceNext_ = 1;
    // A run under way goes on with the text from its start.
    if (running_) return;
    // The main window stays open while the run goes on.
    running_ = true;
    ++program_.keyer.PracticeSending;
    SendPractice();
}

// One step of the run: the next character of the box goes to the keyer; the
// next step follows when the software keyer has sent it, or at once for a
// WinKeyer, which drains the buffer from its own timers.
void frmCodePractice::SendPractice() {
    KeyerState& k = program_.keyer;
    if (practiceNext_ > PracticeSendText.size()) {
        EndPractice();
        return;
    }
    const qsizetype i = practiceNext_++;
    PracticeSendText = Text1->toPlainText();
    const QString character = PracticeSendText.mid(i - 1, 1);
    // The WinKeyer's sender drains the buffer from its timers: characters
    // it has not handed over yet stay, and this one follows them.
    if (k.WKSending != 0)
        k.CWBuffer += character;
    else
        k.CWBuffer = character;
    const bool starts = k.CWSending == 0;
    if (starts && !program_.cwFrm().LoopThroughCWBuffer()) {
        // The keyer could not send and has said so: the run ends here,
        // with nothing listed that did not leave.
        PracticeSendText.clear();
        EndPractice();
        return;
    }
    AppendSent(character);
    QTextCursor caret = Text1->textCursor();
    caret.setPosition(static_cast<int>(std::min(i, Text1->toPlainText().size())));
    Text1->setTextCursor(caret);
    if (k.CWSending == 1) {
        program_.cwFrm().AfterMessage([p = QPointer<frmCodePractice>(this), starts](bool sent) {
            if (!p) return;
            if (starts && !sent) {
                p->TakeBackSent();
                p->PracticeSendText.clear();
            }
            p->SendPractice();
        });
    } else if (k.WKOpen == kWKOpening && program_.winKey) {
        program_.winKey->WhenOpenEnded([p = QPointer<frmCodePractice>(this)] {
            if (p) p->AfterWinKeyOpen();
        });
    } else {
        QTimer::singleShot(0, this, [this] { SendPractice(); });
    }
}

// The WinKeyer's open goes on from the device's answers: the run goes on
// when it has ended, and ends where a device that would not open (and has
// said so) leaves it, with the character listed taken back.
void frmCodePractice::AfterWinKeyOpen() {
    if (program_.keyer.WKOpen == 0) {
        TakeBackSent();
        PracticeSendText.clear();
        EndPractice();
    } else {
        SendPractice();
    }
}

void frmCodePractice::EndPractice() {
    running_ = false;
    --program_.keyer.PracticeSending;
}

void frmCodePractice::TakeBackSent() {
    QString sent = Text2->toPlainText();
    if (sent.isEmpty()) return;
    sent.chop(1);
    Text2->setPlainText(sent);
}

void frmCodePractice::Command4_Click() {
    PracticeSendText.clear();
    program_.keyer.CWBuffer.clear();
}

void frmCodePractice::Command5_Click() { Text2->clear(); }
void frmCodePractice::Command6_Click() { Text1->clear(); }

void frmCodePractice::Command7_Click() {
    CWFrm& cw = program_.cwFrm();
    cw.UpDown1_UpClick();
    Label8->setText(cw.Text11->text());
}

void frmCodePractice::Command8_Click() {
    CWFrm& cw = program_.cwFrm();
    cw.UpDown1_DownClick();
    Label8->setText(cw.Text11->text());
}

void frmCodePractice::Text1_KeyPress(int& KeyAscii) { setup::Cap(KeyAscii); }

void frmCodePractice::Text5_KeyPress(int& KeyAscii) {
    KeyerState& k = program_.keyer;
    setup::Cap(KeyAscii);
    if (KeyAscii == 8) {
        if (!program_.CWFrmLoaded() || !program_.cwFrm().TakeBackLast()) {
            if (!k.CWBuffer.isEmpty()) k.CWBuffer.chop(1);
        }
        TakeBackSent();
    } else if (KeyAscii >= 0x20 && KeyAscii <= 0x7E) {
        // Only printable characters are sent: a control character would
        // reach a WinKeyer as a command.
        const QString character(QChar(static_cast<char16_t>(KeyAscii)));
        AppendSent(character);
        k.CWBuffer += character;
        // A keyer that could not send takes back what it listed.
        if (k.CWSending == 0) {
            if (!program_.cwFrm().LoopThroughCWBuffer()) {
                TakeBackSent();
            } else {
                program_.cwFrm().AfterMessage([p = QPointer<frmCodePractice>(this)](bool sent) {
                    if (p && !sent) p->TakeBackSent();
                });
            }
        }
    }
    KeyAscii = 0;
}

}  // namespace keyers

#include "keyers/phone_frm.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QCloseEvent>
#include <QEvent>
#include <QTimer>
#include <cmath>

#include "keyers/cw_frm.h"
#include "keyers/keyer_window.h"
#include "keyers/settings_file.h"
#include "keyers/winkey_hook.h"
#include "platform/colors.h"
#include "mainwindow/main_window.h"
#include "platform/dialogs.h"
#include "platform/key_adapter.h"
#include "platform/modal.h"
#include "platform/parallel_port.h"
#include "platform/serial_port.h"
#include "platform/text_file.h"
#include "program/program.h"
#include "setup/key_filters.h"

namespace keyers {

namespace {

constexpr float kRowHeight = 285;

}  // namespace

PhoneFrm::PhoneFrm(Program& program, const platform::ScreenTwips& screen)
    : MMControl1(program.clock(), program.sound().OpenChannel()), program_(program) {
    setWindowTitle(QStringLiteral("Phone Wave Selections"));
    SetDesignClientSize(8880, 6780);
    BuildSetup();
    BuildKeys();
    Timer1 = AddTimer("Timer1", 40);
    tmrRepeat = AddTimer("tmrRepeat", 0);
    commPhone_ = program_.NewSerialPort();
    Wire();
    Form_Load(screen);
}

PhoneFrm::~PhoneFrm() = default;

// The top part, "Setup:": recording and connection help, and the
// push-to-talk interface.
void PhoneFrm::BuildSetup() {
    AddHeading(*this, "Label1", "Setup:", 120, 60, 1200, 255);
    AddLabel("Label2",
             "First, record and save your wave files.  You can use the Windows recorder by "
             "clicking Start, Programs, Accessories, Entertainment, Sound Recorder.",
             120, 330, 8640, 420);
    AddLabel("Label3",
             "Make sure your correct input is selected by clicking Edit, Audio Properties, click "
             "the microphone icon and select the appropriate input (usually microphone or line "
             "in).  Then click Advanced Properties under the microphone icon and set your "
             "hardware acceleration to full and your sample conversion rate quality to best.  "
             "Record a wave file by clicking the red button.  For best recording quality with "
             "Sound Recorder, click File, Properties, Convert Now, and select CD Quality from "
             "the drop down list.  Then click OK.  Click File, Save, select a folder, give the "
             "file a name and save it.",
             120, 780, 8640, 1200);
    AddLabel("Label4",
             "Connect the line-out of your sound card to the audio input of your transceiver.  "
             "Be VERY CAREFUL to start with your sound card's audio output on the lowest "
             "setting.  GRADUALLY increase the sound card's output while playing a wave file "
             "until your transceiver responds appropriately.  Overdriving your radio will cause "
             "a poor transmitted signal at best and the potential for permanent damage to your "
             "radio!  If you connect directly to the mic input of your radio, an interface may "
             "be required to prevent overdriving and/or damage.",
             120, 2040, 8640, 1140);
    AddLabel("Label5",
             "When playing the wave file, you can either key your transmitter manually, use VOX "
             "or an interface connected to your PC's serial port.  To use the serial port, "
             "please enter the valid comm setting (or 0 for none) and select whether you want "
             "to use the RTS or DTR line to key your radio.",
             120, 3300, 5400, 1080);
    Text10 = AddTextBox("Text10", "0", 5640, 3330, 840, kRowHeight);
    Text11 = AddTextBox("Text11", "&H378", 5640, 3720, 1080, kRowHeight);
    Frame1 = AddFrame("Frame1", "", 6840, 3240, 1920, 1080);
    Option1 = AddOptionButton("Option1", "RTS", 120, 180, 1560, 255, Frame1);
    Option2 = AddOptionButton("Option2", "DTR", 120, 480, 1560, 255, Frame1);
    Option3 = AddOptionButton("Option3", "Parallel", 120, 780, 1560, 255, Frame1);
    Option1->setChecked(true);
    AddLine("Line1", 0, 4440, 8880, 4440);
}

// The bottom part, "To Use:": a row per function key in three columns, then
// Test and Done.
void PhoneFrm::BuildKeys() {
    AddHeading(*this, "Label6", "To Use:", 120, 4500, 900, 255);
    AddLabel("Label7", "(You  must be in Phone mode)", 1080, 4500, 3000, 255);
    AddLabel("Label8",
             "Each wave file corresponds to a function key.  Select the wave file you would "
             "like to associate with the function key. From the main logging page, key your "
             "transmitter and press the appropriate function key each time you wish to play a "
             "wave file.",
             120, 4770, 8640, 600);

    QLineEdit** const boxes[] = {&Text1, &Text2, &Text3, &Text4, &Text5,
                                 &Text6, &Text7, &Text8, &Text9};
    QPushButton** const browse[] = {&Command2, &Command3, &Command4, &Command5, &Command6,
                                    &Command7, &Command8, &Command9, &Command10};
    for (int key = 1; key <= 9; ++key) {
        const float left = 120 + static_cast<float>((key - 1) / 3) * 2880;
        const float top = 5430 + static_cast<float>((key - 1) % 3) * 350;
        AddLabel(QString("Label%1").arg(key + 8), QString("F%1").arg(key), left, top + 30, 360,
                 255);
        *boxes[key - 1] = AddTextBox(QString("Text%1").arg(key), "", left + 360, top,
                                     key == 1 ? 1200 : 1680, kRowHeight);
        *browse[key - 1] =
            AddCommandButton(QString("Command%1").arg(key + 1), "Browse", left + 2100, top, 720, 300);
    }
    // The F1 repeat seconds, on the F1 row right of its file.
    txtPHLoop = AddTextBox("txtPHLoop", "0", 1720, 5430, 440, kRowHeight);

    Command11 = AddCommandButton("Command11", "Test", 120, 6480, 900, 300);
    AddLabel("Label18", "Plays F1 Command", 1080, 6505, 1700, 255);
    Command1 = AddCommandButton("Command1", "Done", 3000, 6480, 1200, 300);
    platform::SetForeColor(
        AddLabel("Label19", "Caution, RF feedback can damage your PC!", 4440, 6505, 4320, 255),
        QColor(192, 0, 0));
}

void PhoneFrm::Wire() {
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(tmrRepeat, &QTimer::timeout, this, [this] { tmrRepeat_Timer(); });
    QLineEdit* const boxes[] = {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9};
    QPushButton* const browse[] = {Command2, Command3, Command4, Command5, Command6,
                                   Command7, Command8, Command9, Command10};
    for (int i = 0; i < 9; ++i)
        connect(browse[i], &QPushButton::clicked, this,
                [this, box = boxes[i]] { Browse_Click(box); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    auto* keys = new platform::KeyAdapter(this);
    keys->Attach(txtPHLoop, {.keyPress = [](int& KeyAscii) {
                     if (KeyAscii == platform::vbKeyBack || KeyAscii == '.') return;
                     if (KeyAscii < '0' || KeyAscii > '9') KeyAscii = 0;
                 }});
    // A double quote cannot be kept in wave2.txt.
    const auto noQuote = [](int& KeyAscii) {
        if (KeyAscii == '"') KeyAscii = 0;
    };
    keys->Attach(Text11, {.keyPress = [noQuote](int& KeyAscii) {
                     noQuote(KeyAscii);
                     setup::Cap(KeyAscii);
                 }});
    for (QLineEdit* box : boxes) keys->Attach(box, {.keyPress = noQuote});
    for (QLineEdit* box : {Text10, txtPHLoop}) box->installEventFilter(this);
}

bool PhoneFrm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched == Text10) {
        // After Qt's own focus handling, which places the caret.
        QTimer::singleShot(0, Text10, [box = Text10] {
            box->setSelection(box->cursorPosition(), box->text().size());
        });
    } else if (event->type() == QEvent::FocusOut) {
        if (watched == Text10) Text10_LostFocus();
        else if (watched == txtPHLoop) txtPHLoop_LostFocus();
    }
    return platform::Form::eventFilter(watched, event);
}

void PhoneFrm::Form_Load(const platform::ScreenTwips& screen) { ScaleToScreen(*this, screen); }

void PhoneFrm::Form_Unload() {
    MMControl1.Close();
    Timer1->stop();
    tmrRepeat->stop();
    ReleasePushToTalk();
    commPhone_->Close();
}

std::optional<int> PhoneFrm::SerialPort() const {
    const std::optional<double> port = BoxNumber(Text10->text());
    if (!port) return std::nullopt;
    const double number = std::nearbyint(*port);
    if (number <= 0 || number > 255) return std::nullopt;
    return static_cast<int>(number);
}

std::optional<std::uint16_t> PhoneFrm::ParallelAddress() const {
    const std::optional<double> address = BoxNumber(Text11->text());
    if (!address) return std::nullopt;
    const double number = std::nearbyint(*address);
    // The control register at address + 2 must be a 16-bit port number.
    if (number < 0 || number > 32765) return std::nullopt;
    return static_cast<std::uint16_t>(number);
}

void PhoneFrm::SetStatusLine(const QString& text) {
    if (mainwindow::MainWindow* w = program_.mainWindow()) w->entry().lblDialog->setText(text);
}

void PhoneFrm::ReleasePushToTalk() { ReleasePushToTalkBut({}); }

void PhoneFrm::ReleasePushToTalkBut(const PushToTalk& keep) {
    if (keyed_.rts && !keep.rts) {
        commPhone_->SetRts(false);
        keyed_.rts = false;
    }
    if (keyed_.dtr && !keep.dtr) {
        commPhone_->SetDtr(false);
        keyed_.dtr = false;
    }
    if (keyed_.parallel && keyed_.parallel != keep.parallel) {
        program_.parallelPort->WriteControl(*keyed_.parallel, 2);
        keyed_.parallel.reset();
    }
}

void PhoneFrm::closeEvent(QCloseEvent* event) {
    Form_Unload();
    platform::Form::closeEvent(event);
}

void PhoneFrm::PhoneSetup() {
    const std::optional<int> port = SerialPort();
    if (!port) return;
    if (program_.keyer.WKOpen != 0 && program_.winKey) program_.winKey->CloseDevice();
    if (program_.CWFrmLoaded() && program_.cwFrm().Comm().IsOpen()) program_.cwFrm().Comm().Close();
    if (commPhone_->IsOpen()) commPhone_->Close();
    commPhone_->SetPortNumber(*port);
    commPhone_->SetDtr(false);
    commPhone_->SetRts(false);
    QString error;
    if (commPhone_->Open(&error)) return;
    program_.dialogs().Beep();
    program_.dialogs().MsgBox(
        QStringLiteral("The port you have selected for Phone keying is invalid.  Please select "
                       "another or enter 0 for none."),
        platform::vbOKOnly, QStringLiteral("Invalid port."));
    if (!isVisible()) platform::ShowModal(*this);
}

void PhoneFrm::FKeyPhone(int KeyCode) {
    if (KeyCode < 112 || KeyCode > 120) return;
    QLineEdit* const boxes[] = {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9};
    // Ends what plays now; a running check releases its push-to-talk.
    MMControl1.Close();
    if (KeyCode == 112) {
        const std::optional<double> seconds = BoxNumber(txtPHLoop->text());
        if (seconds && *seconds > 0) program_.keyer.VoiceRepeatOn = 1;
    }
    const QString path = boxes[KeyCode - 112]->text();
    if (path.trimmed().isEmpty()) return;
    // The file is opened before the transmitter is keyed: one that is
    // missing or unreadable keys nothing.
    if (!MMControl1.Open(path)) {
        Timer1->stop();
        ReleasePushToTalk();
        program_.dialogs().Beep();
        SetStatusLine(QStringLiteral("Unable to play ") + path);
        return;
    }

    // The lines of this message; those of the message before that it does
    // not key go off before it keys its own.
    PushToTalk want;
    if (SerialPort()) {
        if (!commPhone_->IsOpen()) PhoneSetup();
        if (commPhone_->IsOpen()) (Option2->isChecked() ? want.dtr : want.rts) = true;
    }
    if (Option3->isChecked()) want.parallel = ParallelAddress();
    ReleasePushToTalkBut(want);
    if (want.dtr) {
        commPhone_->SetDtr(true);
        keyed_.dtr = true;
    }
    if (want.rts) {
        commPhone_->SetRts(true);
        keyed_.rts = true;
    }
    if (Option3->isChecked()) {
        QString error;
        if (!want.parallel || !program_.parallelPort->WriteControl(*want.parallel, 3, &error)) {
            // Nothing plays without its push-to-talk; what was keyed goes off.
            MMControl1.Close();
            Timer1->stop();
            ReleasePushToTalk();
            program_.dialogs().Beep();
            SetStatusLine(want.parallel ? error : QStringLiteral("Invalid parallel port address"));
            return;
        }
        keyed_.parallel = want.parallel;
    }
    MMControl1.Play();
    Timer1->start();
}

void PhoneFrm::Timer1_Timer() {
    if (MMControl1.Mode() == platform::kModePlaying) return;
    Timer1->stop();
    ReleasePushToTalk();
    // An interval of 0 would fire at once and for ever: it means no repeat.
    if (program_.keyer.VoiceRepeatOn == 1 && tmrRepeat->interval() > 0) tmrRepeat->start();
}

void PhoneFrm::tmrRepeat_Timer() {
    tmrRepeat->stop();
    FKeyPhone(112);
}

void PhoneFrm::txtPHLoop_LostFocus() { CheckRepeatSeconds(txtPHLoop, *tmrRepeat); }

void PhoneFrm::Text10_LostFocus() {
    if (!BoxNumber(Text10->text())) Text10->setText(QStringLiteral("0"));
    PhoneSetup();
}

void PhoneFrm::Browse_Click(QLineEdit* box) {
    platform::FileDialogRequest request;
    request.initialDir = program_.folders.WorkingFolder;
    request.filter = QStringLiteral("(*.wav)|*.wav");
    const std::optional<QString> path = program_.dialogs().OpenFileName(request);
    if (!path || path->isEmpty()) {
        program_.dialogs().Beep();
        return;
    }
    box->setText(*path);
    Command1->setFocus();
}

void PhoneFrm::Command11_Click() {
    FKeyPhone(112);
    if (isVisible()) Command1->setFocus();
}

void PhoneFrm::Command1_Click() {
    QString text;
    for (QLineEdit* box : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9})
        text += QuotedLine(box->text().trimmed());
    text += QuotedLine(Text10->text());
    const int line = Option2->isChecked() ? 1 : Option3->isChecked() ? 2 : 0;
    text += QString::number(line) + QStringLiteral("\r\n");
    text += QuotedLine(txtPHLoop->text());
    text += QuotedLine(Text11->text());
    QString error;
    if (!platform::WriteFileAtomically(program_.WorkPath(kVoiceSettingsFile),
                                       platform::EncodeAnsi(text), &error)) {
        program_.ReportWriteFailure(error);
        return;
    }
    hide();
}

bool LoadVoiceSettings(Program& program) {
    std::optional<SettingsFileReader> file =
        SettingsFileReader::Open(program.WorkPath(kVoiceSettingsFile));
    if (!file) return false;
    PhoneFrm& f = program.phoneFrm();

    for (QLineEdit* box : {f.Text1, f.Text2, f.Text3, f.Text4, f.Text5, f.Text6, f.Text7, f.Text8,
                           f.Text9, f.Text10})
        if (!file->Text(box)) return false;
    // The push-to-talk line: 0 RTS, 1 DTR, 2 parallel port; another value
    // leaves the option that is selected.
    std::optional<int> line = file->Whole(-32768, 32767);
    if (!line) return false;
    QRadioButton* const lines[] = {f.Option1, f.Option2, f.Option3};
    if (*line >= 0 && *line <= 2) lines[*line]->setChecked(true);
    if (!file->Text(f.txtPHLoop)) return false;
    // Checked as a typed entry is: a value outside 0 to 59.99 s becomes 0.
    CheckRepeatSeconds(f.txtPHLoop, *f.tmrRepeat);
    return file->Text(f.Text11);
}

}  // namespace keyers

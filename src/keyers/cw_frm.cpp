#include "keyers/cw_frm.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>

#include "keyers/code_practice.h"
#include "keyers/cw_frm_keying.h"
#include "keyers/keyer_window.h"
#include "keyers/settings_file.h"
#include "keyers/winkey_hook.h"
#include "platform/colors.h"
#include "platform/key_adapter.h"
#include "platform/modal.h"
#include "platform/option_buttons.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/text_file.h"
#include "program/program.h"
#include "setup/key_filters.h"

namespace keyers {

using platform::ClearOption;
using platform::OnSelected;

namespace {

constexpr float kRowHeight = 285;
constexpr float kButtonHeight = 300;

const QString kUserCWSelection = QStringLiteral("UserCWSelection");
const QString kUserCWLoopOffset = QStringLiteral("UserCWLoopOffset");

// Keeps only Backspace and the listed characters.
void KeepOnly(int& KeyAscii, QStringView allowed) {
    if (KeyAscii == platform::vbKeyBack) return;
    if (KeyAscii <= 0 || KeyAscii > 0xFFFF || !allowed.contains(QChar(KeyAscii))) KeyAscii = 0;
}

// A loop count the keyer can time by: one that no processor reaches in
// 60 ms (or a negative one) would freeze the keyer inside one element.
bool LoopCountInRange(std::optional<double> count) {
    constexpr double kMaxLoopCount = 1e9;
    return count && std::isfinite(*count) && *count >= 0 && *count <= kMaxLoopCount;
}

// A message box: letters become capitals; a double quote, which CW.txt
// cannot hold, is dropped.
void MessageKey(int& KeyAscii) {
    if (KeyAscii == '"') KeyAscii = 0;
    setup::Cap(KeyAscii);
}

}  // namespace

CWFrm::CWFrm(Program& program, const platform::ScreenTwips& screen) : program_(program) {
    setWindowTitle(QStringLiteral("CW String Selections"));
    SetDesignClientSize(9360, 6780);
    BuildSetup();
    BuildMessages();
    tmrRepeat = AddTimer("tmrRepeat", 0);

    OnSelected(Option1, [this] { Option1_Click(); });
    OnSelected(Option2, [this] { Option2_Click(); });
    OnSelected(Option3, [this] { Option3_Click(); });
    OnSelected(Option4, [this] { Option4_Click(); });
    OnSelected(Option5, [this] { Option5_Click(); });
    connect(txtSpace, &QLineEdit::textChanged, this, [this] { txtSpace_Change(); });
    connect(Command2, &QPushButton::clicked, this, [this] { UpDown1_UpClick(); });
    connect(Command3, &QPushButton::clicked, this, [this] { UpDown1_DownClick(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(cmdConfWinkey, &QPushButton::clicked, this, [this] { cmdConfWinkey_Click(); });
    connect(cmdLoopFaster, &QPushButton::clicked, this, [this] { cmdLoopFaster_Click(); });
    connect(cmdLoopSlower, &QPushButton::clicked, this, [this] { cmdLoopSlower_Click(); });
    connect(Text11, &QLineEdit::textChanged, this, [this] { Text11_Change(); });
    connect(txtLoop, &QLineEdit::textChanged, this, [this] { txtLoop_Change(); });
    connect(tmrRepeat, &QTimer::timeout, this, [this] { tmrRepeat_Timer(); });
    OnSelected(optTimer, [this] { optTimer_Click(); });
    OnSelected(OptSleep, [this] { OptSleep_Click(); });
    OnSelected(optLoop, [this] { optLoop_Click(); });
    for (QLineEdit* box : {Text10, Text11, txtSpace, txtCWLoop}) box->installEventFilter(this);
    AttachKeyFilters();

    InitKeyer();
    // The keyer's thread reads the controls as they stand at each element.
    for (QLineEdit* box : {Text11, txtSpace, Text14, txtLoop})
        connect(box, &QLineEdit::textChanged, this, [this] { UpdateKeyerSettings(); });
    for (QRadioButton* option : {Option1, Option2, Option3, Option4, Option5, optTimer, optLoop, OptSleep})
        connect(option, &QRadioButton::toggled, this, [this] { UpdateKeyerSettings(); });

    Form_Load(screen);
}

CWFrm::~CWFrm() {
    program_.keyer.CWBuffer.OnClear(nullptr);
    sender_.reset();
    // A message cut short by the unload is over.
    program_.keyer.CWSending = 0;
}

void CWFrm::AttachKeyFilters() {
    keys_ = new platform::KeyAdapter(this);
    for (QLineEdit* box : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text12,
                           Text13})
        keys_->Attach(box, {.keyPress = [](int& KeyAscii) { MessageKey(KeyAscii); }});
    keys_->Attach(Text14, {.keyPress = [](int& KeyAscii) {
                      if (KeyAscii == '"') KeyAscii = 0;
                  }});
    const auto digits = [](int& KeyAscii) { KeepOnly(KeyAscii, u"0123456789"); };
    keys_->Attach(Text10, {.keyPress = digits});
    keys_->Attach(Text11, {.keyPress = digits});
    keys_->Attach(txtSpace,
                  {.keyPress = [](int& KeyAscii) { KeepOnly(KeyAscii, u"-./0123456789"); }});
    keys_->Attach(txtCWLoop,
                  {.keyPress = [](int& KeyAscii) { KeepOnly(KeyAscii, u".0123456789"); }});
}

bool CWFrm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == Text10 || watched == Text11) {
            auto* box = static_cast<QLineEdit*>(watched);
            // After Qt's own focus handling, which places the caret.
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
        }
    } else if (event->type() == QEvent::FocusOut &&
               static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason &&
               static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // The focus moved on inside the window (not away with the window).
        if (watched == Text10) Text10_LostFocus();
        else if (watched == Text11) Text11_LostFocus();
        else if (watched == txtSpace) txtSpace_LostFocus();
        else if (watched == txtCWLoop) txtCWLoop_LostFocus();
    }
    return platform::Form::eventFilter(watched, event);
}

// The top part, "Setup:": timing options, help texts, keying options, test,
// speed and word space.
void CWFrm::BuildSetup() {
    AddHeading(*this, "Label1", "Setup:", 120, 60, 900, 255);

    AddLabel("Label2", "Timing Options: ", 1080, 80, 1500, 255)
        ->setToolTip("Timer is the preferred option on most systems. ");
    optTimer = AddOptionButton("optTimer", "Timer", 2640, 60, 900, 255);
    optTimer->setToolTip("Times by Windows System time.");
    optLoop = AddOptionButton("optLoop", "Loop", 3600, 60, 800, 255);
    optLoop->setToolTip("Times by a For Next loop.");
    OptSleep = AddOptionButton("OptSleep", "Sleep", 4440, 60, 900, 255);
    OptSleep->setToolTip("Times by Windows System time.");
    optTimer->setChecked(true);
    // With "Timer" chosen the loop controls are idle.
    lblLoop = AddLabel("lblLoop", "Loop Delay", 5460, 80, 1020, 255);
    txtLoop = AddTextBox("txtLoop", "0", 6540, 40, 840, kRowHeight);
    txtLoop->setToolTip("Loops per 60 ms");
    cmdLoopFaster = AddCommandButton("cmdLoopFaster", "F", 7440, 40, 375, kRowHeight);
    cmdLoopFaster->setToolTip("Speed up CW");
    cmdLoopSlower = AddCommandButton("cmdLoopSlower", "S", 7860, 40, 375, kRowHeight);
    cmdLoopSlower->setToolTip("Slow Down CW");
    for (QWidget* loopControl : std::array<QWidget*, 4>{lblLoop, txtLoop, cmdLoopFaster,
                                                        cmdLoopSlower})
        loopControl->setEnabled(false);

    AddLabel("Label3",
             "First, you will have to build or purchase an interface to use from your "
             "computer's serial or parallel (printer) port to your transmitter.  Schematics "
             "for simple keying interfaces are found in the amateur radio handbooks, and "
             "ready-made interfaces are sold by the suppliers that advertise in amateur radio "
             "magazines.  From the Keying Options box at the right, select which line to key "
             "the transmitter.",
             120, 405, 6000, 930);
    AddLabel("Label4",
             "If you are using a serial port, tell the program which com port to use.  The "
             "program will only let you leave this field if a valid com port is selected, or "
             "if a value of 0 is entered (indicating that a com port has not been selected).  "
             "If you are using a parallel port, enter the Hex address of the port. &H378 is "
             "the default on most systems for LPT1.",
             120, 1335, 6000, 930)
        ->setToolTip("Make sure you select the specific port that the interface is attached to.");
    AddLabel("Label5",
             "Now that the interface is hooked up, and you have either identified the serial "
             "com port or entered the LPT1 address for the printer port, you can test the "
             "setup.  Press the test command button to send the text in the F9 text box.  The "
             "program will not generate a side tone so make sure your transceiver is set to "
             "produce one.  Also, make sure you are on a clear frequency because if all goes "
             "well, you will be transmitting.",
             120, 2265, 6000, 890);
    AddLabel("Label6",
             "Finally, enter the WPM code speed and any adjustments to the standard word "
             "spacing (0 is standard, -8 is no spacing).  You can adjust your speed on the "
             "main form by using the Up / Down arrows. Check the check box if you would like "
             "to see the characters you are sending on the main form.  For the most precise "
             "timing, do not run any other programs, virus software etc. while transmitting.",
             120, 3155, 5000, 1090);
    // The long instructions fit their boxes at the default small size; the
    // last one runs down beside the check box to the rule.
    for (const char* name : {"Label5", "Label6"}) SetFontSize(Find(name)->Widget, 8);

    Frame1 = AddFrame("Frame1", "Keying Options", 6300, 360, 2940, 1920);
    Option4 = AddOptionButton("Option4", "None", 120, 240, 1500, 255, Frame1);
    AddLine("Line1", 60, 540, 2880, 540, Frame1);
    Option1 = AddOptionButton("Option1", "RTS", 120, 600, 860, 255, Frame1);
    Option2 = AddOptionButton("Option2", "DTR", 120, 870, 860, 255, Frame1);
    AddLabel("Label7", "Serial", 1000, 750, 700, 255, Frame1);
    Text10 = AddTextBox("Text10", "0", 1740, 720, 720, kRowHeight, Frame1);
    AddLine("Line2", 60, 1170, 2880, 1170, Frame1);
    Option5 = AddOptionButton("Option5", "WinKey", 120, 1230, 1500, 255, Frame1);
    AddLine("Line3", 60, 1530, 2880, 1530, Frame1);
    Option3 = AddOptionButton("Option3", "Printer", 120, 1590, 880, 255, Frame1);
    AddLabel("Label8", "Parallel", 1000, 1605, 700, 255, Frame1);
    Text14 = AddTextBox("Text14", "&H378", 1740, 1575, 1080, kRowHeight, Frame1);
    Option4->setChecked(true);

    cmdConfWinkey = AddCommandButton("cmdConfWinkey", "Configure Winkey", 6300, 2340, 1440, 360);
    cmdConfWinkey->setVisible(false);
    Command4 = AddCommandButton("Command4", "&Test", 7800, 2340, 1440, 360);
    Label23 = AddLabel("Label23", "Sending!", 8160, 2730, 1080, 255);
    Label23->setAlignment(Qt::AlignCenter);
    platform::SetBackColor(Label23, QColor(255, 0, 0));
    Label23->setVisible(false);

    AddLabel("Label9", "WPM", 6300, 2730, 840, 255);
    Command2 = AddCommandButton("Command2", "Faster", 6300, 2985, 840, kButtonHeight);
    Text11 = AddTextBox("Text11", "13", 6300, 3300, 840, kRowHeight);
    Command3 = AddCommandButton("Command3", "Slower", 6300, 3600, 840, kButtonHeight);
    AddLabel("Label10", "Word Space", 7200, 2730, 960, 255);
    Command6 = AddCommandButton("Command6", "More", 7200, 2985, 840, kButtonHeight);
    txtSpace = AddTextBox("txtSpace", "0", 7200, 3300, 840, kRowHeight);
    Command5 = AddCommandButton("Command5", "Less", 7200, 3600, 840, kButtonHeight);
    Check1 = AddCheckBox("Check1", "Display CW text on main form (NA for WinKey).", 5160, 3960,
                         4080, 255);
    Check1->setChecked(true);

    AddLine("Line4", 0, 4260, 9360, 4260);
}

// The bottom part, "To Use:": the message boxes of F1 to F11, the repeat box,
// the prosign legend, and Done and code practice.
void CWFrm::BuildMessages() {
    AddHeading(*this, "Label11", "To Use:", 120, 4320, 900, 255);
    AddLabel("Label12", "You must be in CW mode.", 1080, 4320, 2280, 255);
    AddLabel("Label13",
             "Wildcards are $ for Call, * for RST  # for Num and ^ for County (where "
             "applicable).",
             3480, 4320, 5760, 255);
    AddLabel("Label14",
             "Each text box corresponds to a function key.  Enter the characters you would like "
             "to associate with the function key. From the main logging page, press the "
             "appropriate function key each time you wish to send the string.  A ! in the "
             "string enters the contact.",
             120, 4590, 9120, 420);
    for (const char* name : {"Label13", "Label14"}) SetFontSize(Find(name)->Widget, 8);

    // Four columns of three rows: F1 to F3, F4 to F6, F7 to F9, F10 to F12.
    constexpr float kColumnWidth = 2010;
    constexpr float kRowTop = 5280;
    constexpr float kRowStep = 360;
    QLineEdit** const boxes[] = {&Text1, &Text2, &Text3,  &Text4,  &Text5, &Text6,
                                 &Text7, &Text8, &Text9,  &Text12, &Text13};
    int labelNumber = 15;
    for (int key = 1; key <= 12; ++key) {
        const float left = 120 + static_cast<float>((key - 1) / 3) * kColumnWidth;
        const float top = kRowTop + static_cast<float>((key - 1) % 3) * kRowStep;
        AddLabel(QString("Label%1").arg(labelNumber++), QString("F%1").arg(key), left, top + 30,
                 360, 255);
        if (key == 12) {
            AddLabel(QString("Label%1").arg(labelNumber++), "Keyboard", left + 420, top + 30,
                     1500, 255);
            continue;
        }
        const QString name = key <= 9 ? QString("Text%1").arg(key) : QString("Text%1").arg(key + 2);
        *boxes[key - 1] = AddTextBox(name, "", left + 360, top, key == 1 ? 1020 : 1560, kRowHeight);
    }
    AddLabel(QString("Label%1").arg(labelNumber++), "Loop (Sec)", 1260, 5040, 1000, 225);
    txtCWLoop = AddTextBox("txtCWLoop", "0", 1500, kRowTop, 420, kRowHeight);

    AddLabel(QString("Label%1").arg(labelNumber++), "Prosigns", 8280, 5040, 960, 225);
    const std::array<std::pair<const char*, const char*>, 5> prosigns = {
        {{"[", "AR"}, {"]", "SK"}, {";", "KN"}, {"\\", "CL"}, {"=", "BT"}}};
    float top = 5280;
    for (const auto& [sign, name] : prosigns) {
        AddLabel(QString("Label%1").arg(labelNumber++), sign, 8400, top, 300, 225);
        AddLabel(QString("Label%1").arg(labelNumber++), name, 8760, top, 480, 225);
        top += 240;
    }

    AddLabel(QString("Label%1").arg(labelNumber++), "Up / Down arrows on main form change speed.",
             120, 6420, 3780, 255);
    Command1 = AddCommandButton("Command1", "Done", 3960, 6360, 1200, 360);
    Command7 = AddCommandButton("Command7", "Send Code Practice", 5400, 6360, 2040, 360);
}

void CWFrm::Form_Load(const platform::ScreenTwips& screen) {
    ScaleToWorkArea(*this, screen);
    RestoreTimingSettings();
}

// The timing method and loop count of the settings store; a stored "Loop"
// without a count calibrates now.
void CWFrm::RestoreTimingSettings() {
    platform::SettingsStore& store = program_.settings();
    const std::optional<double> offset = logstore::ParseNumber(QStringView(store.GetSetting(
        platform::kSettingsApp, platform::kSettingsSection, kUserCWLoopOffset, QStringLiteral("0"))));
    // A count out of range is taken as none, so the Loop method calibrates
    // again.
    program_.keyer.CWLoopOffset = LoopCountInRange(offset) ? *offset : 0;
    txtLoop->setText(logstore::FormatNumber(program_.keyer.CWLoopOffset));
    const QString method = store.GetSetting(platform::kSettingsApp, platform::kSettingsSection,
                                            kUserCWSelection, QStringLiteral("Timer"));
    if (method == QLatin1String("Timer")) optTimer->setChecked(true);
    else if (method == QLatin1String("Loop")) optLoop->setChecked(true);
    else if (method == QLatin1String("Sleep")) OptSleep->setChecked(true);
}

void CWFrm::Form_Unload() {
    tmrRepeat->stop();
    if (codePractice_) codePractice_->Form_Unload();
    ReleaseKeying();
}

void CWFrm::Option1_Click() { program_.keyer.CWKeyingLine = 1; }
void CWFrm::Option2_Click() { program_.keyer.CWKeyingLine = 2; }
void CWFrm::Option3_Click() { program_.keyer.CWKeyingLine = 3; }
void CWFrm::Option4_Click() { program_.keyer.CWKeyingLine = 0; }

void CWFrm::Option5_Click() {
    program_.keyer.CWKeyingLine = 5;
    // Stays shown when another interface is chosen later.
    cmdConfWinkey->setVisible(true);
    if (program_.winKey) program_.winKey->Load();
}

void CWFrm::StepSpeed(int step) {
    if (std::optional<double> speed = BoxNumber(Text11->text()))
        Text11->setText(logstore::FormatNumber(std::clamp(*speed + step, kMinWpm, kMaxWpm)));
}

// A speed typed outside 5 to 99 is brought to the nearer end; a text that
// is no number becomes the design speed.
void CWFrm::Text11_LostFocus() {
    const std::optional<double> speed = BoxNumber(Text11->text());
    const QString text = speed ? logstore::FormatNumber(std::clamp(*speed, kMinWpm, kMaxWpm))
                               : QStringLiteral("13");
    if (text != Text11->text()) Text11->setText(text);
}

// An open WinKeyer takes each speed from 5 to 99 at once.
void CWFrm::Text11_Change() {
    const std::optional<double> speed = BoxNumber(Text11->text());
    if (!speed || !(*speed > 4 && *speed < 100)) return;
    if (program_.keyer.WKOpen != 0 && program_.keyer.CWKeyingLine == 5 && program_.winKey)
        program_.winKey->wk_wpm(static_cast<std::uint8_t>(std::nearbyint(*speed)));
}

void CWFrm::Text10_LostFocus() {
    if (!BoxNumber(Text10->text())) Text10->setText(QStringLiteral("0"));
    CWSetup();
}

void CWFrm::txtSpace_LostFocus() {
    if (!BoxNumber(txtSpace->text())) txtSpace->setText(QStringLiteral("0"));
}

void CWFrm::txtCWLoop_LostFocus() {
    CheckRepeatSeconds(txtCWLoop, *tmrRepeat);
}

void CWFrm::optTimer_Click() {
    for (QWidget* control : std::array<QWidget*, 4>{txtLoop, lblLoop, cmdLoopFaster, cmdLoopSlower})
        control->setEnabled(false);
}

void CWFrm::OptSleep_Click() { optTimer_Click(); }

void CWFrm::optLoop_Click() {
    for (QWidget* control : std::array<QWidget*, 4>{txtLoop, lblLoop, cmdLoopFaster, cmdLoopSlower})
        control->setEnabled(true);
    // Counted on the keyer's thread, about 250 ms; the window stays free and
    // the box shows the count when it comes.
    if (program_.keyer.CWLoopOffset == 0)
        sender_->Calibrate();
    else
        txtLoop->setText(logstore::FormatNumber(program_.keyer.CWLoopOffset));
}

// A typed count out of range is not taken, as a text that is no number is
// not: the keyer keeps the count it has.
void CWFrm::txtLoop_Change() {
    const std::optional<double> count = BoxNumber(txtLoop->text());
    if (LoopCountInRange(count)) program_.keyer.CWLoopOffset = *count;
}

void CWFrm::cmdLoopFaster_Click() {
    if (std::optional<double> count = BoxNumber(txtLoop->text()))
        txtLoop->setText(logstore::FormatNumber(std::nearbyint(*count * 0.9)));
    Command1->setFocus();
}

void CWFrm::cmdLoopSlower_Click() {
    if (std::optional<double> count = BoxNumber(txtLoop->text()))
        txtLoop->setText(logstore::FormatNumber(std::nearbyint(*count * 1.111111111111)));
    Command1->setFocus();
}

// "Done": CW.txt and the timing settings, then the window hides. A file that
// cannot be written is reported and the window stays open.
void CWFrm::Command1_Click() {
    QString text;
    for (QLineEdit* box : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10,
                           Text11, Text12, Text13, txtSpace})
        text += QuotedLine(box->text());
    text += QString::number(program_.keyer.CWKeyingLine) + QStringLiteral("\r\n");
    text += QuotedLine(Text14->text());
    const int echo = Check1->checkState() == Qt::Checked ? 1 : Check1->checkState() == Qt::Unchecked ? 0 : 2;
    text += QString::number(echo) + QStringLiteral("\r\n");
    text += QuotedLine(txtCWLoop->text());
    QString error;
    if (!platform::WriteFileAtomically(program_.WorkPath(kCWSettingsFile), platform::EncodeAnsi(text),
                                       &error)) {
        program_.ReportWriteFailure(error);
        return;
    }
    const QString method = optLoop->isChecked() ? QStringLiteral("Loop")
                           : OptSleep->isChecked() ? QStringLiteral("Sleep")
                                                   : QStringLiteral("Timer");
    platform::SettingsStore& store = program_.settings();
    store.SaveSetting(platform::kSettingsApp, platform::kSettingsSection, kUserCWSelection, method);
    store.SaveSetting(platform::kSettingsApp, platform::kSettingsSection, kUserCWLoopOffset,
                      logstore::FormatNumber(program_.keyer.CWLoopOffset));
    hide();
}

// "&Test": the F9 message.
void CWFrm::Command4_Click() {
    Label23->setVisible(true);
    FKeyCW(120);
    AfterMessage([this](bool) {
        Label23->setVisible(false);
        if (isVisible()) Text1->setFocus();
    });
}

void CWFrm::Command7_Click() {
    codePractice_ = std::make_unique<frmCodePractice>(program_);
    platform::ShowModal(*codePractice_);
    codePractice_->Form_Unload();
    // Deleted once the running event is done: its own handlers may be on the
    // stack below this one.
    codePractice_.release()->deleteLater();
    program_.keyer.CWBuffer.clear();
}

void CWFrm::cmdConfWinkey_Click() {
    if (program_.winKey) program_.winKey->ShowModal();
    Command1->setFocus();
}

void CWFrm::UpDown1_UpClick() { StepSpeed(1); }
void CWFrm::UpDown1_DownClick() { StepSpeed(-1); }

// The word space never goes below -8 (no space at all).
void CWFrm::txtSpace_Change() {
    std::optional<double> space = BoxNumber(txtSpace->text());
    if (space && *space < -8) txtSpace->setText("-8");
}

void CWFrm::Command5_Click() {
    std::optional<double> space = BoxNumber(txtSpace->text());
    txtSpace->setText(space ? logstore::FormatNumber(*space - 1) : QStringLiteral("0"));
}

void CWFrm::Command6_Click() {
    std::optional<double> space = BoxNumber(txtSpace->text());
    txtSpace->setText(space ? logstore::FormatNumber(*space + 1) : QStringLiteral("0"));
}

bool LoadCWSettings(Program& program) {
    std::optional<SettingsFileReader> file =
        SettingsFileReader::Open(program.WorkPath(kCWSettingsFile));
    if (!file) return false;
    CWFrm& f = program.cwFrm();

    for (QLineEdit* box : {f.Text1, f.Text2, f.Text3, f.Text4, f.Text5, f.Text6, f.Text7, f.Text8})
        if (!file->Text(box)) return false;
    if (!file->Text(f.Text9, QStringLiteral("VVV DE "))) return false;
    for (QLineEdit* box : {f.Text10, f.Text11, f.Text12, f.Text13, f.txtSpace})
        if (!file->Text(box)) return false;
    // A speed outside 5 to 99 comes in at the nearer end.
    if (std::optional<double> speed = BoxNumber(f.Text11->text()); speed && (*speed < kMinWpm || *speed > kMaxWpm))
        f.Text11->setText(logstore::FormatNumber(std::clamp(*speed, kMinWpm, kMaxWpm)));
    std::optional<int> keyingLine = file->Whole(0, 255);
    if (!keyingLine) return false;
    program.keyer.CWKeyingLine = static_cast<std::uint8_t>(*keyingLine);
    if (!file->Text(f.Text14)) return false;
    // The check box's value: 0 clear, 1 ticked, 2 greyed.
    std::optional<int> echo = file->Whole(0, 2);
    if (!echo) return false;
    constexpr Qt::CheckState kStates[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    f.Check1->setCheckState(kStates[*echo]);
    if (!file->Text(f.txtCWLoop)) return false;
    // The check of a typed value: out of range, the box reads "0" and F1
    // does not repeat.
    CheckRepeatSeconds(f.txtCWLoop, *f.tmrRepeat);

    ClearOption(f.Option1);
    ClearOption(f.Option2);
    ClearOption(f.Option3);
    switch (program.keyer.CWKeyingLine) {
    case 0: f.Option4->setChecked(true); break;
    case 1: f.Option1->setChecked(true); break;
    case 2: f.Option2->setChecked(true); break;
    case 3: f.Option3->setChecked(true); break;
    case 5: f.Option5->setChecked(true); break;
    default: break;
    }
    return true;
}

}  // namespace keyers

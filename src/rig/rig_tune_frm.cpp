#include "rig/rig_tune_frm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cmath>
#include <limits>

#include "logstore/record.h"
#include "platform/key_adapter.h"
#include "platform/modal.h"
#include "platform/twips.h"
#include "program/main_window_proxy.h"
#include "program/program.h"
#include "rig/rig_control_frm.h"
#include "setup/resize.h"

namespace rig {

namespace {

struct Band {
    const char* caption;
    const char* mhz;  // as the box shows it
};

constexpr std::array<Band, 16> kBands = {{{"160", "1.9"},
                                          {"80", "3.75"},
                                          {"60", "5.368"},
                                          {"40", "7.15"},
                                          {"30", "10.13"},
                                          {"20", "14.175"},
                                          {"17", "18.118"},
                                          {"15", "21.225"},
                                          {"12", "24.94"},
                                          {"10", "28.5"},
                                          {"6", "52"},
                                          {"2", "146"},
                                          {"1.25", "223.5"},
                                          {"70", "435"},
                                          {"33", "915"},
                                          {"23", "1270"}}};

// The step of cmdTune(i) in MHz: even indices step up, odd ones down.
constexpr std::array<double, 5> kTuneSteps = {0.00001, 1, 0.005, 0.001, 0.0001};
constexpr std::array<const char*, 5> kTuneCaptions = {"10 Hz", "1 MHz", "5 KHz", "1 KHz", "100 Hz"};
// Left to right on the panel.
constexpr std::array<int, 5> kTuneOrder = {1, 2, 3, 4, 0};

// The frequency boxes take "." to "9" and Backspace only.
void frequencyKeys(int& KeyAscii) {
    if (KeyAscii != platform::vbKeyBack && (KeyAscii < 46 || KeyAscii > 57)) KeyAscii = 0;
}

// The design geometry, in twips of the client area.
constexpr float kMargin = 75;
constexpr float kButtonHeight = 345;
constexpr float kRight = 4830;

}  // namespace

std::optional<double> BoxNumber(const QString& text) { return logstore::ParseNumber(QStringView(text).trimmed()); }

std::optional<float> BoxSingle(const QString& text) {
    const std::optional<double> value = BoxNumber(text);
    if (!value || std::fabs(*value) > double(std::numeric_limits<float>::max())) return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<std::int64_t> BoxHz(const QString& text) {
    const std::optional<double> value = BoxNumber(text);
    // Beyond a million GHz the hertz no longer fit the counter.
    if (!value || std::fabs(*value) > 1e12) return std::nullopt;
    return std::llround(*value * 1e6);
}

QString ScanText(std::int64_t hz) {
    // Five decimals of MHz are tens of hertz, rounded half away from zero.
    const std::int64_t magnitude = hz < 0 ? -hz : hz;
    const std::int64_t tens = (magnitude + 5) / 10;
    const std::int64_t whole = tens / 100000;
    QString decimals = QStringLiteral("%1").arg(tens % 100000, 5, 10, QLatin1Char('0'));
    while (decimals.endsWith(u'0')) decimals.chop(1);
    QString text = hz < 0 && tens != 0 ? QStringLiteral("-") : QString();
    if (whole != 0) text += QString::number(whole);
    return text + u'.' + decimals;
}

QString ShortestText(double value) { return QString::number(value, 'g', 15).toUpper(); }

frmRigTune::frmRigTune(Program& program, const platform::ScreenTwips& screen) : program_(program) {
    setWindowTitle(QStringLiteral(" Change Frequency and Mode (Ctrl G (Go))"));
    // A fixed tool-window border: no minimise or maximise box and no taskbar
    // entry.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    SetDesignClientSize(4905, 5010);
    build();
    wire();
    Form_Load(screen);
    Timer1->start();
}

frmRigTune::~frmRigTune() = default;

void frmRigTune::build() {
    // The frequency box first: it is first in the tab order and has the focus
    // at open.
    AddLabel(QStringLiteral("Label1"), QStringLiteral("Frequency in MHz:"), kMargin, 1560, 1500, 255);
    txtFreq = AddTextBox(QStringLiteral("txtFreq"), QString(), 1620, 1515, 1800, 315);
    Command1 = AddCommandButton(QStringLiteral("Command1"), QStringLiteral("&Go"), 3540, 1500, 1290, kButtonHeight);

    for (std::size_t i = 0; i < kBands.size(); ++i) {
        const float left = kMargin + float(i % 8) * 600;
        const float top = i < 8 ? 90 : 465;
        cmdBand[i] = AddCommandButton(QStringLiteral("cmdBand"), QString::fromLatin1(kBands[i].caption), left, top,
                                      570, kButtonHeight);
    }
    AddLine(QStringLiteral("Line1"), kMargin, 900, kRight, 900);

    const char* const modeNames[] = {"cmdCW", "cmdUSB", "cmdLSB", "cmdAM", "cmdFM", "cmdRTTY"};
    const char* const modeCaptions[] = {"&CW", "&USB", "&LSB", "&AM", "&FM", "&RTTY"};
    std::array<QPushButton*, 6> modes{};
    for (std::size_t i = 0; i < modes.size(); ++i)
        modes[i] = AddCommandButton(QString::fromLatin1(modeNames[i]), QString::fromLatin1(modeCaptions[i]),
                                    kMargin + float(i) * 795, 990, 735, kButtonHeight);
    cmdCW = modes[0];
    cmdUSB = modes[1];
    cmdLSB = modes[2];
    cmdAM = modes[3];
    cmdFM = modes[4];
    cmdRTTY = modes[5];
    AddLine(QStringLiteral("Line2"), kMargin, 1425, kRight, 1425);
    AddLine(QStringLiteral("Line3"), kMargin, 1935, kRight, 1935);

    platform::FontModel bold = Font;
    bold.Bold = true;
    SetFont(AddLabel(QStringLiteral("Label2"), QStringLiteral(" UP"), kMargin, 2070, 615, 255), bold);
    SetFont(AddLabel(QStringLiteral("Label3"), QStringLiteral(" Down"), kMargin, 2475, 615, 255), bold);
    for (std::size_t column = 0; column < kTuneOrder.size(); ++column) {
        const auto step = static_cast<std::size_t>(kTuneOrder[column]);
        const float left = 735 + float(column) * 825;
        for (std::size_t down = 0; down < 2; ++down)
            cmdTune[2 * step + down] =
                AddCommandButton(QStringLiteral("cmdTune"), QString::fromLatin1(kTuneCaptions[step]), left,
                                 down ? 2430 : 2025, 795, kButtonHeight);
    }
    for (QPushButton* step : cmdTune) step->setEnabled(false);
    AddLine(QStringLiteral("Line4"), kMargin, 2865, kRight, 2865);

    chkScan = AddCheckBox(QStringLiteral("chkScan"), QStringLiteral("Scan"), kMargin, 2985, 900, 255);
    AddLabel(QStringLiteral("Label4"), QStringLiteral("From:"), 1095, 2985, 555, 255);
    txtFrom = AddTextBox(QStringLiteral("txtFrom"), QStringLiteral("1.8"), 1650, 2955, 1050, 315);
    AddLabel(QStringLiteral("Label5"), QStringLiteral("To:"), 2835, 2985, 375, 255);
    txtTo = AddTextBox(QStringLiteral("txtTo"), QStringLiteral("54"), 3240, 2955, 1050, 315);

    Frame1 = AddFrame(QStringLiteral("Frame1"), QStringLiteral("Scan Steps"), kMargin, 3405, 4755, 735);
    const char* const optionNames[] = {"Option5", "Option1", "Option2", "Option3", "Option4"};
    const char* const optionCaptions[] = {"2.5 KHz", "500 Hz", "100 Hz", "30 Hz", "10 Hz"};
    std::array<QRadioButton*, 5> options{};
    for (std::size_t i = 0; i < options.size(); ++i)
        options[i] = AddOptionButton(QString::fromLatin1(optionNames[i]), QString::fromLatin1(optionCaptions[i]),
                                     120 + float(i) * 915, 330, 870, 255, Frame1);
    Option5 = options[0];
    Option1 = options[1];
    Option2 = options[2];
    Option3 = options[3];
    Option4 = options[4];
    Option4->setChecked(true);

    cmdDone = AddCommandButton(QStringLiteral("cmdDone"), QStringLiteral("&Done"), 1800, 4350, 1305, 405);
    Timer1 = AddTimer(QStringLiteral("Timer1"), 299);

    // Enter presses the button that has the focus.
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(true);
    txtFreq->setFocus();
}

void frmRigTune::wire() {
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    for (std::size_t i = 0; i < cmdBand.size(); ++i)
        connect(cmdBand[i], &QPushButton::clicked, this, [this, i] { cmdBand_Click(int(i)); });
    for (std::size_t i = 0; i < cmdTune.size(); ++i)
        connect(cmdTune[i], &QPushButton::clicked, this, [this, i] { cmdTune_Click(int(i)); });
    const std::pair<QPushButton*, const char*> modes[] = {{cmdCW, "CW"}, {cmdUSB, "USB"}, {cmdLSB, "LSB"},
                                                          {cmdAM, "AM"}, {cmdFM, "FM"},   {cmdRTTY, "RTTY"}};
    for (const auto& [button, mode] : modes)
        connect(button, &QPushButton::clicked, this, [this, name = QString::fromLatin1(mode)] { cmdMode_Click(name); });
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
    connect(chkScan, &QCheckBox::toggled, this, [this] { chkScan_Click(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(txtFreq, &QLineEdit::textChanged, this, [this] { txtFreq_Change(); });

    keys_ = new platform::KeyAdapter(this);
    keys_->SetKeyPreview({.keyPress = [this](int& KeyAscii) { Form_KeyPress(KeyAscii); }});
    keys_->Attach(txtFreq, {.keyPress = [this](int& KeyAscii) { txtFreq_KeyPress(KeyAscii); }});
    keys_->Attach(txtFrom, {.keyPress = frequencyKeys});
    keys_->Attach(txtTo, {.keyPress = frequencyKeys});
}

void frmRigTune::Form_Load(const platform::ScreenTwips& screen) {
    setup::ScaleToArea(*this, screen.size, screen.size.width(), 2);
    // The panel's own font follows the main window's, by the screen's width.
    Font.Size = static_cast<float>(program_.form1().FontSize() * screen.size.width() / setup::kDesignScreenWidth);
    setup::KeepInWorkArea(*this, screen.workArea);
}

void frmRigTune::Form_KeyPress(int& /*KeyAscii*/) {
    // Any key ends a scan; the key itself goes on to the control.
    if (chkScan->isChecked()) chkScan->setChecked(false);
}

void frmRigTune::Command1_Click() {
    const std::optional<float> mhz = BoxSingle(txtFreq->text());
    if (!mhz) return;
    if (program_.station.RigType != u"None") program_.rigControlfrm().ChangeFrequency(*mhz);
}

void frmRigTune::txtFreq_KeyPress(int& KeyAscii) {
    if (KeyAscii == platform::vbKeyReturn) {
        KeyAscii = 0;
        Command1_Click();
        txtFreq->setFocus();
        txtFreq->setCursorPosition(int(txtFreq->text().size()));
        return;
    }
    frequencyKeys(KeyAscii);
}

void frmRigTune::txtFreq_Change() {
    const bool number = BoxNumber(txtFreq->text()).has_value();
    for (QPushButton* step : cmdTune) step->setEnabled(number);
}

void frmRigTune::cmdTune_Click(int Index) {
    if (Index < 0 || Index >= int(cmdTune.size())) return;
    const std::optional<double> mhz = BoxNumber(txtFreq->text());
    if (!mhz) return;
    const double step = kTuneSteps[static_cast<std::size_t>(Index / 2)];
    txtFreq->setText(ShortestText(Index % 2 == 0 ? *mhz + step : *mhz - step));
    Command1_Click();
    cmdDone->setFocus();
}

void frmRigTune::cmdBand_Click(int Index) {
    if (Index < 0 || Index >= int(kBands.size())) return;
    txtFreq->setText(QString::fromLatin1(kBands[static_cast<std::size_t>(Index)].mhz));
    Command1_Click();
}

void frmRigTune::cmdMode_Click(const QString& mode) {
    program_.rigControlfrm().ChangeMode(0, mode);
    cmdDone->setFocus();
}

void frmRigTune::cmdDone_Click() { hide(); }

void frmRigTune::chkScan_Click() {
    if (chkScan->isChecked() && !BoxNumber(txtFreq->text())) txtFreq->setText(txtFrom->text());
    Command1->setFocus();
}

std::int64_t frmRigTune::scanStepHz() const {
    if (Option5->isChecked()) return 2500;
    if (Option1->isChecked()) return 500;
    if (Option2->isChecked()) return 100;
    if (Option3->isChecked()) return 30;
    return 10;
}

void frmRigTune::Timer1_Timer() {
    if (!chkScan->isChecked()) return;
    const std::optional<std::int64_t> from = BoxHz(txtFrom->text());
    const std::optional<std::int64_t> to = BoxHz(txtTo->text());
    if (!from || !to) return;
    const std::optional<std::int64_t> current = BoxHz(txtFreq->text());
    if (!current) return;
    // Counted in whole hertz, so that the smallest step still moves the dial
    // at any frequency.
    std::int64_t next = *current + scanStepHz();
    if (next > *to) next = *from;
    txtFreq->setText(ScanText(next));
    Command1_Click();
}

void ShowRigTune(Program& program) {
    frmRigTune panel(program);
    platform::ShowModal(panel);
}

}  // namespace rig

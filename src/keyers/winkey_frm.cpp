#include "keyers/winkey_frm.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <utility>

#include "keyers/cw_frm.h"
#include "keyers/phone_frm.h"
#include "keyers/settings_file.h"
#include "platform/dialogs.h"
#include "platform/key_adapter.h"
#include "platform/modal.h"
#include "platform/option_buttons.h"
#include "platform/serial_port.h"
#include "platform/text_file.h"
#include "platform/twips.h"
#include "program/main_window_proxy.h"
#include "program/program.h"
#include "setup/resize.h"

namespace keyers {

namespace {

constexpr float kBoxHeight = 285;

// A setting box's number is sent as an unsigned byte: the nearest whole
// number, halves to even.
bool FitsByte(double value) {
    const double whole = std::nearbyint(value);
    return whole >= 0 && whole <= 255;
}

std::uint8_t Byte(double value) { return static_cast<std::uint8_t>(std::nearbyint(value)); }

void NumbersOnly(int& KeyAscii) {
    if (KeyAscii == platform::vbKeyBack) return;
    if (KeyAscii < '0' || KeyAscii > '9') KeyAscii = 0;
}

}  // namespace

frmWinKey::frmWinKey(Program& program, WinKeyLayer& layer, const platform::ScreenTwips& screen)
    : program_(program), layer_(layer) {
    setWindowTitle(QStringLiteral(" WinKey Setup"));
    // As tall as its controls need: scaled with the screen's height, a
    // window taller than the design screen would not fit on any screen.
    SetDesignClientSize(7200, 6120);
    Build();
    Form_Load(screen);
}

frmWinKey::~frmWinKey() = default;

void frmWinKey::Build() {
    AddLabel("Label1", "Com Port:", 120, 150, 900, 255);
    txtWKComPort = AddTextBox("txtWKComPort", "", 1080, 120, 600, kBoxHeight);
    cmdOpenWinkey = AddCommandButton("cmdOpenWinkey", "Open", 1800, 90, 840, 345);
    cmdCloseWinkey = AddCommandButton("cmdCloseWinkey", "Close", 2760, 90, 840, 345);
    AddLabel("Label2", "WinKey Status:", 3840, 120, 1400, 255);
    lblOpenStatus = AddLabel("lblOpenStatus", "Closed", 5280, 120, 1800, 255);
    AddLabel("Label3", "WinKey Version:", 3840, 420, 1400, 255);
    lblVersion = AddLabel("lblVersion", "Version #", 5280, 420, 1800, 255);

    AddLabel("Label4", "Settings:", 120, 840, 1200, 255);
    struct Row {
        const char* caption;
        const char* name;
        const char* text;
        const char* help;
        QLineEdit** box;
    };
    const Row rows[] = {
        {"WPM:", "txtWKWPM", "18", "Up / down arrows from main form change speeds.", &txtWKWPM},
        {"Weight:", "txtWeight", "50", "Proportional amount added or subtracted (50 is standard).",
         &txtWeight},
        {"Lead In:", "txtLeadIn", "0", "Lead in time for transmitter (10 ms increments).",
         &txtLeadIn},
        {"Tail:", "txtTail", "0", "Tail time after keying has stopped (10 ms increments).",
         &txtTail},
        {"Ratio:", "txtRatio", "50", "Ratio of dits to dahs (Range: 33 - 66).", &txtRatio},
    };
    int index = 0;
    for (const Row& row : rows) {
        const float top = 1140 + static_cast<float>(index) * 360;
        AddLabel(QStringLiteral("Label%1").arg(5 + index), row.caption, 240, top + 30, 840, 255);
        *row.box = AddTextBox(row.name, row.text, 1080, top, 600, kBoxHeight);
        AddLabel(QStringLiteral("Label%1").arg(10 + index), row.help, 1800, top + 30, 5280, 255);
        ++index;
    }

    Frame2 = AddFrame("Frame2", "Keyer Mode", 120, 3000, 6960, 660);
    optIambicB = AddOptionButton("optIambicB", "Iambic B", 120, 300, 1560, 255, Frame2);
    optIambicA = AddOptionButton("optIambicA", "Iambic A", 1800, 300, 1560, 255, Frame2);
    optUltimatic = AddOptionButton("optUltimatic", "Ultimatic", 3480, 300, 1560, 255, Frame2);
    optBug = AddOptionButton("optBug", "Bug Keyer", 5160, 300, 1560, 255, Frame2);
    optIambicB->setChecked(true);

    Frame1 = AddFrame("Frame1", "Pin 5 Configuration", 120, 3780, 6960, 660);
    optKey5Out3Off =
        AddOptionButton("optKey5Out3Off", "P5 Key Out, P3 Off", 120, 300, 1920, 255, Frame1);
    optKey5Off3Out =
        AddOptionButton("optKey5Off3Out", "P5 Off, P3 Key Out", 2160, 300, 1920, 255, Frame1);
    optTone = AddOptionButton("optTone", "Tone", 4200, 300, 1200, 255, Frame1);
    optPTT = AddOptionButton("optPTT", "PTT", 5520, 300, 1200, 255, Frame1);
    optTone->setChecked(true);

    Command3 = AddCommandButton("Command3", "Test", 1800, 4680, 1560, 405);
    cmdStop = AddCommandButton("cmdStop", "Stop", 3840, 4680, 1560, 405);
    cmdDone = AddCommandButton("cmdDone", "&Done", 2280, 5400, 2640, 525);
    txtWKComPort->setFocus();

    connect(cmdOpenWinkey, &QPushButton::clicked, this, [this] { cmdOpenWinkey_Click(); });
    connect(cmdCloseWinkey, &QPushButton::clicked, this, [this] { cmdCloseWinkey_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });

    const std::pair<QRadioButton*, std::uint8_t> modes[] = {
        {optIambicB, 0}, {optIambicA, 16}, {optUltimatic, 32}, {optBug, 48}};
    for (const auto& [option, value] : modes)
        platform::OnSelected(option, [this, value = value] {
            layer_.WKMode = value;
            if (program_.keyer.WKOpen != 0) SendWKSettings();
        });
    const std::pair<QRadioButton*, std::uint8_t> pins[] = {
        {optKey5Out3Off, 8}, {optKey5Off3Out, 4}, {optTone, 6}, {optPTT, 5}};
    for (const auto& [option, value] : pins)
        platform::OnSelected(option, [this, value = value] {
            layer_.WKPinConfig = value;
            if (program_.keyer.WKOpen != 0) SendWKSettings();
        });

    auto* keys = new platform::KeyAdapter(this);
    for (QLineEdit* box : {txtWKComPort, txtWKWPM, txtWeight, txtLeadIn, txtTail, txtRatio}) {
        keys->Attach(box, {.keyPress = NumbersOnly});
        box->installEventFilter(this);
    }
}

bool frmWinKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        if (watched == txtWKComPort) txtWKComPort_LostFocus();
        else if (watched == txtWKWPM) txtWKWPM_LostFocus();
        else if (watched == txtWeight) txtWeight_LostFocus();
        else if (watched == txtLeadIn) txtLeadIn_LostFocus();
        else if (watched == txtTail) txtTail_LostFocus();
        else if (watched == txtRatio) txtRatio_LostFocus();
    }
    return platform::Form::eventFilter(watched, event);
}

void frmWinKey::FocusDone() {
    if (isVisible()) cmdDone->setFocus();
}

// The settings boxes: a number within the range is sent; a text that is no
// number gets the box's default; a number out of range stays and is not sent.
void frmWinKey::txtWKWPM_LostFocus() {
    const std::optional<double> v = BoxNumber(txtWKWPM->text());
    if (!v) {
        txtWKWPM->setText(QStringLiteral("18"));
        return;
    }
    if (*v >= 0 && *v <= 99) layer_.device().wk_wpm(Byte(*v));
}

void frmWinKey::txtWeight_LostFocus() {
    const std::optional<double> v = BoxNumber(txtWeight->text());
    if (!v) {
        txtWeight->setText(QStringLiteral("50"));
        return;
    }
    if (*v >= 0 && *v <= 99) layer_.device().wk_weight(Byte(*v));
}

void frmWinKey::txtRatio_LostFocus() {
    const std::optional<double> v = BoxNumber(txtRatio->text());
    if (!v) {
        txtRatio->setText(QStringLiteral("50"));
        return;
    }
    if (*v >= 32 && *v <= 67) layer_.device().wk_ditdah_ratio(Byte(*v));
}

// Lead-in and tail go to the device together; the box being left takes the
// reset when either is no number or does not fit a byte.
void frmWinKey::SendLeadTail(QLineEdit* own) {
    const std::optional<double> lead = BoxNumber(txtLeadIn->text());
    const std::optional<double> tail = BoxNumber(txtTail->text());
    if (!lead || !tail || !FitsByte(*lead) || !FitsByte(*tail)) {
        own->setText(QStringLiteral("0"));
        return;
    }
    layer_.device().wk_ptt_leadtail(Byte(*lead), Byte(*tail));
}

void frmWinKey::txtLeadIn_LostFocus() { SendLeadTail(txtLeadIn); }
void frmWinKey::txtTail_LostFocus() { SendLeadTail(txtTail); }

void frmWinKey::txtWKComPort_LostFocus() {
    const std::optional<double> v = BoxNumber(txtWKComPort->text());
    if (!v) {
        txtWKComPort->setText(QStringLiteral("0"));
        layer_.WKComPort = 0;
        return;
    }
    layer_.WKComPort = FitsByte(*v) ? Byte(*v) : 0;
}

void frmWinKey::SendWKSettings() {
    txtWKWPM_LostFocus();
    txtWeight_LostFocus();
    txtLeadIn_LostFocus();
    txtRatio_LostFocus();
    layer_.device().wk_pincfg(layer_.WKPinConfig);
    layer_.device().wk_setmode(layer_.WKMode);
}

// Open starts the device's open and returns; its answer comes from a later
// event (OpenAnswered). While the open is under way WKOpen is kWKOpening, so
// a message asked for meanwhile waits for it, and another keyer taking the
// port closes it as it would an open device.
void frmWinKey::cmdOpenWinkey_Click() {
    // An open under way answers for this one too.
    if (layer_.device().Opening()) return;
    // The WinKeyer takes over from the other keying ports.
    PhoneFrm& phone = program_.phoneFrm();
    if (phone.CommPhone().IsOpen()) phone.CommPhone().Close();
    CWFrm& cw = program_.cwFrm();
    if (cw.Comm().IsOpen()) cw.Comm().Close();

    layer_.device().wk_open(layer_.WKComPort, [window = QPointer<frmWinKey>(this)](int code, std::uint8_t version) {
        if (window) window->OpenAnswered(code, version);
    });
    if (layer_.device().Opening()) program_.keyer.WKOpen = kWKOpening;
}

void frmWinKey::OpenAnswered(int code, std::uint8_t version) {
    if (program_.keyer.WKOpen == kWKOpening) program_.keyer.WKOpen = 0;
    if (code != kWkAlreadyOpen && version == 0)
        program_.dialogs().MsgBox(
            QStringLiteral("Unable to establish connection with WinKey on com port %1.  Please "
                           "check to make sure that you have specified the correct port and that "
                           "the Winkey device is properly connected.")
                .arg(layer_.WKComPort),
            platform::vbOKOnly, QStringLiteral("Unable to establish connection with Winkey."));
    const QString status = WinKeyOpenStatusText(code);
    if (!status.isEmpty()) lblOpenStatus->setText(status);
    if (code == kWkAlreadyOpen) return;
    SendWKSettings();
    if (version > 0) {
        program_.keyer.WKOpen = version;
        lblVersion->setText(QStringLiteral("Version # %1").arg(version));
    }
    FocusDone();
    layer_.OpenEnded();
}

void frmWinKey::cmdCloseWinkey_Click() {
    layer_.device().wk_close();
    lblOpenStatus->setText(QStringLiteral("Closed"));
    lblVersion->setText(QStringLiteral("Version #"));
    program_.keyer.WKOpen = 0;
    FocusDone();
    // A sender waiting for an open that ended here goes on, and finds it closed.
    layer_.OpenEnded();
}

void frmWinKey::Command3_Click() {
    KeyerState& k = program_.keyer;
    const bool wasEmpty = k.CWBuffer.isEmpty();
    k.CWBuffer += QStringLiteral("VVV TEST DE ") + program_.station.OwnCall;
    if (wasEmpty) layer_.WKTransmit();
    FocusDone();
}

void frmWinKey::cmdStop_Click() {
    layer_.device().wk_clearbuf();
    program_.keyer.CWBuffer.clear();
    FocusDone();
}

void frmWinKey::cmdDone_Click() {
    QString text = QString::number(layer_.WKComPort) + QStringLiteral("\r\n");
    for (QLineEdit* box : {txtWKWPM, txtWeight, txtLeadIn, txtTail, txtRatio})
        text += QuotedLine(box->text());
    text += QString::number(layer_.WKPinConfig) + QStringLiteral("\r\n");
    text += QString::number(layer_.WKMode) + QStringLiteral("\r\n");
    QString error;
    if (!platform::WriteFileAtomically(program_.folders.DataFolder + "/" + kWinKeySettingsFile,
                                       platform::EncodeAnsi(text), &error)) {
        program_.ReportWriteFailure(error);
        return;
    }
    hide();
}

// Reads WK.txt; false when it ends the load early (a value that is missing
// or out of range), keeping what was read before.
bool frmWinKey::ReadSettingsFile() {
    std::optional<SettingsFileReader> file =
        SettingsFileReader::Open(program_.folders.DataFolder + "/" + kWinKeySettingsFile);
    if (!file) return true;
    const std::optional<int> port = file->Whole(0, 255);
    if (!port) return false;
    layer_.WKComPort = static_cast<std::uint8_t>(*port);
    for (QLineEdit* box : {txtWKWPM, txtWeight, txtLeadIn, txtTail, txtRatio})
        if (!file->Text(box)) return false;
    // The pin configuration and keyer mode are optional; one that is there
    // must be a byte.
    for (std::uint8_t* value : {&layer_.WKPinConfig, &layer_.WKMode}) {
        const std::optional<QString> text = file->Text();
        if (!text) return true;
        const std::optional<double> v = BoxNumber(*text);
        if (!v || !FitsByte(*v)) return false;
        *value = Byte(*v);
    }
    return true;
}

void frmWinKey::Form_Load(const platform::ScreenTwips& screen) {
    setup::ResizeFormTo(*this, static_cast<float>(screen.size.width()),
                        static_cast<float>(screen.size.height()), 9600, 7200, 0, 1.0F,
                        QStringLiteral("Arial"));
    setup::KeepInWorkArea(*this, screen.workArea);
    layer_.WKPinConfig = 6;
    layer_.WKMode = 0;
    if (!ReadSettingsFile()) return;
    txtWKWPM->setText(program_.cwFrm().Text11->text());
    txtWKComPort->setText(QString::number(layer_.WKComPort));
    // Selecting an option stores the same value again; the device is closed
    // here, so nothing is sent.
    const std::pair<QRadioButton*, std::uint8_t> pins[] = {
        {optPTT, 5}, {optTone, 6}, {optKey5Off3Out, 4}, {optKey5Out3Off, 8}};
    for (const auto& [option, value] : pins)
        if (layer_.WKPinConfig == value) option->setChecked(true);
    const std::pair<QRadioButton*, std::uint8_t> modes[] = {
        {optIambicA, 16}, {optIambicB, 0}, {optUltimatic, 32}, {optBug, 48}};
    for (const auto& [option, value] : modes)
        if (layer_.WKMode == value) option->setChecked(true);
}

void frmWinKey::closeEvent(QCloseEvent* event) {
    cmdCloseWinkey_Click();
    platform::Form::closeEvent(event);
}

void frmWinKey::Form_Unload() {
    layer_.device().wk_close();
    program_.keyer.WKOpen = 0;
}

WinKeyLayer::WinKeyLayer(Program& program)
    : program_(program), device_([&program] { return program.NewSerialPort(); }, program.clock()) {}

WinKeyLayer::~WinKeyLayer() = default;

frmWinKey& WinKeyLayer::window() {
    return form_.Get([this] { return std::make_unique<frmWinKey>(program_, *this); });
}

void WinKeyLayer::Load() { window(); }
void WinKeyLayer::ShowModal() { platform::ShowModal(window()); }
void WinKeyLayer::Unload() {
    form_.Unload();
    device_.wk_close();
    program_.keyer.WKOpen = 0;
    OpenEnded();
}

void WinKeyLayer::OpenEnded() {
    if (std::exchange(awaitingOpen_, false)) NextCharacter();
    for (const std::function<void()>& fn : std::exchange(openWaiters_, {}))
        if (fn) fn();
}

void WinKeyLayer::WhenOpenEnded(std::function<void()> fn) {
    if (device_.Opening())
        openWaiters_.push_back(std::move(fn));
    else if (fn)
        fn();
}

// The sender is a small machine run by timers: a character handed over,
// 10 ms, the next; while the device holds five or more not yet keyed, a
// look at its echoes and status bytes every 10 ms until it has room. The
// window's thread is never held: keys typed meanwhile are handled as they
// come, and Esc or Stop, emptying CWBuffer, ends the machine at its next
// turn. A device that is opening is waited for: the machine goes on once
// the open has ended, and finds it open or closed.
void WinKeyLayer::WKTransmit() {
    KeyerState& k = program_.keyer;
    if (k.WKOpen == 0) window().cmdOpenWinkey_Click();
    if (k.WKOpen == 0) {
        k.CWBuffer.clear();
        // A machine still under way ends at its next turn, finding the
        // device closed; ending it here too would let a second one start.
        if (!sending_) Finish();
        return;
    }
    // A message started while one drains joins it: the running machine
    // takes whatever CWBuffer holds at its next turn.
    if (sending_) return;
    sending_ = true;
    // The main window stays open while the buffer drains.
    k.WKSending = 1;
    NextCharacter();
}

void WinKeyLayer::WhenSent(std::function<void()> fn) {
    if (!sending_) {
        if (fn) fn();
        return;
    }
    whenSent_ = std::move(fn);
}

void WinKeyLayer::Continue(void (WinKeyLayer::*step)()) {
    program_.clock().After(kCharacterMs, &timers_, [this, step] { (this->*step)(); });
}

void WinKeyLayer::NextCharacter() {
    KeyerState& k = program_.keyer;
    if (k.CWBuffer.isEmpty()) {
        Finish();
        return;
    }
    if (device_.Opening()) {
        awaitingOpen_ = true;
        return;
    }
    k.WKStatus = device_.wk_getstatus();
    if (k.WKStatus < kRoomBelow) {
        HandOver();
        return;
    }
    waitKeyed_ = device_.Keyed();
    lastProgress_ = program_.clock().MonotonicMs();
    Continue(&WinKeyLayer::LookForRoom);
}

void WinKeyLayer::LookForRoom() {
    KeyerState& k = program_.keyer;
    // Emptied by Esc or Stop, or closed, while it waited.
    if (k.CWBuffer.isEmpty() || !device_.IsOpen()) {
        HandOver();
        return;
    }
    k.WKStatus = device_.wk_getstatus();
    // The device is given up only after kGiveUpMs in which it keyed nothing:
    // a long message at a slow speed keeps it busy far longer than that.
    if (device_.Keyed() != waitKeyed_) {
        waitKeyed_ = device_.Keyed();
        lastProgress_ = program_.clock().MonotonicMs();
    } else if (program_.clock().MonotonicMs() - lastProgress_ >= kGiveUpMs) {
        GiveUp();
        Finish();
        return;
    }
    if (k.WKStatus >= kRoomBelow) {
        Continue(&WinKeyLayer::LookForRoom);
        return;
    }
    HandOver();
}

void WinKeyLayer::HandOver() {
    KeyerState& k = program_.keyer;
    // Closed and opening again meanwhile: the open's end goes on from here.
    if (device_.Opening() && !k.CWBuffer.isEmpty()) {
        awaitingOpen_ = true;
        return;
    }
    // Closed meanwhile (Close, or another port taking the device's port).
    if (!device_.IsOpen()) {
        k.CWBuffer.clear();
        Finish();
        return;
    }
    if (k.CWBuffer.isEmpty()) {
        Finish();
        return;
    }
    const QByteArray code = platform::EncodeAnsi(k.CWBuffer.left(1));
    // "!" logs the contact, which the caller has done; it is not sent.
    if (!code.isEmpty() && code.front() != '!')
        device_.wk_char(static_cast<std::uint8_t>(code.front()));
    k.CWBuffer.remove(0, 1);
    Continue(&WinKeyLayer::NextCharacter);
}

void WinKeyLayer::GiveUp() {
    KeyerState& k = program_.keyer;
    k.CWBuffer.clear();
    window().cmdCloseWinkey_Click();
    k.WKStatus = 0;
    program_.form1().SetStatusLine(QStringLiteral("WinKey not responding"));
}

void WinKeyLayer::Finish() {
    if (sending_) {
        sending_ = false;
        program_.keyer.WKSending = 0;
    }
    if (std::function<void()> done = std::exchange(whenSent_, {})) done();
}

}  // namespace keyers

#include "rig/rig_control_frm.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "platform/colors.h"
#include "platform/modal.h"
#include "platform/option_buttons.h"
#include "platform/port_map.h"
#include "platform/serial_port.h"
#include "platform/text_file.h"
#include "platform/twips.h"
#include "program/main_window_proxy.h"
#include "program/program.h"
#include "rig/frequency_test_frm.h"
#include "setup/resize.h"

namespace rig {

using platform::ClearOption;
using platform::OnSelected;

namespace {

const char* const kBaudCaptions[] = {"1.2", "2.4", "4.8", "9.6", "14.4", "19.2", "28.8", "38.4", "56"};
const char* const kBaudTexts[] = {"1200", "2400", "4800", "9600", "14400", "19200", "28800", "38400", "56000"};

// The defaults a rig choice applies: baud, data bits, stop bits, parity
// (empty: left as it is), poll strings, "Convert to Hex", the Icom note.
struct RigDefaults {
    const char* rigType;
    const char* baud;
    const char* data;
    const char* stop;
    const char* parity;
    const char* freqPoll;
    const char* modePoll;
    bool toHex;
    bool note;
};

const RigDefaults kRigDefaults[] = {
    {"None", "", "", "", "", "", "", false, false},
    {"Elecraft", "4800", "8", "2", "N", "FA;", "MD;", false, false},
    {"Icom", "1200", "8", "1", "N", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, true},
    {"Icom 735", "1200", "8", "1", "N", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, true},
    {"Kenwood", "4800", "8", "2", "N", "FA;", "MD;", false, false},
    {"Kenwood 2", "4800", "8", "2", "N", "IF;", "", false, false},
    {"Ten Tec Omni VI", "1200", "8", "1", "N", "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", true, false},
    {"Ten Tec Orion", "56000", "8", "1", "N", "?AF", "?RMM", false, false},
    {"Ten Tec Fnt Pnl", "56000", "8", "1", "N", "3F 41 0D", "3F 4D 0D", true, false},
    {"Ten Tec Pegasus", "", "", "", "", "", "", false, false},
    {"Yaesu", "4800", "8", "2", "N", "00 00 00 00 03", "", true, false},
    {"Yaesu 757 GX II", "4800", "8", "2", "N", "00 00 00 00 10", "", true, false},
    {"Yaesu 890", "4800", "8", "2", "N", "00 00 00 02 10", "", true, false},
    {"Yaesu 920", "4800", "8", "2", "N", "00 00 00 02 10", "", true, false},
    {"Yaesu 990", "4800", "8", "2", "N", "00 00 00 02 10", "", true, false},
    {"Yaesu 1000 D", "4800", "8", "2", "N", "00 00 00 02 10", "", true, false},
    {"Yaesu 1000", "4800", "8", "2", "N", "00 00 00 02 10", "", true, false},
    {"Yaesu FTdx9000", "4800", "", "", "", "FA;", "MD0;", false, false},
    {"Other", "", "", "", "", "", "", false, false},
};

void styleDisplay(QLabel* label) {
    platform::SetBackColor(label, Qt::black);
    platform::SetForeColor(label, Qt::red);
}

}  // namespace

RigControlfrm::RigControlfrm(Program& program, const platform::ScreenTwips& screen) : program_(program) {
    setWindowTitle(QStringLiteral(" Rig Interface Setup"));
    // A fixed border and no close, minimize or maximize box: Done is the
    // way out.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
    SetDesignClientSize(9120, 6900);
    build();

    comComm1_ = program_.NewSerialPort();
    RigEngine::Hooks hooks;
    hooks.reportFrequency = [this](float& mhz) { program_.form1().BandFreqConversion(mhz); };
    hooks.reportMode = [this](QString& mode) { program_.form1().ModeSelection(mode); };
    hooks.showReading = [this] { showReading(); };
    hooks.portOpenFailed = [this] {
        if (!isVisible()) platform::ShowModal(*this);
    };
    // Every stop of polling (End Test, a port error, a failed frequency
    // change) ends the dialog's polling state.
    hooks.pollingStopped = [this] {
        Label2->hide();
        Command2->setEnabled(false);
    };
    engine_ = std::make_unique<RigEngine>(*comComm1_, program_.clock(), program_.dialogs(), std::move(hooks));
    engine_->settings.RigType = program_.station.RigType;
    engine_->pegasusFolder = platform::PortMap::Load(program_.folders.WorkingFolder).PegasusFolder();

    wire();
    Form_Load(screen);
}

RigControlfrm::~RigControlfrm() = default;

void RigControlfrm::build() {
    AddLabel("Label3", "Select Rig:", 120, 60, 2100, 255);
    List1 = AddListBox("List1", 120, 330, 2100, 3420);

    AddLabel("Label4", "String to read frequency:", 2400, 60, 2520, 255);
    txtFreq = AddTextBox("txtFreq", QString(), 2400, 330, 2520, 300);
    AddLabel("Label5", "String to read mode:", 2400, 720, 2520, 255);
    txtMode = AddTextBox("txtMode", QString(), 2400, 990, 2520, 300);
    // The settings file cannot carry a double quote.
    const QRegularExpression noQuote(QStringLiteral("[^\"]*"));
    txtFreq->setValidator(new QRegularExpressionValidator(noQuote, txtFreq));
    txtMode->setValidator(new QRegularExpressionValidator(noQuote, txtMode));
    chkConvToHex = AddCheckBox("chkConvToHex", "Convert to Hex", 2400, 1380, 2520, 255);
    chkConvToHex->setEnabled(false);
    ChkConvHex = AddCheckBox("ChkConvHex", "Convert from Hex", 2400, 1650, 2520, 255);
    chkFrequency = AddCheckBox("chkFrequency", "Use Frequency", 2400, 1920, 2520, 255);
    chkFrequency->setChecked(true);
    QGroupBox* modeBy = AddFrame("Frame7", "Mode by:", 2400, 2250, 2520, 1500);
    OptRig = AddOptionButton("OptRig", "Rig", 120, 300, 2200, 255, modeBy);
    OptFreq = AddOptionButton("OptFreq", "Frequency", 120, 660, 2200, 255, modeBy);
    OptDont = AddOptionButton("OptDont", "Don't Use", 120, 1020, 2200, 255, modeBy);
    OptRig->setChecked(true);

    QGroupBox* baud = AddFrame("Frame1", "Baud Rate (k):", 5100, 60, 1860, 1680);
    const char* const baudNames[] = {"optBaud12",  "optBaud24",  "optBaud48",  "optBaud96", "optBaud144",
                                     "optBaud192", "optBaud288", "optBaud384", "optBaud560"};
    for (std::size_t i = 0; i < optBaud.size(); ++i)
        optBaud[i] = AddOptionButton(baudNames[i], kBaudCaptions[i], 120 + float(i / 5) * 900,
                                     270 + float(i % 5) * 270, 840, 255, baud);
    optBaud[8]->setChecked(true);

    QGroupBox* parity = AddFrame("Frame2", "Parity:", 7080, 60, 1920, 1080);
    optParityOdd = AddOptionButton("optParityOdd", "Odd", 120, 270, 1600, 255, parity);
    optParityNone = AddOptionButton("optParityNone", "None", 120, 540, 1600, 255, parity);
    optParityEven = AddOptionButton("optParityEven", "Even", 120, 810, 1600, 255, parity);
    optParityNone->setChecked(true);
    QGroupBox* dataBits = AddFrame("Frame3", "Data Bits:", 7080, 1200, 930, 840);
    optData7 = AddOptionButton("optData7", "7", 120, 270, 700, 255, dataBits);
    optData8 = AddOptionButton("optData8", "8", 120, 540, 700, 255, dataBits);
    optData8->setChecked(true);
    QGroupBox* stop = AddFrame("Frame4", "Stop Bits:", 8070, 1200, 930, 840);
    optStop1 = AddOptionButton("optStop1", "1", 120, 270, 700, 255, stop);
    optStop2 = AddOptionButton("optStop2", "2", 120, 540, 700, 255, stop);
    optStop1->setChecked(true);

    QGroupBox* comm = AddFrame("Frame5", "Comm Port:", 5100, 1800, 1860, 1680);
    for (std::size_t i = 0; i < optComm.size(); ++i)
        optComm[i] = AddOptionButton("optComm", QString::number(i + 1), 120 + float(i / 5) * 900,
                                     270 + float(i % 5) * 270, 840, 255, comm);
    optComm[0]->setChecked(true);

    QGroupBox* power = AddFrame("Frame6", "Connection Power:", 7080, 2100, 1920, 1080);
    optPowerNone = AddOptionButton("optPowerNone", "None", 120, 270, 1600, 255, power);
    optPowerRTS = AddOptionButton("optPowerRTS", "RTS", 120, 540, 1600, 255, power);
    optPowerDTR = AddOptionButton("optPowerDTR", "DTR", 120, 810, 1600, 255, power);
    optPowerNone->setChecked(true);

    QGroupBox* rate = AddFrame("Frame8", "Radio Polling Rate:", 5100, 3540, 3900, 600);
    optPollFast = AddOptionButton("optPollFast", "100 ms", 120, 270, 900, 255, rate);
    optPollMed = AddOptionButton("optPollMed", "500 ms", 1060, 270, 900, 255, rate);
    optPollSlow = AddOptionButton("optPollSlow", "2 Sec", 2000, 270, 900, 255, rate);
    optReallySlow = AddOptionButton("optReallySlow", "10 Sec", 2900, 270, 900, 255, rate);
    optPollMed->setChecked(true);

    AddLabel("Label6", "Frequency:", 120, 3900, 1000, 255);
    lblFreq = AddLabel("lblFreq", QString(), 1140, 3870, 1500, 300);
    AddLabel("Label7", "Mode:", 2760, 3900, 600, 255);
    lblMode = AddLabel("lblMode", QString(), 3360, 3870, 1500, 300);
    AddLabel("Label8", "Should be PH or CW", 3360, 4200, 1600, 255);
    AddLabel("Label9", "Unprocessed data returned:", 120, 4500, 2500, 255);
    lblUnProcess = AddLabel("lblUnProcess", QString(), 120, 4770, 8880, 300);
    platform::FontModel bold = Font;
    bold.Bold = true;
    for (QLabel* display : {lblFreq, lblMode, lblUnProcess}) {
        styleDisplay(display);
        SetFont(display, bold);
    }
    Label2 = AddLabel("Label2", "Polling Rig", 5100, 4230, 1500, 255);
    platform::SetBackColor(Label2, Qt::blue);
    platform::SetForeColor(Label2, Qt::white);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->hide();

    Command1 = AddCommandButton("Command1", "Test", 120, 5160, 1200, 360);
    Command2 = AddCommandButton("Command2", "End Test", 1440, 5160, 1200, 360);
    Command2->setEnabled(false);
    Command3 = AddCommandButton("Command3", "Change Frequency", 2760, 5160, 1800, 360);
    Command4 = AddCommandButton("Command4", "Copy unprocessed data to clipboard", 4680, 5160, 3000, 360);
    cmdDone = AddCommandButton("cmdDone", "&Done", 7800, 5160, 1200, 360);

    Label10 = AddLabel("Label10",
                       "Icom radio users will have to replace the 64 in the string with the ID for your particular "
                       "radio.  Please check your Icom user's manual for details.",
                       120, 5640, 8880, 420);
    Label10->setWordWrap(true);
    Label10->hide();
    QLabel* help = AddLabel("Label1",
                            "Choose your radio and the parameters it is set to, then click Test.  Choose a connection "
                            "power option if your interface takes its power from the port.  While the rig is polled, "
                            "the main window follows its band.  A right click on a band-map spot tunes the radio; "
                            "Change Frequency tries this on your rig.  \"Other\" lets you send the commands of your "
                            "radio's manual and see the raw reply.",
                            120, 6120, 8880, 780);
    help->setWordWrap(true);
}

void RigControlfrm::wire() {
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) List1_Click();
    });
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    // Any change of the serial settings stops polling and closes the port.
    std::vector<QRadioButton*> serialOptions(optBaud.begin(), optBaud.end());
    serialOptions.insert(serialOptions.end(), optComm.begin(), optComm.end());
    for (QRadioButton* o : {optParityOdd, optParityNone, optParityEven, optData7, optData8, optStop1, optStop2,
                            optPowerNone, optPowerRTS, optPowerDTR, optPollFast, optPollMed, optPollSlow,
                            optReallySlow})
        serialOptions.push_back(o);
    for (QRadioButton* o : serialOptions)
        connect(o, &QRadioButton::clicked, this, [this] { Command2_Click(); });
    for (QRadioButton* o : serialOptions)
        OnSelected(o, [this] {
            if (!RigSettingsLoading) Command2_Click();
        });
    const auto modeSource = [this](ModeSource source) {
        engine_->settings.RigModeSource = source;
        lblMode->setText(QStringLiteral("No Response"));
        engine_->ClearRigModeText();
    };
    OnSelected(OptRig, [=] { modeSource(ModeSource::Rig); });
    OnSelected(OptFreq, [=] { modeSource(ModeSource::Frequency); });
    OnSelected(OptDont, [=] { modeSource(ModeSource::DontUse); });
    connect(chkConvToHex, &QCheckBox::toggled, this, [this](bool on) {
        engine_->settings.ConvertToHex = on;
        ChkConvHex->setChecked(on);
    });
    connect(ChkConvHex, &QCheckBox::toggled, this, [this](bool on) { engine_->settings.ConvertFromHex = on; });
    connect(chkFrequency, &QCheckBox::toggled, this, [this](bool on) { engine_->settings.UseFrequency = on; });
    connect(txtFreq, &QLineEdit::textChanged, this, [this](const QString& t) { engine_->settings.FreqPollString = t; });
    connect(txtMode, &QLineEdit::textChanged, this, [this](const QString& t) { engine_->settings.ModePollString = t; });
    txtFreq->installEventFilter(this);
    txtMode->installEventFilter(this);
}

bool RigControlfrm::eventFilter(QObject* watched, QEvent* event) {
    // A poll string is never edited while polling runs.
    if ((watched == txtFreq || watched == txtMode) && event->type() == QEvent::FocusIn) Command2_Click();
    return platform::Form::eventFilter(watched, event);
}

void RigControlfrm::Form_Load(const platform::ScreenTwips& screen) {
    setup::ScaleToArea(*this, screen.workArea.size(), screen.size.width(), 2);
    setup::KeepInWorkArea(*this, screen.workArea);
    for (const QString& name : RigTypeNames()) List1->addItem(name);
    showPortDevices();
    RigSettingsLoading = true;
    LoadRigSettings();
    engine_->bandPlan = BandPlanTable::Load(program_.WorkPath(kBandPlanFile));
    RigSettingsLoading = false;
}

void RigControlfrm::showPortDevices() {
    const platform::PortMap ports = platform::PortMap::Load(program_.folders.WorkingFolder);
    for (std::size_t i = 0; i < optComm.size(); ++i)
        optComm[i]->setToolTip(QStringLiteral("COM%1 is %2").arg(i + 1).arg(ports.DevicePath(int(i) + 1)));
}

void RigControlfrm::Form_Unload() { engine_->Shutdown(); }

void RigControlfrm::Command1_Click() {
    RigSettings& s = engine_->settings;
    const bool none = s.RigType == u"None";
    if (!none) {
        lblMode->setText(QStringLiteral("No Response"));
        lblFreq->setText(QStringLiteral("No Response"));
        Command2->setEnabled(true);
        Label2->show();
        engine_->ClearRigModeText();
    }
    for (std::size_t i = 0; i < optComm.size(); ++i)
        if (optComm[i]->isChecked()) s.RigPortNumber = int(i) + 1;
    for (std::size_t i = 0; i < optBaud.size(); ++i)
        if (optBaud[i]->isChecked()) {
            s.RigBaudText = FixedWidth(QString::fromLatin1(kBaudTexts[i]), 5);
            break;
        }
    if (optParityOdd->isChecked()) s.RigParity = QStringLiteral("O");
    if (optParityNone->isChecked()) s.RigParity = QStringLiteral("N");
    if (optParityEven->isChecked()) s.RigParity = QStringLiteral("E");
    if (optData7->isChecked()) s.RigDataBits = QStringLiteral("7");
    if (optData8->isChecked()) s.RigDataBits = QStringLiteral("8");
    if (optStop1->isChecked()) s.RigStopBits = QStringLiteral("1");
    if (optStop2->isChecked()) s.RigStopBits = QStringLiteral("2");
    s.RigCommSettings = s.RigBaudText.trimmed() + u',' + s.RigParity + u',' + s.RigDataBits + u',' + s.RigStopBits;
    if (optPowerNone->isChecked()) s.RigPowerLine = QStringLiteral("N");
    if (optPowerRTS->isChecked()) s.RigPowerLine = QStringLiteral("R");
    if (optPowerDTR->isChecked()) s.RigPowerLine = QStringLiteral("D");
    if (optPollFast->isChecked()) s.RigPollRate = QStringLiteral("F");
    if (optPollMed->isChecked()) s.RigPollRate = QStringLiteral("M");
    if (optPollSlow->isChecked()) s.RigPollRate = QStringLiteral("S");
    if (optReallySlow->isChecked()) s.RigPollRate = QStringLiteral("R");
    if (none) return;
    const bool pegasus = s.RigType == u"Ten Tec Pegasus";
    const bool open = !pegasus && engine_->OpenRigPort();
    if (open || pegasus) {
        engine_->tmrGetData_Timer();
        // A first tick that stopped the link (a poll string that cannot be
        // sent, a port lost at once) has told the operator; polling stays off.
        if (pegasus || engine_->port().IsOpen()) engine_->StartPolling();
    } else {
        // A poll left running on a closed port would only fail unseen.
        engine_->EndPolling();
    }
}

void RigControlfrm::Command2_Click() {
    lblMode->clear();
    lblFreq->clear();
    lblUnProcess->clear();
    engine_->EndPolling();
}

void RigControlfrm::Command3_Click() {
    if (engine_->Polling()) {
        // Made for this showing only: the next one starts afresh.
        frmFrequencyTest test(program_);
        platform::ShowModal(test);
        return;
    }
    program_.dialogs().MsgBox(
        QStringLiteral("You must be polling your rig to test this function.  Please select your rig type and click "
                       "the Test command button."),
        platform::vbInformation, QStringLiteral("You must be polling your rig to test this function."));
}

void RigControlfrm::Command4_Click() {
    QApplication::clipboard()->clear();
    QApplication::clipboard()->setText(lblUnProcess->text());
    cmdDone->setFocus();
}

void RigControlfrm::cmdDone_Click() {
    if (engine_->settings.RigType != u"None") Command1_Click();
    program_.form1().SavePref();
    // A settings file that cannot be written keeps the window open, so the
    // operator can try again.
    if (!SaveRigSettings()) return;
    hide();
}

void RigControlfrm::List1_Click() {
    if (RigSettingsLoading || !List1->currentItem()) return;
    Command2_Click();
    const QString rigType = List1->currentItem()->text();
    engine_->settings.RigType = rigType;
    program_.station.RigType = rigType;
    txtFreq->setText(QString());
    txtMode->setText(QString());
    chkConvToHex->setChecked(false);
    chkConvToHex->setEnabled(false);
    Label10->hide();
    for (const RigDefaults& d : kRigDefaults) {
        if (rigType != QLatin1String(d.rigType)) continue;
        const QString baudText = QString::fromLatin1(d.baud);
        for (std::size_t i = 0; i < optBaud.size(); ++i)
            if (baudText == QLatin1String(kBaudTexts[i])) optBaud[i]->setChecked(true);
        if (QLatin1String(d.data) == "7") optData7->setChecked(true);
        if (QLatin1String(d.data) == "8") optData8->setChecked(true);
        if (QLatin1String(d.stop) == "1") optStop1->setChecked(true);
        if (QLatin1String(d.stop) == "2") optStop2->setChecked(true);
        if (QLatin1String(d.parity) == "N") optParityNone->setChecked(true);
        txtFreq->setText(QString::fromLatin1(d.freqPoll));
        txtMode->setText(QString::fromLatin1(d.modePoll));
        chkConvToHex->setChecked(d.toHex);
        Label10->setVisible(d.note);
    }
    if (rigType == u"Other") chkConvToHex->setEnabled(true);
}

void RigControlfrm::setModeSourceOption(int value) {
    if (value == 1) OptRig->setChecked(true);
    if (value == 2) OptFreq->setChecked(true);
    if (value == 3) OptDont->setChecked(true);
}

void RigControlfrm::LoadRigSettings() {
    const RigSettingsFile f = ReadRigSettings(program_.WorkPath(kRigSettingsFile));
    RigSettings& s = engine_->settings;
    // The values read so far take effect; the controls only once all are.
    if (f.RigBaudText) s.RigBaudText = *f.RigBaudText;
    if (f.RigParity) s.RigParity = *f.RigParity;
    if (f.RigDataBits) s.RigDataBits = *f.RigDataBits;
    if (f.RigStopBits) s.RigStopBits = *f.RigStopBits;
    if (f.ModePollString) s.ModePollString = *f.ModePollString;
    if (f.FreqPollString) s.FreqPollString = *f.FreqPollString;
    if (f.RigCommSettings) s.RigCommSettings = *f.RigCommSettings;
    if (f.RigPortNumber) s.RigPortNumber = *f.RigPortNumber;
    if (f.RigPowerLine) s.RigPowerLine = *f.RigPowerLine;
    if (f.RigPollRate) s.RigPollRate = *f.RigPollRate;
    if (f.RigType) {
        s.RigType = *f.RigType;
        program_.station.RigType = *f.RigType;
    }
    if (!f.Complete()) return;
    // A check box holds 0 or 1 (or 2, greyed); anything else ends the load.
    if (*f.ConvertToHex < 0 || *f.ConvertToHex > 2) return;
    chkConvToHex->setChecked(*f.ConvertToHex != 0);
    ChkConvHex->setChecked(*f.ConvertToHex != 0);
    if (*f.UseFrequency < 0 || *f.UseFrequency > 2) return;
    chkFrequency->setChecked(*f.UseFrequency != 0);
    setModeSourceOption(*f.RigModeSource);
    const QString freqPoll = s.FreqPollString;
    const QString modePoll = s.ModePollString;
    txtFreq->setText(freqPoll);
    txtMode->setText(modePoll);
    const QList<QListWidgetItem*> match = List1->findItems(s.RigType, Qt::MatchExactly | Qt::MatchCaseSensitive);
    List1->setCurrentItem(match.isEmpty() ? nullptr : match.front());
    if (s.RigType == u"Other") chkConvToHex->setEnabled(true);
    if (s.RigType == u"Icom") Label10->show();
    if (s.RigPortNumber < 1 || s.RigPortNumber > 10) return;
    optComm[std::size_t(s.RigPortNumber - 1)]->setChecked(true);
    const auto pick = [](QRadioButton* option, bool on) {
        if (on)
            option->setChecked(true);
        else
            ClearOption(option);
    };
    const QString baud = s.RigBaudText.trimmed();
    for (std::size_t i = 0; i < optBaud.size(); ++i) pick(optBaud[i], baud == QLatin1String(kBaudTexts[i]));
    pick(optParityOdd, s.RigParity == u"O");
    pick(optParityNone, s.RigParity == u"N");
    pick(optParityEven, s.RigParity == u"E");
    pick(optData7, s.RigDataBits == u"7");
    pick(optData8, s.RigDataBits == u"8");
    pick(optStop1, s.RigStopBits == u"1");
    pick(optStop2, s.RigStopBits == u"2");
    pick(optPowerNone, s.RigPowerLine == u"N");
    pick(optPowerRTS, s.RigPowerLine == u"R");
    pick(optPowerDTR, s.RigPowerLine == u"D");
    pick(optPollFast, s.RigPollRate == u"F");
    pick(optPollMed, s.RigPollRate == u"M");
    pick(optPollSlow, s.RigPollRate == u"S");
    pick(optReallySlow, s.RigPollRate == u"R");
}

bool RigControlfrm::SaveRigSettings() {
    QString error;
    if (platform::WriteFileAtomically(program_.WorkPath(kRigSettingsFile), RigSettingsBytes(engine_->settings),
                                      &error))
        return true;
    program_.ReportWriteFailure(error);
    return false;
}

void RigControlfrm::showReading() {
    if (!isVisible()) return;
    const QString freq = engine_->FrequencyDisplayText();
    if (!freq.isEmpty()) lblFreq->setText(freq);
    lblMode->setText(engine_->RigModeText());
    lblUnProcess->setText(engine_->ReplyDisplayText());
}

}  // namespace rig

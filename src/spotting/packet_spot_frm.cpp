#include "spotting/packet_spot_frm.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QVariant>
#include <exception>

#include "logstore/record.h"
#include "platform/colors.h"
#include "platform/key_adapter.h"
#include "platform/option_buttons.h"
#include "platform/port_map.h"
#include "platform/same_text.h"
#include "platform/serial_port.h"
#include "platform/text_file.h"
#include "platform/twips.h"
#include "program/main_window_proxy.h"
#include "program/program.h"
#include "setup/resize.h"

namespace spotting {

using platform::ClearOption;
using platform::OnSelected;
using platform::SameText;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kTwoCrLf = QStringLiteral("\r\n\r\n");
const QString kNone = QStringLiteral("None");
const QString kTnc = QStringLiteral("TNC");
const QString kTelnet = QStringLiteral("Telnet");
const QString kAgw = QStringLiteral("AGW Packet Engine");
const QString kCaption = QStringLiteral("DX Spotting Setup");

const QString kAgwDownload = QStringLiteral(
    "- Download the freely available software from https://www.sv2agw.com/downloads/");
const QString kAgwRun = QStringLiteral(
    "- Run the Packet Engine software and configure it as described on the AGW Packet Engine "
    "website for your sound card or TNC.");
const QString kAgwClickOpen = QStringLiteral("- Click Open from this program.");
const QString kAgwUnable = QStringLiteral(
    "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and "
    "receive packet with your soundcard or devices such a Baypac:");

// The help blocks of the monitor, paragraph by paragraph.
const QStringList kHelpGeneral = {
    QStringLiteral("Use this form to configure your DX spotting options.  After you make your "
                   "selections, a list or band map will display on the main form (as selected "
                   "here) to keep you updated on the latest packet spots."),
    QStringLiteral("The list shows the last 2-3 posts, depending on the size of your screen.  The "
                   "band map shows the prefixes posted on the current band; rest the mouse on a "
                   "prefix to see the whole call and frequency in the tool tip or in the "
                   "Possible Duplicates box."),
    QStringLiteral("The program keeps the last 50 posts of all bands, and the band map cycles "
                   "through them as they arrive.  Posts younger than 10 minutes are yellow, 10 "
                   "to 30 minutes white and 30 to 60 minutes gray."),
    QStringLiteral("With rig control, a right click on a spot of the main form's band map or of "
                   "the HF spectrum map tunes the rig.  In list mode a right click does not "
                   "change the frequency."),
};
const QStringList kHelpTelnet = {
    QStringLiteral("Telnet: with an Internet connection, connect through your usual provider, "
                   "click Open on this form, type your call sign when prompted and press enter."),
};
const QStringList kHelpTnc = {
    QStringLiteral("TNC: check your modem's documentation for the serial settings.  Ctrl C or "
                   "Esc sends the hex character that puts the TNC into command mode, without "
                   "Enter; otherwise type your text and press enter to send it."),
    QStringLiteral("You do not need to connect to another packet station.  Tick the DX Only box "
                   "so that only DX posts are shown; recent posts are compared so that "
                   "duplicates are dropped.  Even when you are connected, the box removes "
                   "miscellaneous comments."),
};
const QStringList kHelpAgw = {
    QStringLiteral("This program also works with the AGW Packet Engine, which uses your sound "
                   "card (or a TNC, including Baypac) to send and receive packet.  To use the AGW "
                   "Packet Engine:"),
    kAgwDownload,
    QStringLiteral("The file to download is AGWPE.zip.  Instructions for use are on this website "
                   "as well."),
    kAgwRun,
    kAgwClickOpen,
    QStringLiteral("To send a connect request using the AGW packet engine, type in the format of"),
    QStringLiteral(":C Tavik     or to disconnect :D"),
    QStringLiteral("and press enter (you can also use the Esc key to add a colon)."),
};
const QStringList kHelpClosing = {
    QStringLiteral("When you have configured your DX spotting options, click Open to initiate the "
                   "communication.  Then click Done to return to the main form."),
    QStringLiteral("If the list is being displayed on the main form, you can click on it to "
                   "quickly return to this form.  To return the main form to the original "
                   "display, select None from the spotting options."),
};
const QStringList kHelpHardware = {
    QStringLiteral("This code was developed and tested with a Kantronics KPC3+ TNC.  I look "
                   "forward to hearing about your experiences with different hardware."),
};

struct SocketError {
    int number;
    const char* text;
};

const SocketError kSocketErrors[] = {
    {7, "ERROR: Out of memory."},
    {380, "ERROR: The property value is invalid."},
    {383, "ERROR: The property is read-only."},
    {394, "ERROR: The property can't be read."},
    {1004, "ERROR: The operation was canceled."},
    {10014, "ERROR: The requested address is a broadcast address, but flag is not set."},
    {10035, "ERROR: Socket is non-blocking and the specified operation will block."},
    {10036, "ERROR: A blocking Winsock operation in progress."},
    {10037, "ERROR: The operation is completed. No blocking operation in progress"},
    {10038, "ERROR: The descriptor is not a socket."},
    {10040, "ERROR: The datagram is too large to fit into the buffer and is truncated."},
    {10043, "ERROR: The specified port is not supported."},
    {10048, "ERROR: Address in use."},
    {10049, "ERROR: Address not available from the local machine."},
    {10050, "ERROR: Network subsystem failed."},
    {10051, "ERROR: The network cannot be reached from this host at this time."},
    {10052, "ERROR: Connection has timed out when SO_KEEPALIVE is set."},
    {10053, "ERROR: Connection is aborted due to timeout or other failure."},
    {10054, "ERROR: The connection is reset by remote side.!"},
    {10055, "ERROR: No buffer space is available."},
    {10056, "ERROR: Socket is already connected."},
    {10057, "ERROR: Socket is not connected."},
    {10058, "ERROR: Socket has been shut down."},
    {10060, "ERROR: Socket has been shut down."},
    {10061, "ERROR: Connection is forcefully rejected."},
    {10093, "ERROR: WinsockInit should be called first."},
    {11001, "ERROR: Authoritative answer: Host not found."},
    {11002, "ERROR: Non-Authoritative answer: Host not found."},
    {11003, "ERROR: Non-recoverable errors."},
    {11004, "ERROR: Valid name, no data record of requested type."},
};

QString Paragraphs(std::initializer_list<const QStringList*> blocks) {
    QString text;
    for (const QStringList* block : blocks)
        for (const QString& paragraph : *block) text += paragraph + kTwoCrLf;
    return text;
}

// The monitor's text as the text box shows it: every CR LF, CR or LF is one
// line break.
QString DisplayText(const QString& text) {
    QString shown = text;
    shown.replace(kCrLf, QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

void SetChecked(QRadioButton* option, bool on) {
    if (on)
        option->setChecked(true);
    else
        ClearOption(option);
}

}  // namespace

PacketSpotfrm::PacketSpotfrm(Program& program, const platform::ScreenTwips& screen)
    : feed([this](const SpotLine& spot) { PostSpot(spot); }), program_(program) {
    setWindowTitle(QStringLiteral(" DX Spotting Setup"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint);
    agw.SetLostHandler([this](int number) { AGWLost(number); });
    SetDesignClientSize(9420, 5955);
    buildControls();
    Form_Load(screen);
}

PacketSpotfrm::~PacketSpotfrm() = default;

void PacketSpotfrm::buildControls() {
    Label1 = AddLabel("Label1", "Select Option:", 120, 120, 1800, 255);
    platform::FontModel bold = Font;
    bold.Bold = true;
    SetFont(Label1, bold);
    List1 = AddListBox("List1", 120, 390, 1800, 1020);
    chkDX = AddCheckBox("chkDX", "List DX Only (also controls main form)", 120, 1500, 1860, 480);

    fraPort = AddFrame("fraPort", "Comm Port", 2040, 60, 5280, 540);
    for (int i = 0; i < 10; ++i)
        optComm[static_cast<std::size_t>(i)] =
            AddOptionButton(QStringLiteral("optComm(%1)").arg(i), QString::number(i + 1),
                            120 + static_cast<float>(i) * 510, 240, 480, 255, fraPort);
    fraBaud = AddFrame("fraBaud",
                       "Baud Rate of Com Port to TNC (not necessarily transmitted baud rate)",
                       2040, 660, 5280, 600);
    const char* bauds[] = {"1.2k", "2.4k", "4.8k", "9.6k", "14.4k", "19.2k"};
    QRadioButton** baudOptions[] = {&optBaud12, &optBaud24, &optBaud48,
                                    &optBaud96, &optBaud144, &optBaud192};
    const char* baudNames[] = {"optBaud12", "optBaud24", "optBaud48",
                               "optBaud96", "optBaud144", "optBaud192"};
    for (int i = 0; i < 6; ++i)
        *baudOptions[i] = AddOptionButton(baudNames[i], bauds[i], 120 + static_cast<float>(i) * 840,
                                          270, 800, 255, fraBaud);
    fraParity = AddFrame("fraParity", "Parity", 2040, 1320, 2100, 600);
    optParityOdd = AddOptionButton("optParityOdd", "Odd", 120, 270, 600, 255, fraParity);
    optParityNone = AddOptionButton("optParityNone", "None", 740, 270, 660, 255, fraParity);
    optParityEven = AddOptionButton("optParityEven", "Even", 1420, 270, 640, 255, fraParity);
    fraData = AddFrame("fraData", "Data Bits", 4200, 1320, 1260, 600);
    optData7 = AddOptionButton("optData7", "7", 120, 270, 500, 255, fraData);
    optData8 = AddOptionButton("optData8", "8", 660, 270, 500, 255, fraData);
    fraStop = AddFrame("fraStop", "Stop Bits", 5520, 1320, 1800, 600);
    optStop1 = AddOptionButton("optStop1", "1", 120, 270, 500, 255, fraStop);
    optStop2 = AddOptionButton("optStop2", "2", 660, 270, 500, 255, fraStop);
    fraPower = AddFrame("fraPower", "Connection Power", 2040, 1980, 2100, 780);
    optPowerNone = AddOptionButton("optPowerNone", "None", 120, 270, 660, 255, fraPower);
    optPowerRTS = AddOptionButton("optPowerRTS", "RTS", 800, 270, 600, 255, fraPower);
    optPowerDTR = AddOptionButton("optPowerDTR", "DTR", 1420, 270, 640, 255, fraPower);
    Frame1 = AddFrame("Frame1", "Handshaking", 4200, 1980, 3120, 780);
    Option1 = AddOptionButton("Option1", "None", 120, 240, 1400, 255, Frame1);
    Option2 = AddOptionButton("Option2", "Xon Xoff", 1560, 240, 1400, 255, Frame1);
    Option3 = AddOptionButton("Option3", "RTS", 120, 495, 1400, 255, Frame1);
    Option4 = AddOptionButton("Option4", "RTS OnOff", 1560, 495, 1400, 255, Frame1);

    cmdDone = AddCommandButton("cmdDone", "&Done", 7560, 120, 1680, 420);
    SetFont(cmdDone, bold);
    Command1 = AddCommandButton("Command1", "Open Port", 7560, 660, 1680, 420);
    Command2 = AddCommandButton("Command2", "Close Port", 7560, 1200, 1680, 420);
    Label4 = AddLabel("Label4", "Listening", 7560, 1800, 1680, 300);
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setAutoFillBackground(true);
    QPalette listening = Label4->palette();
    listening.setColor(QPalette::Window, QColor(0, 0, 255));
    listening.setColor(QPalette::WindowText, QColor(255, 255, 255));
    Label4->setPalette(listening);
    Label4->hide();

    Label2 = AddLabel("Label2", "TNC cmd mode hex character:", 120, 2880, 2520, 255);
    txtHex = AddTextBox("txtHex", QString(), 2640, 2850, 420, 285);
    txtHex->setMaxLength(2);
    Label7 = AddLabel("Label7", "Telnet Host:", 3180, 2880, 1020, 255);
    txtTelnetHost = AddTextBox("txtTelnetHost", QString(), 4200, 2850, 1800, 285);
    Label3 = AddLabel("Label3", "Telnet Port:", 3180, 3240, 1020, 255);
    txtTelnetPort = AddTextBox("txtTelnetPort", QString(), 4200, 3210, 900, 285);
    txtTelnetPort->setMaxLength(5);
    Frame2 = AddFrame("Frame2", "Main Form Display", 6120, 2820, 3120, 660);
    OptList = AddOptionButton("OptList", "List", 120, 300, 1200, 255, Frame2);
    OptBand = AddOptionButton("OptBand", "Band Map", 1440, 300, 1560, 255, Frame2);
    OptBand->setChecked(true);
    chkConvToHex = AddCheckBox("chkConvToHex", "Convert to Hex", 120, 3240, 1800, 255);
    chkConvToHex->hide();
    chkConvToHex->setEnabled(false);

    Line1 = AddLine("Line1", 0, 3600, 9420, 3600);
    txtUnProcessed = AddMultiLineTextBox("txtUnProcessed", QString(), 120, 3720, 9180, 1620);
    txtUnProcessed->setReadOnly(true);
    platform::FontModel courier;
    courier.Name = QStringLiteral("Courier New");
    courier.Size = 9;
    SetFont(txtUnProcessed, courier);
    QPalette navy = txtUnProcessed->palette();
    navy.setColor(QPalette::Base, QColor(0, 0, 128));
    navy.setColor(QPalette::Text, QColor(255, 255, 255));
    txtUnProcessed->setPalette(navy);

    Label6 = AddLabel("Label6", "Send text  (Ctrl  C or Esc for TNC Command mode):", 120, 5490,
                      4320, 255);
    txtSent = AddTextBox("txtSent", QString(), 4440, 5460, 3480, 315);
    platform::FontModel arial;
    arial.Name = QStringLiteral("Arial");
    arial.Size = 9;
    arial.Bold = true;
    SetFont(txtSent, arial);
    Command3 = AddCommandButton("Command3", "&Spot Last", 8040, 5400, 1260, 420);
    Timer1 = AddTimer("Timer1", 333);

    connect(List1, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(txtSent, &QLineEdit::textChanged, this, [this] { txtSent_Change(); });
    connect(chkDX, &QCheckBox::toggled, this, [this](bool on) { feed.listDxOnly = on; });
    for (QRadioButton* option : optComm) OnSelected(option, [this] { OptionChanged(); });
    for (QRadioButton* option :
         {optBaud12, optBaud24, optBaud48, optBaud96, optBaud144, optBaud192, optParityOdd,
          optParityNone, optParityEven, optData7, optData8, optStop1, optStop2, optPowerNone,
          optPowerRTS, optPowerDTR, Option1, Option2, Option3, Option4})
        OnSelected(option, [this] { OptionChanged(); });
    connect(&Winsock1, &platform::TcpLink::DataArrival, this, [this] { Winsock1_DataArrival(); });
    connect(&Winsock1, &platform::TcpLink::Error, this, [this](int number) { Winsock1_Error(number); });
    connect(&Winsock1, &platform::TcpLink::Connected, this, [this] { Label4->show(); });

    keys_ = new platform::KeyAdapter(this);
    keys_->SetKeyPreview({.keyDown = [this](int& KeyCode, int& Shift) { Form_KeyDown(KeyCode, Shift); }});
    keys_->Attach(txtSent, {.keyPress = [this](int& KeyAscii) { txtSent_KeyPress(KeyAscii); }});

    // The design state: port 1, 19.2k, no parity, 8 data bits, 1 stop bit,
    // no power, no handshaking. The handlers are not wired to close anything
    // yet: nothing is open.
    LoadingSpotSettings = 1;
    optComm[0]->setChecked(true);
    optBaud192->setChecked(true);
    optParityNone->setChecked(true);
    optData8->setChecked(true);
    optStop1->setChecked(true);
    optPowerNone->setChecked(true);
    Option1->setChecked(true);
    LoadingSpotSettings = 0;
}

// ---------------------------------------------------------------------------
// Load, settings and the controls per source.

void PacketSpotfrm::Form_Load(const platform::ScreenTwips& screen) {
    setup::ScaleToArea(*this, screen.size, screen.size.width(), 2);
    Top = 2;
    setup::KeepInWorkArea(*this, screen.workArea);
    for (const QString& source : {kNone, kTnc, kTelnet, kAgw}) List1->addItem(source);
    DisableSpotOptions();
    LoadingSpotSettings = 1;
    LoadPacketPrefs();
    LoadingSpotSettings = 0;
}

void PacketSpotfrm::LoadPacketPrefs() {
    try {
        std::optional<QByteArray> bytes =
            platform::ReadWholeFile(program_.WorkPath(QString::fromLatin1(kSpotSettingsFile)));
        if (!bytes) return;
        logstore::RecordReader reader(std::move(*bytes));
        auto text = [&reader]() {
            std::optional<QString> value = reader.ReadText();
            if (!value) throw std::runtime_error("short file");
            return platform::FromSettingsText(*value);
        };
        auto number = [&reader]() {
            std::optional<logstore::RecordReader::Number> value = reader.ReadNumber();
            if (!value || !value->numeric) throw std::runtime_error("not a number");
            return value->value;
        };
        SpotBaud = text();
        SpotParity = text();
        SpotDataBits = text();
        SpotStopBits = text();
        const double port = number();
        // A port outside 1..10 (0 in a file saved before a TNC was ever
        // opened) is read as port 1, so the rest of the settings still load.
        SpotCommPort = port >= 1 && port <= 10 ? static_cast<std::uint8_t>(std::lround(port)) : 1;
        SpotPower = text();
        SpotSource = text();
        const double convert = number();
        const double handshake = number();
        SpotHandshake = handshake >= 0 && handshake <= 255 ? static_cast<std::uint8_t>(std::lround(handshake)) : 0;
        number();  // "List DX Only" is saved but always starts clear
        const QString listFlag = text();
        bool list = false;
        if (SameText(listFlag, QLatin1StringView("#TRUE#")))
            list = true;
        else if (!SameText(listFlag, QLatin1StringView("#FALSE#"))) {
            const std::optional<double> value = logstore::ParseNumber(QStringView(listFlag));
            if (!value) return;
            list = *value != 0;
        }
        const QString hex = text();
        const QString telnetPort = text();
        const QString telnetHost = text();

        chkConvToHex->setChecked(convert != 0);
        if (list) OptList->setChecked(true);
        txtHex->setText(hex);
        txtTelnetPort->setText(telnetPort);
        txtTelnetHost->setText(telnetHost);
        for (int i = 0; i < List1->count(); ++i)
            if (SameText(List1->item(i)->text(), SpotSource)) List1->setCurrentRow(i);
        optComm[static_cast<std::size_t>(SpotCommPort - 1)]->setChecked(true);
        const QString baud = SpotBaud.trimmed();
        SetChecked(optBaud12, baud == u"1200");
        SetChecked(optBaud24, baud == u"2400");
        SetChecked(optBaud48, baud == u"4800");
        SetChecked(optBaud96, baud == u"9600");
        SetChecked(optBaud144, baud == u"14400");
        SetChecked(optBaud192, baud == u"19200");
        SetChecked(optParityOdd, SameText(SpotParity, QLatin1StringView("O")));
        SetChecked(optParityNone, SameText(SpotParity, QLatin1StringView("N")));
        SetChecked(optParityEven, SameText(SpotParity, QLatin1StringView("E")));
        SetChecked(optData7, SpotDataBits == u"7");
        SetChecked(optData8, SpotDataBits == u"8");
        SetChecked(optStop1, SpotStopBits == u"1");
        SetChecked(optStop2, SpotStopBits == u"2");
        SetChecked(optPowerNone, SameText(SpotPower, QLatin1StringView("N")));
        SetChecked(optPowerRTS, SameText(SpotPower, QLatin1StringView("R")));
        SetChecked(optPowerDTR, SameText(SpotPower, QLatin1StringView("D")));
        switch (SpotHandshake) {
        case 1: Option1->setChecked(true); break;
        case 2: Option2->setChecked(true); break;
        case 3: Option3->setChecked(true); break;
        case 4: Option4->setChecked(true); break;
        default: break;
        }
        LoadingSpotSettings = 0;
        if (isTnc()) EnableTNCOptions();
        if (isTelnet()) EnableTelnetOptions();
        if (isAgw()) EnableAGWOptions();
        if (!isNone()) Command1_Click();
    } catch (const std::exception&) {
        // The values read so far stay; nothing more is applied.
    }
}

void PacketSpotfrm::SavePacketPrefs() {
    const int port = SpotCommPort >= 1 && SpotCommPort <= 10 ? SpotCommPort : 1;
    QString text;
    text += logstore::RecordWriter().Text(SpotBaud).Line();
    text += logstore::RecordWriter().Text(SpotParity).Line();
    text += logstore::RecordWriter().Text(SpotDataBits).Line();
    text += logstore::RecordWriter().Text(SpotStopBits).Line();
    text += logstore::RecordWriter().Integer(port).Line();
    text += logstore::RecordWriter().Text(SpotPower).Line();
    text += logstore::RecordWriter().Text(SpotSource).Line();
    text += logstore::RecordWriter().Integer(chkConvToHex->isChecked() ? 1 : 0).Line();
    text += logstore::RecordWriter().Integer(SpotHandshake).Line();
    text += logstore::RecordWriter().Integer(chkDX->isChecked() ? 1 : 0).Line();
    text += (OptList->isChecked() ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#")) + kCrLf;
    // What the operator typed is kept whole, whatever its characters.
    for (const QLineEdit* box : {txtHex, txtTelnetPort, txtTelnetHost})
        text += logstore::RecordWriter().Text(platform::ToSettingsText(box->text())).Line();
    QString error;
    if (!platform::WriteFileAtomically(program_.WorkPath(QString::fromLatin1(kSpotSettingsFile)),
                                       platform::EncodeAnsi(text), &error))
        program_.ReportWriteFailure(error);
}

bool PacketSpotfrm::isTnc() const { return SameText(SpotSource, kTnc); }
bool PacketSpotfrm::isTelnet() const { return SameText(SpotSource, kTelnet); }
bool PacketSpotfrm::isAgw() const { return SameText(SpotSource, kAgw); }
bool PacketSpotfrm::isNone() const { return SameText(SpotSource, kNone); }

void PacketSpotfrm::setSerialControlsEnabled(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{Label2, txtHex, fraPort, fraBaud, fraParity,
                                                      fraData, fraStop, fraPower, Frame1})
        w->setEnabled(enabled);
}

void PacketSpotfrm::DisableSpotOptions() {
    for (QWidget* w : std::initializer_list<QWidget*>{Frame2, chkDX, Label6, txtSent, Command1,
                                                      Command2, Label7, txtTelnetHost, Label3,
                                                      txtTelnetPort, chkConvToHex})
        w->setEnabled(false);
    setSerialControlsEnabled(false);
}

namespace {
void EnableCommon(std::initializer_list<QWidget*> widgets) {
    for (QWidget* w : widgets) w->setEnabled(true);
}
}  // namespace

void PacketSpotfrm::EnableTNCOptions() {
    EnableCommon({Frame2, chkDX, Label6, txtSent, Command1, Command2});
    setSerialControlsEnabled(true);
}

void PacketSpotfrm::EnableTelnetOptions() {
    EnableCommon({Frame2, chkDX, Label6, txtSent, Command1, Command2, Label7, txtTelnetHost, Label3,
                  txtTelnetPort});
}

void PacketSpotfrm::EnableAGWOptions() {
    EnableCommon({Frame2, chkDX, Label6, txtSent, Command1, Command2});
}

void PacketSpotfrm::ShowSpotHelp() {
    const QString source = List1->currentItem() ? List1->currentItem()->text() : QString();
    QString help;
    if (SameText(source, kNone))
        help = Paragraphs({&kHelpGeneral, &kHelpTelnet, &kHelpTnc, &kHelpAgw, &kHelpClosing,
                           &kHelpHardware});
    else if (SameText(source, kTnc))
        help = Paragraphs({&kHelpTnc, &kHelpClosing, &kHelpHardware});
    else if (SameText(source, kTelnet))
        help = Paragraphs({&kHelpTelnet, &kHelpClosing});
    else if (SameText(source, kAgw))
        help = Paragraphs({&kHelpAgw, &kHelpClosing, &kHelpHardware});
    feed.monitor.Replace(help);
    // Shown at once, from its start: a redraw still due would scroll it.
    monitorView_.Cancel();
    txtUnProcessed->setPlainText(DisplayText(help));
    QTextCursor caret = txtUnProcessed->textCursor();
    caret.setPosition(std::min(1, static_cast<int>(txtUnProcessed->document()->characterCount() - 1)));
    txtUnProcessed->setTextCursor(caret);
}

void PacketSpotfrm::List1_Click() {
    chkDX->setChecked(false);
    if (!LoadingSpotSettings) {
        Command2_Click();
        DisableSpotOptions();
        SpotSource = List1->currentItem() ? List1->currentItem()->text() : QString();
        if (isTnc()) {
            optBaud96->setChecked(true);
            optParityNone->setChecked(true);
            optData8->setChecked(true);
            optStop1->setChecked(true);
            Option3->setChecked(true);
            txtHex->setText(QStringLiteral("03"));
            EnableTNCOptions();
        }
    }
    ShowSpotHelp();
    if (isTelnet()) EnableTelnetOptions();
    if (isAgw()) EnableAGWOptions();
    if (isTnc())
        Label6->setText(QStringLiteral("Send text  (Ctrl C or Esc for TNC Command mode):"));
    else if (isAgw())
        Label6->setText(QStringLiteral("Send text (use : to send cmds such as :C Tavik or :D)"));
    else if (isTelnet())
        Label6->setText(QStringLiteral("Type text to send and press enter:"));
}

void PacketSpotfrm::OptionChanged() {
    if (!LoadingSpotSettings) Command2_Click();
}

// ---------------------------------------------------------------------------
// Opening, closing, Done and the keys.

bool PacketSpotfrm::sourceOpen() const {
    return !Label4->isHidden() || Timer1->isActive() ||
           Winsock1.State() != platform::TcpLink::sckClosed || agw.IsRegistered() ||
           agw.IsRegistering() || tncOpen();
}

void PacketSpotfrm::Command1_Click() {
    replaceMonitor(QStringLiteral("** Attempting to Open Port **") + kTwoCrLf);
    closeTnc();
    // "Listening" shows once the source reports that it is open.
    if (SpotSource.isEmpty() || isNone()) return;
    if (isVisible()) {
        if (!txtSent->isEnabled()) return;
        txtSent->setFocus();
    }
    if (isTnc())
        ReadSerialOptions();
    else if (isAgw())
        ConnectAGW();
    else if (isTelnet())
        ConnectTelnet();
}

void PacketSpotfrm::Command2_Click() {
    if (sourceOpen()) closeSource();
}

void PacketSpotfrm::closeSource() {
    Label4->hide();
    appendMonitor(kTwoCrLf + QStringLiteral("** Port Closed **"));
    TrimMonitor();
    closeTnc();
    Winsock1.Close();
    // A station connected through an engine that went away is no longer
    // connected either.
    if (!AGWConnectedCall.isEmpty()) {
        agw.PutData(AGWConnectedCall, {}, 'd');
        setWindowTitle(kCaption);
        AGWConnectedCall.clear();
    }
    agw.Close();
    Timer1->stop();
}

void PacketSpotfrm::ReadSerialOptions() {
    if (isNone()) return;
    for (std::size_t i = 0; i < optComm.size(); ++i)
        if (optComm[i]->isChecked()) {
            SpotCommPort = static_cast<std::uint8_t>(i + 1);
            break;
        }
    const std::pair<QRadioButton*, const char*> bauds[] = {
        {optBaud12, "1200"}, {optBaud24, "2400"},   {optBaud48, "4800"},
        {optBaud96, "9600"}, {optBaud144, "14400"}, {optBaud192, "19200"}};
    for (const auto& [option, rate] : bauds)
        if (option->isChecked()) {
            SpotBaud = QString::fromLatin1(rate);
            break;
        }
    if (optParityOdd->isChecked()) SpotParity = QStringLiteral("O");
    else if (optParityNone->isChecked()) SpotParity = QStringLiteral("N");
    else if (optParityEven->isChecked()) SpotParity = QStringLiteral("E");
    if (optData7->isChecked()) SpotDataBits = QStringLiteral("7");
    else if (optData8->isChecked()) SpotDataBits = QStringLiteral("8");
    if (optStop1->isChecked()) SpotStopBits = QStringLiteral("1");
    else if (optStop2->isChecked()) SpotStopBits = QStringLiteral("2");
    QString baud = SpotBaud;
    while (baud.endsWith(u' ')) baud.chop(1);
    SpotCommSettings = baud + u',' + SpotParity + u',' + SpotDataBits + u',' + SpotStopBits;
    if (optPowerNone->isChecked()) SpotPower = QStringLiteral("N");
    else if (optPowerRTS->isChecked()) SpotPower = QStringLiteral("R");
    else if (optPowerDTR->isChecked()) SpotPower = QStringLiteral("D");
    if (Option1->isChecked()) SpotHandshake = 1;
    else if (Option2->isChecked()) SpotHandshake = 2;
    else if (Option3->isChecked()) SpotHandshake = 3;
    else if (Option4->isChecked()) SpotHandshake = 4;
    if (isTnc()) OpenTNCPort();
}

void PacketSpotfrm::cmdDone_Click() {
    if (!isNone() && !SpotSource.isEmpty() && !sourceOpen()) Command1_Click();
    program_.form1().SavePref();
    SavePacketPrefs();
    program_.form1().PacketResize();
    hide();
}

void PacketSpotfrm::Command3_Click() {
    const logstore::ContactLog& log = program_.log;
    const QString call = log.row(log.QSOCount).QSOCall;
    txtSent->setText(QStringLiteral("DX Frequency in kHz ") + call);
    txtSent->setFocus();
    txtSent->setSelection(3, 16);
}

void PacketSpotfrm::Form_KeyDown(int& KeyCode, int& Shift) {
    const bool ctrlC = KeyCode == 'C' && Shift == platform::vbCtrlMask;
    if (KeyCode != platform::vbKeyEscape && !ctrlC) return;
    chkDX->setChecked(false);
    if (!sourceOpen()) Command1_Click();
    if (tncOpen() && isTnc()) {
        bool ok = false;
        const uint code = txtHex->text().trimmed().toUInt(&ok, 16);
        if (ok && code <= 0xFF) {
            writeTnc(QByteArray(1, static_cast<char>(code)));
            KeyCode = 0;
            txtSent->setFocus();
        }
    }
    if (txtSent->text().isEmpty()) txtSent->setFocus();
}

void PacketSpotfrm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
    platform::Form::changeEvent(event);
}

void PacketSpotfrm::Form_Activate() {
    if (isNone()) return;
    TrimMonitor();
    if (txtSent->isEnabled()) txtSent->setFocus();
}

void PacketSpotfrm::Form_Unload() {
    if (!AGWConnectedCall.isEmpty()) agw.PutData(AGWConnectedCall, {}, 'd');
    agw.Close();
    closeTnc();
    Winsock1.Close();
    Timer1->stop();
}

// ---------------------------------------------------------------------------
// The monitor and spots.

void PacketSpotfrm::PostSpot(const SpotLine& spot) {
    LabelUpdateTimeCounter = 0;
    QVariant call(spot.call), frequency(spot.frequency), record(spot.record);
    program_.form1().BandMapSpots(call, frequency, record);
}

void PacketSpotfrm::TrimMonitor() {
    feed.monitor.Trim();
    showMonitor();
}

void PacketSpotfrm::appendMonitor(const QString& text) {
    feed.monitor.Append(text);
    showMonitor();
}

void PacketSpotfrm::replaceMonitor(const QString& text) {
    feed.monitor.Replace(text);
    showMonitor();
}

void PacketSpotfrm::showMonitor() { monitorView_.Mark(); }

void PacketSpotfrm::redrawMonitor() {
    const QString shown = DisplayText(feed.monitor.text());
    if (txtUnProcessed->toPlainText() != shown) txtUnProcessed->setPlainText(shown);
    if (shown.size() > 2) {
        QTextCursor caret = txtUnProcessed->textCursor();
        caret.setPosition(static_cast<int>(shown.size() - 1));
        txtUnProcessed->setTextCursor(caret);
        txtUnProcessed->ensureCursorVisible();
    }
}

// ---------------------------------------------------------------------------
// Telnet.

QString PacketSpotfrm::SocketErrorText(int number) {
    for (const SocketError& e : kSocketErrors)
        if (e.number == number) return QString::fromLatin1(e.text);
    return QStringLiteral("Error number ") + QString::number(number);
}

void PacketSpotfrm::ConnectTelnet() {
    Winsock1.Close();
    const QString host = txtTelnetHost->text();
    bool ok = false;
    const int port = txtTelnetPort->text().trimmed().toInt(&ok);
    if (!ok || !Winsock1.Connect(host, port)) {
        appendMonitor(QStringLiteral("** Invalid Telnet port **") + kTwoCrLf);
        TrimMonitor();
        closeSource();
        return;
    }
    replaceMonitor(QStringLiteral("Attempting connection to: ") + Winsock1.RemoteHost() + u':' +
                   QString::number(Winsock1.RemotePort()) + kTwoCrLf);
    Timer1->start();
}

void PacketSpotfrm::SendTelnetText() {
    if (Winsock1.State() == platform::TcpLink::sckConnected) {
        Winsock1.SendData(platform::EncodeAnsi(txtSent->text() + kCrLf));
    } else {
        appendMonitor(QStringLiteral(
                          "**  Connection not yet established.  Please wait a moment and try again.") +
                      kTwoCrLf);
        TrimMonitor();
    }
}

void PacketSpotfrm::Winsock1_DataArrival() {
    try {
        const QByteArray bytes = Winsock1.GetData();
        if (bytes.isEmpty()) return;
        feed.ReceiveTelnet(platform::DecodeAnsi(bytes));
        showMonitor();
    } catch (const std::exception&) {
        // The chunk ends here; the next one is taken as usual.
    }
}

void PacketSpotfrm::Winsock1_Error(int number) {
    const QString message = SocketErrorText(number);
    Winsock1.Close();
    appendMonitor(message);
    Command2_Click();
    TrimMonitor();
    program_.dialogs().Beep();
}

// ---------------------------------------------------------------------------
// The poll and the send box.

void PacketSpotfrm::Timer1_Timer() {
    if (isTnc()) ReadTNCInput();
    if (isAgw()) PollAGW();
    LabelUpdateTimeCounter += 1;
    if (LabelUpdateTimeCounter > 360) {
        LabelUpdateTimeCounter = 0;
        Form1& proxy = program_.form1();
        if (proxy.BandMapRefresh()) proxy.DisplayBandMapLabels();
    }
}

void PacketSpotfrm::txtSent_KeyPress(int& KeyAscii) {
    if (KeyAscii == platform::vbKeyReturn) {
        if (!sourceOpen()) Command1_Click();
        if (isTnc() && tncOpen()) writeTnc(platform::EncodeAnsi(txtSent->text() + u'\r'));
        if (isTelnet()) SendTelnetText();
        if (Timer1->isActive() && isAgw()) SendAGWText();
        txtSent->clear();
    }
    if (isAgw() && KeyAscii == platform::vbKeyEscape) KeyAscii = ':';
    if (KeyAscii == platform::vbKeyEscape || KeyAscii == platform::vbKeyReturn) KeyAscii = 0;
}

void PacketSpotfrm::txtSent_Change() {
    if (inSentChange_) return;
    const QString text = txtSent->text();
    if (!Timer1->isActive() || !isAgw() || text.size() <= 70 || !text.endsWith(u' ')) return;
    inSentChange_ = true;
    txtSent->setText(text.left(text.size() - 1));
    SendAGWText();
    txtSent->clear();
    inSentChange_ = false;
}

// ---------------------------------------------------------------------------
// Packet engine.

void PacketSpotfrm::ConnectAGW() {
    const QString call = program_.station.OwnCall.trimmed();
    if (call.isEmpty()) {
        program_.dialogs().Beep();
        program_.dialogs().MsgBox(
            QStringLiteral("Please enter your call sign on the setup form to transmit!"),
            platform::vbOKOnly, QStringLiteral("Call Sign Required!"));
        return;
    }
    const QString application = program_.form1().Caption().left(50).trimmed();
    const platform::PortMap ports = platform::PortMap::Load(program_.folders.WorkingFolder);
    agw.SetEndpoint(ports.PacketEngineHost(), ports.PacketEnginePort());
    // The engine's answer comes later; the window goes on meanwhile.
    if (!agw.StartPoll(call, application, [this](int result) { AGWAnswered(result); }))
        AGWAnswered(0);
}

void PacketSpotfrm::AGWAnswered(int result) {
    if (result != 0) {
        Timer1->start();
        Label4->show();
        appendMonitor(kCrLf + QStringLiteral("** Successfully connected to AGW Packet Engine **") +
                      kTwoCrLf);
        TrimMonitor();
        return;
    }
    program_.dialogs().MsgBox(kAgwUnable + kTwoCrLf + kAgwDownload + kTwoCrLf +
                                  QStringLiteral("- Make sure the AGW Packet Engine software is "
                                                 "running and configure it as described on the "
                                                 "AGW Packet Engine website."),
                              platform::vbOKOnly,
                              QStringLiteral("Unable to connect to the AGW Packet Engine."));
    Label4->hide();
    appendMonitor(kAgwUnable + kTwoCrLf + kAgwDownload + kTwoCrLf + kAgwRun + kTwoCrLf +
                  kAgwClickOpen + kTwoCrLf);
    TrimMonitor();
    if (!isVisible()) show();
    Timer1->stop();
}

void PacketSpotfrm::AGWLost(int number) {
    // As for a socket error on Telnet: the operator is told, and the source
    // is closed, so "Listening" goes out and the poll stops.
    if (!feed.monitor.text().endsWith(kCrLf)) appendMonitor(kCrLf);
    appendMonitor(SocketErrorText(number));
    Command2_Click();
    TrimMonitor();
    program_.dialogs().Beep();
}

void PacketSpotfrm::SendAGWText() {
    const QString t = txtSent->text();
    if (t.startsWith(u':')) {
        const QString letter = t.mid(1, 1).toUpper();
        const QString target = TrimSpaces(QStringView(t).mid(2)).toString();
        if (letter == u"D") {
            if (!AGWConnectedCall.isEmpty()) agw.PutData(AGWConnectedCall, {}, 'd');
        } else if (letter == u"C") {
            const QString to = target.toUpper();
            if (to.isEmpty()) {
                program_.dialogs().MsgBox(
                    QStringLiteral("You must enter a call sign to connect to such as :C Tavik"),
                    platform::vbOKOnly, QStringLiteral("Call sign Required"));
            } else {
                agw.PutData(to, {}, 'c');
                agw.PutData(to, {}, 'P');
            }
        }
        return;
    }
    if (!AGWConnectedCall.isEmpty())
        agw.PutData(AGWConnectedCall, platform::EncodeAnsi(t + u'\r'), 'D');
}

void PacketSpotfrm::PollAGW() {
    QString call;
    QByteArray bytes;
    int kind = 0;
    int length = 0;
    if (!agw.GetData(&call, &bytes, &kind, &length)) return;
    const QString text = platform::DecodeAnsi(bytes.left(std::max(0, length)));
    feed.ShowAgwFrame(QChar(kind), call, text, AGWConnectedCall);
    showMonitor();
    if (kind == 'd' && !AGWConnectedCall.isEmpty() && SameText(call, AGWConnectedCall)) {
        program_.dialogs().Beep();
        program_.dialogs().Beep();
        appendMonitor(kCrLf + QStringLiteral("** Disconnected from ") + call +
                      QStringLiteral(" **") + kCrLf);
        TrimMonitor();
        setWindowTitle(kCaption);
        AGWConnectedCall.clear();
    }
    if (kind == 'c' && AGWConnectedCall.isEmpty()) {
        AGWConnectedCall = call;
        appendMonitor(QStringLiteral("** Connected to ") + call + QStringLiteral(" **"));
        setWindowTitle(kCaption + QStringLiteral(" - Connected to ") + call);
        TrimMonitor();
        program_.dialogs().Beep();
    }
}

}  // namespace spotting


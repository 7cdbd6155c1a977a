#pragma once
// The DX spotting window: the operator chooses where spots come from (a
// packet TNC on a serial port, a Telnet cluster, or a packet engine over its
// AGW interface), opens and closes that source, watches the raw traffic in
// the monitor and types lines to the source. Its settings live in
// PackSpot.txt. The window is created on first use, opens the saved source at
// once, and stays loaded with the source open when "&Done" hides it.
//
// The received text goes through SpotFeed (monitor, line assembly, spot
// lines); spots reach the main window through the proxy's BandMapSpots.
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/form.h"
#include "platform/frame_update.h"
#include "platform/twips.h"
#include "platform/packet_engine_client.h"
#include "platform/tcp_link.h"
#include "spotting/spot_feed.h"

class Program;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace platform {
class KeyAdapter;
class SerialPort;
}  // namespace platform

namespace spotting {

class PacketSpotfrm final : public platform::Form {
    Q_OBJECT
public:
    // Builds the window hidden and runs its load, which opens the saved
    // source.
    explicit PacketSpotfrm(Program& program,
                           const platform::ScreenTwips& screen = platform::PrimaryScreenTwips());
    ~PacketSpotfrm() override;

    // Window events.
    void Form_Load(const platform::ScreenTwips& screen);
    void Form_Activate();
    void Form_KeyDown(int& KeyCode, int& Shift);
    void Form_Unload();
    void List1_Click();
    void cmdDone_Click();
    void Command1_Click();  // "Open Port"
    void Command2_Click();  // "Close Port"
    void Command3_Click();  // "&Spot Last"
    void OptionChanged();   // any serial option selected

    // Settings and the controls per source.
    void ReadSerialOptions();
    void LoadPacketPrefs();
    void SavePacketPrefs();
    void DisableSpotOptions();
    void EnableTNCOptions();
    void EnableTelnetOptions();
    void EnableAGWOptions();
    void ShowSpotHelp();

    // The monitor and spots.
    void PostSpot(const SpotLine& spot);
    void TrimMonitor();
    // Whether the monitor control waits for its redraw: it shows the feed's
    // monitor once a frame, however fast the text comes.
    bool MonitorViewPending() const { return monitorView_.Pending(); }

    // Telnet.
    void ConnectTelnet();
    void SendTelnetText();
    void Winsock1_DataArrival();
    void Winsock1_Error(int number);
    // The text shown for a socket error number.
    static QString SocketErrorText(int number);

    // Packet TNC and the poll.
    void OpenTNCPort();
    void ReadTNCInput();
    void Timer1_Timer();
    void txtSent_KeyPress(int& KeyAscii);
    void txtSent_Change();

    // Packet engine. ConnectAGW starts the registration; the engine's answer
    // runs AGWAnswered (the success or the failure path). AGWLost runs when a
    // registered engine goes away.
    void ConnectAGW();
    void AGWAnswered(int result);
    void AGWLost(int number);
    void PollAGW();
    void SendAGWText();

    // Variables of the window.
    float LabelUpdateTimeCounter = 0;
    QString SpotSource;
    QString SpotBaud;
    QString SpotParity;
    QString SpotDataBits;
    QString SpotStopBits;
    QString SpotCommSettings;
    std::uint8_t SpotCommPort = 0;
    QString SpotPower;
    std::uint8_t SpotHandshake = 0;
    std::uint8_t LoadingSpotSettings = 0;
    QString AGWConnectedCall;
    SpotFeed feed;

    // Controls.
    QLabel* Label1 = nullptr;
    QListWidget* List1 = nullptr;
    QCheckBox* chkDX = nullptr;
    QGroupBox* fraPort = nullptr;
    std::array<QRadioButton*, 10> optComm{};
    QGroupBox* fraBaud = nullptr;
    QRadioButton* optBaud12 = nullptr;
    QRadioButton* optBaud24 = nullptr;
    QRadioButton* optBaud48 = nullptr;
    QRadioButton* optBaud96 = nullptr;
    QRadioButton* optBaud144 = nullptr;
    QRadioButton* optBaud192 = nullptr;
    QGroupBox* fraParity = nullptr;
    QRadioButton* optParityOdd = nullptr;
    QRadioButton* optParityNone = nullptr;
    QRadioButton* optParityEven = nullptr;
    QGroupBox* fraData = nullptr;
    QRadioButton* optData7 = nullptr;
    QRadioButton* optData8 = nullptr;
    QGroupBox* fraStop = nullptr;
    QRadioButton* optStop1 = nullptr;
    QRadioButton* optStop2 = nullptr;
    QGroupBox* fraPower = nullptr;
    QRadioButton* optPowerNone = nullptr;
    QRadioButton* optPowerRTS = nullptr;
    QRadioButton* optPowerDTR = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option1 = nullptr;  // handshaking "None"
    QRadioButton* Option2 = nullptr;  // "Xon Xoff"
    QRadioButton* Option3 = nullptr;  // "RTS"
    QRadioButton* Option4 = nullptr;  // "RTS OnOff"
    QGroupBox* Frame2 = nullptr;
    QRadioButton* OptList = nullptr;
    QRadioButton* OptBand = nullptr;
    QPushButton* cmdDone = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label4 = nullptr;  // "Listening"
    QLabel* Label2 = nullptr;
    QLineEdit* txtHex = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* txtTelnetHost = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtTelnetPort = nullptr;
    platform::LineControl* Line1 = nullptr;
    QPlainTextEdit* txtUnProcessed = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* txtSent = nullptr;
    QPushButton* Command3 = nullptr;
    QCheckBox* chkConvToHex = nullptr;
    QTimer* Timer1 = nullptr;
    platform::TcpLink Winsock1;
    // The TNC port, made when a TNC is first opened.
    std::unique_ptr<platform::SerialPort> comComm1;
    // The packet engine's AGW interface.
    platform::PacketEngineClient agw;

    platform::KeyAdapter& keys() { return *keys_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    // The monitor control is to show the feed's monitor text, scrolled to its
    // end: at the next frame (redrawMonitor).
    void showMonitor();
    void redrawMonitor();
    void appendMonitor(const QString& text);
    void replaceMonitor(const QString& text);
    // Whether a source is open or opening: the listening indicator, the
    // poll, the socket, the packet engine or the TNC port.
    bool sourceOpen() const;
    // Close Port's work, also for the failure paths of the opens.
    void closeSource();
    bool tncOpen() const;
    void closeTnc();
    void writeTnc(const QByteArray& bytes);
    bool isTnc() const;
    bool isTelnet() const;
    bool isAgw() const;
    bool isNone() const;
    void setSerialControlsEnabled(bool enabled);

    Program& program_;
    platform::KeyAdapter* keys_ = nullptr;
    // The text of the send box as last seen by its change handler, so that
    // setting it from that handler does not run it again.
    bool inSentChange_ = false;
    platform::FrameUpdate monitorView_{this, [this] { redrawMonitor(); }};
};

// The settings file of the spotting window, 14 values.
inline constexpr const char* kSpotSettingsFile = "PackSpot.txt";

}  // namespace spotting

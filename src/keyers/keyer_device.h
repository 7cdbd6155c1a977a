#pragma once
// The WinKeyer on a serial port, spoken in the device's own serial protocol
// (1200 baud, 8 data bits, no parity, 2 stop bits): host open and close, the
// echo test, the keying settings, characters to send, clearing the buffer and
// taking back the last character.
//
// The device echoes every character as it keys it (serial echo-back is always
// switched on in the mode byte), so the count of characters handed over and
// not yet keyed is kept here from the echoes; asking the device for its
// status on every call would cost about 9 ms a byte at 1200 baud. The status
// bytes it sends unasked when its state changes set the count to 0 when the
// device is idle or the paddles break in (which drops its buffer).
#include <QByteArray>
#include <cstdint>
#include <functional>
#include <memory>

namespace platform {
class SerialPort;
}

namespace keyers {

// What wk_open returns.
enum WinKeyOpenResult : int {
    kWkSuccess = 0,
    kWkNoEchoResponse = -1,
    kWkEchoMismatch = -2,
    kWkNoOpenResponse = -3,
    kWkComOpenFailed = -4,
    kWkGetComStFailed = -5,
    kWkSetComStFailed = -6,
    kWkAlreadyOpen = -8,
    kWkNotOpen = -9,
};

// The status text of an open result; empty for a code without one.
QString WinKeyOpenStatusText(int code);

class KeyerDevice {
public:
    using PortFactory = std::function<std::unique_ptr<platform::SerialPort>()>;
    // `newPort` makes the serial port the device is opened on.
    explicit KeyerDevice(PortFactory newPort);
    ~KeyerDevice();
    KeyerDevice(const KeyerDevice&) = delete;
    KeyerDevice& operator=(const KeyerDevice&) = delete;

    // Opens the device on serial port `port`: the echo test, then host open,
    // whose answer is the device's version (into `version`, left 0 when no
    // device answered). One of the WinKeyOpenResult codes.
    int wk_open(std::uint8_t& version, std::uint8_t port);
    // Host close and the port closed; nothing when the device is closed.
    void wk_close();
    // The settings; nothing is sent while the device is closed.
    void wk_wpm(std::uint8_t wpm);
    void wk_weight(std::uint8_t weight);
    void wk_ptt_leadtail(std::uint8_t leadIn, std::uint8_t tail);
    void wk_ditdah_ratio(std::uint8_t ratio);
    void wk_pincfg(std::uint8_t pinConfig);
    void wk_setmode(std::uint8_t mode);
    // Hands one character to the device. Only printable characters (0x20 to
    // 0x7E) are sent: any other byte would be taken as a command.
    void wk_char(std::uint8_t code);
    // The characters handed over and not yet keyed, read from the echoes
    // received so far; 0 while the device is closed.
    int wk_getstatus();
    // The device drops every character not yet keyed.
    void wk_clearbuf();
    // The device drops the last character not yet keyed.
    void wk_backspace();

    bool IsOpen() const { return open_; }
    // How many characters the device has keyed since it was opened; moves on
    // with every echo read by wk_getstatus.
    std::int64_t Keyed() const { return keyed_; }

    // How long the open waits for each answer of the device.
    static constexpr int kAnswerTimeoutMs = 1000;

private:
    void Send(const QByteArray& bytes);
    void ReadAnswers();
    // The next byte the device sends, waiting up to kAnswerTimeoutMs of real
    // time; -1 when none comes.
    int NextByte();
    void Fail();

    PortFactory newPort_;
    std::unique_ptr<platform::SerialPort> port_;
    bool open_ = false;
    QByteArray pending_;  // received and not yet taken by the open
    int unsent_ = 0;
    std::int64_t keyed_ = 0;
};

}  // namespace keyers

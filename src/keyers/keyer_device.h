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
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

namespace platform {
class Clock;
class SerialPort;
}  // namespace platform

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
    // The open's answer: one of the WinKeyOpenResult codes and the device's
    // version (0 when no device answered).
    using OpenAnswer = std::function<void(int code, std::uint8_t version)>;
    // `newPort` makes the serial port the device is opened on; `clock`
    // times the waits for the device's answers.
    KeyerDevice(PortFactory newPort, platform::Clock& clock);
    ~KeyerDevice();
    KeyerDevice(const KeyerDevice&) = delete;
    KeyerDevice& operator=(const KeyerDevice&) = delete;

    // Starts opening the device on serial port `port`: the echo test, then
    // host open, whose answer is the device's version. The answers are read
    // as they arrive, from timers, each waited for at most kAnswerTimeoutMs
    // on the clock, so the thread goes on meanwhile. `answered` runs once:
    // at once for a device already open (or opening) or a port that will
    // not open, else from a later event once the device has answered or the
    // wait has run out.
    void wk_open(std::uint8_t port, OpenAnswer answered);
    // Whether an open is under way.
    bool Opening() const { return static_cast<bool>(answered_); }
    // Host close and the port closed; nothing when the device is closed. An
    // open under way ends here, without its answer.
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

    // How long the open waits for each answer of the device, and how often
    // it looks at the port meanwhile.
    static constexpr int kAnswerTimeoutMs = 1000;
    static constexpr int kLookMs = 2;

private:
    void Send(const QByteArray& bytes);
    void ReadAnswers();
    // The open's steps: the echo's answer, host open's answer.
    void EchoAnswered(int echo);
    void HostOpenAnswered(int answer);
    // Waits for the next byte the device sends and hands it to `step`, or
    // -1 when none came within kAnswerTimeoutMs.
    void AwaitByte(void (KeyerDevice::*step)(int));
    void LookForByte(std::uint64_t wait);
    void TakeByte(std::uint64_t wait, int byte);
    // Ends the open with its answer; the port is closed unless it succeeded.
    void EndOpen(int code, std::uint8_t version = 0);
    void Fail();

    PortFactory newPort_;
    platform::Clock& clock_;
    std::unique_ptr<platform::SerialPort> port_;
    bool open_ = false;
    OpenAnswer answered_;  // set while an open is under way
    // The context of the open's timers, one for each open: none fires once
    // the open has ended or the device is gone.
    std::unique_ptr<QObject> openTimers_;
    // The wait for a byte that is under way; a timer of an earlier one does
    // nothing.
    std::uint64_t wait_ = 0;
    void (KeyerDevice::*awaiting_)(int) = nullptr;
    QByteArray pending_;  // received and not yet taken by the open
    int unsent_ = 0;
    std::int64_t keyed_ = 0;
};

}  // namespace keyers

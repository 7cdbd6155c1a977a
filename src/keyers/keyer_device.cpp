#include "keyers/keyer_device.h"

#include <QString>
#include <QTimer>
#include <initializer_list>
#include <utility>

#include "platform/clock.h"
#include "platform/serial_port.h"

namespace keyers {

namespace {

// Commands of the device.
constexpr char kAdmin = 0x00;
constexpr char kAdminHostOpen = 0x02;
constexpr char kAdminHostClose = 0x03;
constexpr char kAdminEcho = 0x04;
constexpr char kSetSpeed = 0x02;
constexpr char kSetWeight = 0x03;
constexpr char kSetPttLeadTail = 0x04;
constexpr char kBackspace = 0x08;
constexpr char kSetPinConfig = 0x09;
constexpr char kClearBuffer = 0x0A;
constexpr char kSetMode = 0x0E;
constexpr char kSetRatio = 0x17;
// The mode byte's serial echo-back bit.
constexpr std::uint8_t kModeSerialEcho = 0x04;
// The byte the echo test sends.
constexpr char kEchoProbe = 0x55;
// A status byte, 11xxxxxx, and its break-in and busy bits.
constexpr std::uint8_t kStatusMask = 0xC0;
constexpr std::uint8_t kStatusByte = 0xC0;
constexpr std::uint8_t kStatusBreakIn = 0x02;
constexpr std::uint8_t kStatusBusy = 0x04;

QByteArray Bytes(std::initializer_list<char> bytes) {
    return QByteArray(bytes.begin(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

QString WinKeyOpenStatusText(int code) {
    switch (code) {
    case kWkSuccess: return QStringLiteral("WK Success!");
    case kWkNoEchoResponse: return QStringLiteral("No Echo Response");
    case kWkEchoMismatch: return QStringLiteral("Echo Mismatch");
    case kWkNoOpenResponse: return QStringLiteral("No Open Response");
    case kWkComOpenFailed: return QStringLiteral("Com Open Failed");
    case kWkGetComStFailed: return QStringLiteral("Get Com ST Failed");
    case kWkSetComStFailed: return QStringLiteral("Set Com ST Failed");
    case kWkAlreadyOpen: return QStringLiteral("WK Already Open");
    case kWkNotOpen: return QStringLiteral("WK Not Open");
    default: return {};
    }
}

KeyerDevice::KeyerDevice(PortFactory newPort, platform::Clock& clock)
    : newPort_(std::move(newPort)), clock_(clock) {}

KeyerDevice::~KeyerDevice() { wk_close(); }

void KeyerDevice::wk_open(std::uint8_t port, OpenAnswer answered) {
    if (open_ || Opening()) {
        answered(kWkAlreadyOpen, 0);
        return;
    }
    if (port == 0) {
        answered(kWkComOpenFailed, 0);
        return;
    }
    port_ = newPort_();
    port_->SetPortNumber(port);
    port_->SetSettings(QStringLiteral("1200,N,8,2"));
    QString error;
    if (!port_->Open(&error)) {
        port_.reset();
        answered(kWkComOpenFailed, 0);
        return;
    }
    // The device takes its power for the interface from DTR.
    port_->SetDtr(true);
    port_->SetRts(false);
    port_->DiscardInput();
    pending_.clear();
    answered_ = std::move(answered);
    openTimers_ = std::make_unique<QObject>();

    Send(Bytes({kAdmin, kAdminEcho, kEchoProbe}));
    AwaitByte(&KeyerDevice::EchoAnswered);
}

void KeyerDevice::EchoAnswered(int echo) {
    if (echo < 0) {
        EndOpen(kWkNoEchoResponse);
        return;
    }
    if (echo != kEchoProbe) {
        EndOpen(kWkEchoMismatch);
        return;
    }
    Send(Bytes({kAdmin, kAdminHostOpen}));
    AwaitByte(&KeyerDevice::HostOpenAnswered);
}

void KeyerDevice::HostOpenAnswered(int answer) {
    if (answer <= 0) {
        EndOpen(kWkNoOpenResponse);
        return;
    }
    open_ = true;
    unsent_ = 0;
    keyed_ = 0;
    // Echo-back on from the start, so that the count of unsent characters
    // holds even before the program sets a mode.
    wk_setmode(0);
    EndOpen(kWkSuccess, static_cast<std::uint8_t>(answer));
}

void KeyerDevice::AwaitByte(void (KeyerDevice::*step)(int)) {
    const std::uint64_t wait = ++wait_;
    awaiting_ = step;
    clock_.SingleShot(kAnswerTimeoutMs, openTimers_.get(), [this, wait] { TakeByte(wait, -1); });
    LookForByte(wait);
}

void KeyerDevice::LookForByte(std::uint64_t wait) {
    if (wait != wait_ || !port_) return;
    pending_ += port_->Input();
    if (!pending_.isEmpty()) {
        const auto byte = static_cast<std::uint8_t>(pending_.front());
        pending_.remove(0, 1);
        TakeByte(wait, byte);
        return;
    }
    QTimer::singleShot(kLookMs, Qt::PreciseTimer, openTimers_.get(), [this, wait] { LookForByte(wait); });
}

void KeyerDevice::TakeByte(std::uint64_t wait, int byte) {
    if (wait != wait_ || !awaiting_) return;
    ++wait_;
    (this->*std::exchange(awaiting_, nullptr))(byte);
}

void KeyerDevice::EndOpen(int code, std::uint8_t version) {
    if (code != kWkSuccess) Fail();
    ++wait_;
    awaiting_ = nullptr;
    // Deleted later: this may run from one of its timers.
    if (openTimers_) openTimers_.release()->deleteLater();
    if (OpenAnswer answered = std::exchange(answered_, {})) answered(code, version);
}

void KeyerDevice::Fail() {
    if (port_) port_->Close();
    port_.reset();
    open_ = false;
}

void KeyerDevice::wk_close() {
    ++wait_;
    awaiting_ = nullptr;
    answered_ = nullptr;
    openTimers_.reset();
    if (!port_) return;
    if (open_) Send(Bytes({kAdmin, kAdminHostClose}));
    port_->Close();
    port_.reset();
    open_ = false;
    unsent_ = 0;
}

void KeyerDevice::Send(const QByteArray& bytes) {
    if (!port_) return;
    QString error;
    port_->Output(bytes, &error);
}

void KeyerDevice::wk_wpm(std::uint8_t wpm) {
    if (open_) Send(Bytes({kSetSpeed, static_cast<char>(wpm)}));
}
void KeyerDevice::wk_weight(std::uint8_t weight) {
    if (open_) Send(Bytes({kSetWeight, static_cast<char>(weight)}));
}
void KeyerDevice::wk_ptt_leadtail(std::uint8_t leadIn, std::uint8_t tail) {
    if (open_)
        Send(Bytes({kSetPttLeadTail, static_cast<char>(leadIn), static_cast<char>(tail)}));
}
void KeyerDevice::wk_ditdah_ratio(std::uint8_t ratio) {
    if (open_) Send(Bytes({kSetRatio, static_cast<char>(ratio)}));
}
void KeyerDevice::wk_pincfg(std::uint8_t pinConfig) {
    if (open_) Send(Bytes({kSetPinConfig, static_cast<char>(pinConfig)}));
}
void KeyerDevice::wk_setmode(std::uint8_t mode) {
    if (open_) Send(Bytes({kSetMode, static_cast<char>(mode | kModeSerialEcho)}));
}

void KeyerDevice::wk_char(std::uint8_t code) {
    if (!open_ || code < 0x20 || code > 0x7E) return;
    Send(QByteArray(1, static_cast<char>(code)));
    ++unsent_;
}

void KeyerDevice::ReadAnswers() {
    if (!open_) return;
    const QByteArray in = pending_ + port_->Input();
    pending_.clear();
    for (const char c : in) {
        const auto byte = static_cast<std::uint8_t>(c);
        // 11xxxxxx is a status byte: idle (not busy) or a paddle break-in
        // means the device holds nothing more to send, whatever the echoes
        // said (break-in drops its buffer). 10xxxxxx is the speed pot.
        // Anything else echoes a keyed character.
        if ((byte & kStatusMask) == kStatusByte) {
            if ((byte & kStatusBusy) == 0 || (byte & kStatusBreakIn) != 0) unsent_ = 0;
            continue;
        }
        if ((byte & 0x80) != 0) continue;
        ++keyed_;
        if (unsent_ > 0) --unsent_;
    }
}

int KeyerDevice::wk_getstatus() {
    ReadAnswers();
    return open_ ? unsent_ : 0;
}

void KeyerDevice::wk_clearbuf() {
    if (!open_) return;
    Send(QByteArray(1, kClearBuffer));
    ReadAnswers();
    unsent_ = 0;
}

void KeyerDevice::wk_backspace() {
    if (!open_) return;
    Send(QByteArray(1, kBackspace));
    ReadAnswers();
    if (unsent_ > 0) --unsent_;
}

}  // namespace keyers

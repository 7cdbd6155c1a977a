#include "rig/radio_emulator.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <algorithm>
#include <map>
#include <stdexcept>

namespace testing_support {

namespace {

// The radio's mode is kept as the Kenwood MD digit: 1 LSB, 2 USB, 3 CW,
// 4 FM, 5 AM, 6 FSK, 7 CW-R. Each protocol has its own codes for them.
const std::map<int, int> kIcomCodes = {{1, 0x00}, {2, 0x01}, {5, 0x02}, {3, 0x03}, {6, 0x04}, {4, 0x05}, {7, 0x07}};
const std::map<int, int> kYaesu5Codes = {{1, 0x00}, {2, 0x01}, {3, 0x02}, {7, 0x03}, {5, 0x04}, {4, 0x08}, {6, 0x0A}};
const std::map<int, int> kYaesuOldCodes = {{1, 0x00}, {2, 0x01}, {3, 0x02}, {7, 0x03}, {5, 0x04}, {4, 0x06}, {6, 0x08}};
const std::map<int, int> kTenTecCodes = {{5, 0}, {2, 1}, {1, 2}, {3, 3}, {4, 4}};
const std::map<int, int> kOrionCodes = {{2, 0}, {1, 1}, {3, 2}, {7, 3}, {5, 4}, {4, 5}, {6, 6}};

int codeOf(const std::map<int, int>& codes, int mode) {
    const auto it = codes.find(mode);
    return it == codes.end() ? 0 : it->second;
}

int modeOf(const std::map<int, int>& codes, int code, int keep) {
    for (const auto& [mode, c] : codes)
        if (c == code) return mode;
    return keep;
}

int bcd(int value) { return ((value / 10) << 4) | (value % 10); }
int fromBcd(int b) { return (b >> 4) * 10 + (b & 0x0F); }

}  // namespace

RadioEmulator::RadioEmulator(Protocol protocol, std::function<std::int64_t()> now)
    : protocol_(protocol), now_(std::move(now)) {
    if (!pty_.ok()) throw std::runtime_error("openpty failed");
    probe_ = ::open(pty_.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
}

RadioEmulator::~RadioEmulator() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (probe_ >= 0) ::close(probe_);
}

std::int64_t RadioEmulator::nowMs() const {
    if (now_) return now_();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::vector<RadioEmulator::Write> RadioEmulator::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

QByteArray RadioEmulator::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

void RadioEmulator::clearWrites() {
    std::lock_guard lock(mutex_);
    writes_.clear();
    received_.clear();
}

void RadioEmulator::sendToClient(const QByteArray& bytes) {
    if (bytes.isEmpty()) return;
    pty_.Write(bytes);
    // Served from the test's thread, the client reads only after Pump has
    // returned: wait until the bytes stand in its input queue.
    for (int i = 0; i < 1000 && !thread_.joinable(); ++i) {
        int queued = 0;
        ::ioctl(probe_, FIONREAD, &queued);
        if (queued >= bytes.size()) break;
        ::usleep(1000);
    }
}

void RadioEmulator::sendDueBytes() {
    const double now = double(nowMs());
    QByteArray due;
    while (!onTheLine_.empty() && onTheLine_.front().first <= now) {
        due += onTheLine_.front().second;
        onTheLine_.erase(onTheLine_.begin());
    }
    sendToClient(due);
}

QByteArray RadioEmulator::Pump(int waitMs) {
    if (!heldTail_.isEmpty()) {
        sendToClient(heldTail_);
        heldTail_.clear();
    }
    if (lineByteMs > 0) sendDueBytes();
    const QByteArray input = pty_.Read(1, waitMs);
    if (input.isEmpty()) return input;
    const std::int64_t now = nowMs();
    {
        std::lock_guard lock(mutex_);
        writes_.push_back({now, input});
        received_ += input;
    }
    if (lineByteMs > 0) {
        const double heard = double(now) + double(input.size()) * lineByteMs;
        if (double(now) < lineBusyUntil_) {
            ++collisions;
            onTheLine_.clear();
            pending_.clear();
            lineBusyUntil_ = heard;
            return input;
        }
        const bool echo = protocol_ == Protocol::Civ || protocol_ == Protocol::Civ735;
        double at = echo ? double(now) : heard;
        for (char c : answer(input)) onTheLine_.push_back({at += lineByteMs, c});
        lineBusyUntil_ = std::max(at, heard);
        sendDueBytes();
        return input;
    }
    QByteArray reply = answer(input);
    if (splitNextReply && reply.size() > 1) {
        splitNextReply = false;
        const qsizetype cut = splitAfter > 0 ? std::min<qsizetype>(splitAfter, reply.size() - 1) : reply.size() / 2;
        heldTail_ = reply.mid(cut);
        reply.truncate(cut);
    }
    sendToClient(reply);
    return input;
}

void RadioEmulator::Serve() {
    thread_ = std::thread([this] {
        while (!stop_) Pump(20);
    });
}

QByteArray RadioEmulator::answer(const QByteArray& input) {
    pending_ += input;
    QByteArray out;
    switch (protocol_) {
    case Protocol::Kenwood:
    case Protocol::FTdx9000:
    case Protocol::Orion: {
        const char end = protocol_ == Protocol::Orion ? '\r' : ';';
        for (qsizetype k; (k = pending_.indexOf(end)) >= 0;) {
            const QByteArray command = pending_.left(k);
            pending_.remove(0, k + 1);
            out += protocol_ == Protocol::Kenwood    ? kenwood(command)
                   : protocol_ == Protocol::FTdx9000 ? ftdx(command)
                                                     : orion(command);
        }
        break;
    }
    case Protocol::TenTecPanel:
        for (;;) {
            if (pending_.startsWith('*') && pending_.size() >= 7) {
                out += tenTec(pending_.left(7));
                pending_.remove(0, 7);
            } else if (pending_.startsWith('?') && pending_.size() >= 3) {
                out += tenTec(pending_.left(3));
                pending_.remove(0, 3);
            } else if (!pending_.isEmpty() && !pending_.startsWith('*') && !pending_.startsWith('?')) {
                pending_.remove(0, 1);
            } else {
                break;
            }
        }
        break;
    case Protocol::Civ:
    case Protocol::Civ735:
        for (;;) {
            const qsizetype start = pending_.indexOf(QByteArray("\xFE\xFE"));
            if (start < 0) {
                pending_.clear();
                break;
            }
            const qsizetype fd = pending_.indexOf('\xFD', start);
            if (fd < 0) break;
            const QByteArray frame = pending_.mid(start, fd - start + 1);
            pending_.remove(0, fd + 1);
            out += frame;  // the bus echo
            out += civ(frame);
        }
        break;
    case Protocol::Yaesu5:
    case Protocol::YaesuOld:
        while (pending_.size() >= 5) {
            const QByteArray block = pending_.left(5);
            pending_.remove(0, 5);
            out += protocol_ == Protocol::Yaesu5 ? yaesu5(block) : yaesuOld(block);
        }
        break;
    }
    return out;
}

QByteArray RadioEmulator::kenwood(const QByteArray& c) {
    char text[64];
    const auto isDigits = [](const QByteArray& s) {
        for (char ch : s)
            if (ch < '0' || ch > '9') return false;
        return !s.isEmpty();
    };
    if (c == "FA" || c == "FB") {
        std::snprintf(text, sizeof text, "%s%011lld;", c.constData(), frequencyHz.load());
        return text;
    }
    if ((c.startsWith("FA") || c.startsWith("FB")) && isDigits(c.mid(2))) {
        frequencyHz = c.mid(2).toLongLong();
        return {};
    }
    if (c == "MD") return "MD" + QByteArray::number(mode.load()) + ";";
    if (c.startsWith("MD") && isDigits(c.mid(2))) {
        mode = c.mid(2).toInt();
        return {};
    }
    if (c == "IF") {
        std::snprintf(text, sizeof text, "IF%011lld0000+00000000000%d%d000000;", frequencyHz.load(), mode.load(),
                      vfo.load());
        return text;
    }
    if (c == "ID") return "ID019;";
    if (c == "AI") return "AI0;";
    if (c == "FR" || c == "FT") return c + QByteArray::number(vfo.load()) + ";";
    if (c == "PS") return "PS1;";
    if (c == "FV") return "FV1.00;";
    if (c.startsWith("AI") || c.startsWith("FR") || c.startsWith("FT") || c.startsWith("PS")) return {};
    return "?;";
}

QByteArray RadioEmulator::ftdx(const QByteArray& c) {
    char text[64];
    if (c == "FA") {
        std::snprintf(text, sizeof text, "FA%08lld;", frequencyHz.load());
        return text;
    }
    if (c.startsWith("FA") && c.size() > 2) {
        frequencyHz = c.mid(2).toLongLong();
        return {};
    }
    if (c == "MD0") return "MD0" + QByteArray::number(mode.load()) + ";";
    if (c.startsWith("MD0") && c.size() == 4) {
        mode = c.mid(3).toInt();
        return {};
    }
    if (c == "ID") return "ID0101;";
    if (c == "AI") return "AI0;";
    if (c.startsWith("AI")) return {};
    return "?;";
}

QByteArray RadioEmulator::orion(const QByteArray& c) {
    if (c == "?AF") return "@AF" + QByteArray::number(frequencyHz.load()) + "\r";
    if (c == "?RMM") return "@RMM" + QByteArray::number(codeOf(kOrionCodes, mode)) + "\r";
    if (c.startsWith("*AF")) {
        // The logger sends MHz with a decimal point, plain numbers are Hz.
        const QByteArray value = c.mid(3);
        frequencyHz = value.contains('.') ? llround(value.toDouble() * 1e6) : value.toLongLong();
        return {};
    }
    return {};  // "X": the radio's start-up, nothing to answer
}

QByteArray RadioEmulator::tenTec(const QByteArray& c) {
    const long long hz = frequencyHz;
    if (c == "?A\r") {
        QByteArray r("A");
        for (int shift = 24; shift >= 0; shift -= 8) r += char((hz >> shift) & 0xFF);
        return r + "\r";
    }
    if (c == "?M\r") return QByteArray("M") + char(codeOf(kTenTecCodes, mode)) + char(codeOf(kTenTecCodes, mode)) + "\r";
    if (c.startsWith("*A")) {
        long long value = 0;
        for (int k = 2; k < 6; ++k) value = (value << 8) | static_cast<unsigned char>(c[k]);
        frequencyHz = value;
    }
    return {};
}

QByteArray RadioEmulator::civ(const QByteArray& f) {
    // FE FE to from command [data] FD
    if (f.size() < 6 || static_cast<unsigned char>(f[2]) != civAddress) return {};
    const int from = static_cast<unsigned char>(f[3]);
    const int command = static_cast<unsigned char>(f[4]);
    const QByteArray data = f.mid(5, f.size() - 6);
    QByteArray head;
    head += '\xFE';
    head += '\xFE';
    head += char(from);
    head += char(civAddress);
    const int digitsBytes = protocol_ == Protocol::Civ735 ? 4 : 5;
    if (command == 0x03 && data.isEmpty()) {
        QByteArray r = head + char(0x03);
        long long hz = frequencyHz;
        for (int k = 0; k < digitsBytes; ++k, hz /= 100) r += char(bcd(int(hz % 100)));
        return r + '\xFD';
    }
    if (command == 0x04 && data.isEmpty()) return head + char(0x04) + char(codeOf(kIcomCodes, mode)) + char(0x01) + '\xFD';
    // A radio takes only a frequency of its own number of bytes; the
    // IC-735 refuses five as the others refuse four.
    if (command == 0x05 && data.size() == digitsBytes) {
        long long hz = 0;
        for (qsizetype k = data.size() - 1; k >= 0; --k) hz = hz * 100 + fromBcd(static_cast<unsigned char>(data[k]));
        frequencyHz = hz;
        return head + char(0xFB) + '\xFD';
    }
    if (command == 0x07) return head + char(0xFB) + '\xFD';  // VFO select
    if (command == 0x06 && !data.isEmpty()) {
        mode = modeOf(kIcomCodes, static_cast<unsigned char>(data[0]), mode);
        return head + char(0xFB) + '\xFD';
    }
    return head + char(0xFA) + '\xFD';
}

QByteArray RadioEmulator::yaesu5(const QByteArray& b) {
    const int opcode = static_cast<unsigned char>(b[4]);
    const long long tens = frequencyHz / 10;
    switch (opcode) {
    case 0x03: {
        QByteArray r;
        long long t = tens;
        char digits[4];
        for (int k = 3; k >= 0; --k, t /= 100) digits[k] = char(bcd(int(t % 100)));
        r.append(digits, 4);
        return r + char(codeOf(kYaesu5Codes, mode));
    }
    case 0x01: {
        long long t = 0;
        for (int k = 0; k < 4; ++k) t = t * 100 + fromBcd(static_cast<unsigned char>(b[k]));
        frequencyHz = t * 10;
        return {};
    }
    case 0x07:
        mode = modeOf(kYaesu5Codes, static_cast<unsigned char>(b[0]), mode);
        return {};
    case 0xE7:  // receive status
    case 0xF7:  // transmit status
        return QByteArray(1, '\0');
    case 0xBB:  // EEPROM
        return QByteArray(2, '\0');
    default:  // 00 / 80: CAT on and off, lock on and off
        return {};
    }
}

QByteArray RadioEmulator::yaesuOld(const QByteArray& b) {
    const int opcode = static_cast<unsigned char>(b[4]);
    const long long tens = frequencyHz / 10;
    switch (opcode) {
    case 0x10: {
        // A status block: band, frequency in tens of Hz (3 bytes, most
        // significant first), clarifier, flags, mode at byte 8.
        QByteArray r(16, '\0');
        if (ft1000Layout) {
            // The FT-1000 places the field half a byte later: from the low
            // digit of byte 2 to the high digit of byte 5.
            const long long field = tens << 4;
            for (int k = 0; k < 4; ++k) r[1 + k] = char((field >> (24 - 8 * k)) & 0xFF);
        } else {
            for (int k = 0; k < 3; ++k) r[1 + k] = char((tens >> (16 - 8 * k)) & 0xFF);
        }
        const int m = mode;
        r[7] = char(m == 3 ? 2 : m == 2 ? 1 : 0);
        return r;
    }
    case 0x0A: {
        long long t = 0;
        for (int k = 3; k >= 0; --k) t = t * 100 + fromBcd(static_cast<unsigned char>(b[k]));
        frequencyHz = t * 10;
        return {};
    }
    case 0x0C:
        mode = modeOf(kYaesuOldCodes, static_cast<unsigned char>(b[3]), mode);
        return {};
    default:
        return {};
    }
}

}  // namespace testing_support

#include "support/winkey_simulator.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>

namespace testing_support {

namespace {

// The status byte and its bits.
constexpr unsigned char kStatus = 0xC0;
constexpr unsigned char kBreakIn = 0x02;
constexpr unsigned char kBusy = 0x04;

// How many bytes follow each command byte (the admin command counts its
// sub-command; the echo test has one more).
int ArgumentCount(const QByteArray& command) {
    switch (static_cast<unsigned char>(command.front())) {
    case 0x00:
        if (command.size() >= 2 && command[1] == 0x04) return 2;
        return 1;
    case 0x02: case 0x03: case 0x09: case 0x0E: case 0x17: return 1;
    case 0x04: return 2;
    default: return 0;
    }
}

}  // namespace

WinKeySimulator::WinKeySimulator(int masterFd, int charMs)
    : fd_(masterFd), charMs_(charMs), thread_([this] { Run(); }) {}

WinKeySimulator::~WinKeySimulator() {
    stop_ = true;
    thread_.join();
}

QStringList WinKeySimulator::Commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

QString WinKeySimulator::Keyed() const {
    std::lock_guard lock(mutex_);
    return keyed_;
}

int WinKeySimulator::MaxWaiting() const {
    std::lock_guard lock(mutex_);
    return maxWaiting_;
}

bool WinKeySimulator::WaitForKeyed(int count, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (Keyed().size() >= count) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

void WinKeySimulator::BreakIn() {
    std::lock_guard lock(mutex_);
    buffer_.clear();
    keying_ = false;
    busy_ = false;
    Reply(static_cast<char>(kStatus | kBreakIn));
    Reply(static_cast<char>(kStatus));
}

void WinKeySimulator::Reply(char byte) {
    if (answering_) (void)::write(fd_, &byte, 1);
}

void WinKeySimulator::Take(unsigned char byte) {
    if (command_.isEmpty() && byte >= 0x20 && byte <= 0x7F) {
        buffer_.append(static_cast<char>(byte));
        maxWaiting_ = std::max(maxWaiting_, static_cast<int>(buffer_.size()) - 1);
        return;
    }
    command_.append(static_cast<char>(byte));
    if (command_.size() < 1 + ArgumentCount(command_)) return;
    const QByteArray c = command_;
    command_.clear();
    const auto arg = [&c](int i) { return static_cast<unsigned char>(c[i]); };
    switch (arg(0)) {
    case 0x00:
        if (arg(1) == 0x02 || arg(1) == 0x04)
            std::this_thread::sleep_for(std::chrono::milliseconds(openDelayMs_.load()));
        if (arg(1) == 0x02) {
            commands_ << "open";
            Reply(static_cast<char>(kVersion));
        } else if (arg(1) == 0x03) {
            commands_ << "close";
        } else if (arg(1) == 0x04) {
            Reply(c[2]);
        }
        break;
    case 0x02: commands_ << QStringLiteral("speed %1").arg(arg(1)); break;
    case 0x03: commands_ << QStringLiteral("weight %1").arg(arg(1)); break;
    case 0x04: commands_ << QStringLiteral("leadtail %1 %2").arg(arg(1)).arg(arg(2)); break;
    case 0x08:
        commands_ << "backspace";
        if (buffer_.size() > 1) buffer_.chop(1);
        break;
    case 0x09: commands_ << QStringLiteral("pins %1").arg(arg(1)); break;
    case 0x0A:
        commands_ << "clear";
        buffer_.clear();
        break;
    case 0x0E:
        commands_ << QStringLiteral("mode %1").arg(arg(1));
        echo_ = (arg(1) & 0x04) != 0;
        break;
    case 0x17: commands_ << QStringLiteral("ratio %1").arg(arg(1)); break;
    default: commands_ << QStringLiteral("command %1").arg(arg(0)); break;
    }
}

void WinKeySimulator::Run() {
    using clock = std::chrono::steady_clock;
    clock::time_point charEnd{};
    while (!stop_) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 2) > 0 && (p.revents & POLLIN)) {
            unsigned char bytes[256];
            const ssize_t n = ::read(fd_, bytes, sizeof bytes);
            std::lock_guard lock(mutex_);
            for (ssize_t i = 0; i < n; ++i) Take(bytes[i]);
        }
        std::lock_guard lock(mutex_);
        if (!answering_ || buffer_.isEmpty()) {
            keying_ = false;
            // Emptied by keying its last character or by a clear: idle.
            if (answering_ && busy_) Reply(static_cast<char>(kStatus));
            busy_ = false;
            continue;
        }
        if (!keying_) {
            keying_ = true;
            charEnd = clock::now() + std::chrono::milliseconds(charMs_);
            if (!busy_) Reply(static_cast<char>(kStatus | kBusy));
            busy_ = true;
        } else if (clock::now() >= charEnd) {
            const char done = buffer_.front();
            buffer_.remove(0, 1);
            keyed_ += QChar::fromLatin1(done);
            keying_ = false;
            if (echo_) Reply(done);
        }
    }
}

}  // namespace testing_support

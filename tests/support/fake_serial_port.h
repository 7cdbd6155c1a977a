#pragma once
// An in-process serial port for tests that need what a pseudo-terminal
// cannot show: output that stays pending, refused opens, and every change of
// the control lines in order.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

#include <gtest/gtest.h>

#include "platform/serial_port.h"

namespace testing_support {

class FakeSerialPort final : public platform::SerialPort {
public:
    // What the test sees of the port; shared with the test by pointer, so
    // it stays readable after the window that owned the port is gone.
    struct State {
        int port = 1;
        QString settings = QStringLiteral("9600,N,8,1");
        platform::Handshaking handshaking = platform::Handshaking::None;
        bool dtr = false;
        bool rts = false;
        bool open = false;
        bool refuseOpen = false;
        QByteArray written;
        QByteArray input;
        int pendingOutput = 0;
        // "open", "close", "dtr 1", "rts 0", ... in order.
        QStringList events;
        // Runs at every OutBufferCount() call; a test may drain the queue here.
        std::function<void(State&)> onOutCount;
        // The ports that work on this state. The state must outlive them: a
        // port still open when its window goes writes to it on the way out.
        int ports = 0;

        State() = default;
        State(const State&) = delete;
        State& operator=(const State&) = delete;
        ~State() {
            if (ports != 0) ADD_FAILURE() << "a fake serial port outlives its state: declare the state first";
        }
    };
    explicit FakeSerialPort(State& state) : s_(state) { ++s_.ports; }
    ~FakeSerialPort() override { --s_.ports; }
    FakeSerialPort(const FakeSerialPort&) = delete;
    FakeSerialPort& operator=(const FakeSerialPort&) = delete;

    void SetPortNumber(int port) override { s_.port = port; }
    int PortNumber() const override { return s_.port; }
    void SetSettings(const QString& settings) override { s_.settings = settings; }
    QString Settings() const override { return s_.settings; }
    void SetHandshaking(platform::Handshaking mode) override { s_.handshaking = mode; }
    platform::Handshaking GetHandshaking() const override { return s_.handshaking; }
    void SetDtr(bool on) override {
        s_.dtr = on;
        s_.events << QStringLiteral("dtr %1").arg(on ? 1 : 0);
    }
    bool Dtr() const override { return s_.dtr; }
    void SetRts(bool on) override {
        s_.rts = on;
        s_.events << QStringLiteral("rts %1").arg(on ? 1 : 0);
    }
    bool Rts() const override { return s_.rts; }
    bool Open(QString* error) override {
        if (s_.refuseOpen || s_.open) {
            if (error) *error = QStringLiteral("refused");
            return false;
        }
        s_.open = true;
        s_.events << QStringLiteral("open");
        return true;
    }
    void Close() override {
        if (!s_.open) return;
        s_.open = false;
        s_.events << QStringLiteral("close");
    }
    bool IsOpen() const override { return s_.open; }
    QByteArray Input() override {
        QByteArray in;
        if (s_.open) in.swap(s_.input);
        return in;
    }
    bool Output(const QByteArray& bytes, QString* error) override {
        if (!s_.open) {
            if (error) *error = QStringLiteral("closed");
            return false;
        }
        s_.written += bytes;
        return true;
    }
    int OutBufferCount() const override {
        if (s_.onOutCount) s_.onOutCount(s_);
        return s_.pendingOutput;
    }
    int InBufferCount() const override { return int(s_.input.size()); }
    void DiscardInput() override { s_.input.clear(); }
    QString DevicePath() const override { return QStringLiteral("/dev/fake%1").arg(s_.port); }

private:
    State& s_;
};

}  // namespace testing_support

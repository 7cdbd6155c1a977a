#pragma once
// A serial port shared by two threads: the CW keyer's thread switches its
// RTS or DTR line while the window's thread opens, closes or reads it. Every
// call is made under one lock, the one the keyer's thread holds for each
// switch, so no line is set on a port that is closing or being reopened.
#include <memory>
#include <mutex>

#include "platform/serial_port.h"

namespace keyers {

class LockedSerialPort final : public platform::SerialPort {
public:
    LockedSerialPort(std::unique_ptr<platform::SerialPort> port, std::recursive_mutex& lock)
        : port_(std::move(port)), lock_(lock) {}

    void SetPortNumber(int port) override { Locked(&SerialPort::SetPortNumber, port); }
    int PortNumber() const override { return Locked(&SerialPort::PortNumber); }
    void SetSettings(const QString& settings) override { Locked(&SerialPort::SetSettings, settings); }
    QString Settings() const override { return Locked(&SerialPort::Settings); }
    void SetHandshaking(platform::Handshaking mode) override { Locked(&SerialPort::SetHandshaking, mode); }
    platform::Handshaking GetHandshaking() const override { return Locked(&SerialPort::GetHandshaking); }
    void SetDtr(bool on) override { Locked(&SerialPort::SetDtr, on); }
    bool Dtr() const override { return Locked(&SerialPort::Dtr); }
    void SetRts(bool on) override { Locked(&SerialPort::SetRts, on); }
    bool Rts() const override { return Locked(&SerialPort::Rts); }
    bool Open(QString* error) override { return Locked(&SerialPort::Open, error); }
    void Close() override { Locked(&SerialPort::Close); }
    bool IsOpen() const override { return Locked(&SerialPort::IsOpen); }
    QByteArray Input() override { return Locked(&SerialPort::Input); }
    bool Output(const QByteArray& bytes, QString* error) override {
        return Locked(&SerialPort::Output, bytes, error);
    }
    int OutBufferCount() const override { return Locked(&SerialPort::OutBufferCount); }
    int InBufferCount() const override { return Locked(&SerialPort::InBufferCount); }
    void DiscardInput() override { Locked(&SerialPort::DiscardInput); }
    QString DevicePath() const override { return Locked(&SerialPort::DevicePath); }

private:
    template <typename R, typename... P, typename... A>
    R Locked(R (SerialPort::*call)(P...), A&&... args) {
        std::lock_guard hold(lock_);
        return ((*port_).*call)(std::forward<A>(args)...);
    }
    template <typename R, typename... P, typename... A>
    R Locked(R (SerialPort::*call)(P...) const, A&&... args) const {
        std::lock_guard hold(lock_);
        return ((*port_).*call)(std::forward<A>(args)...);
    }

    std::unique_ptr<platform::SerialPort> port_;
    std::recursive_mutex& lock_;
};

}  // namespace keyers

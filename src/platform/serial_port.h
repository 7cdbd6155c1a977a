#pragma once
// The serial port control: one port a window owns, chosen by its port number
// (COM1 is 1), with the line settings as text ("9600,N,8,1"), handshaking,
// the DTR and RTS lines, and unbuffered input and output.
//
// The DTR and RTS lines may be set while the port is closed: the wanted state
// is kept and applied right after opening (Linux raises both lines on open,
// so they are cleared first). A port without modem lines (a pseudo-terminal)
// is a port whose lines do nothing, never a failure.
//
// Output leaves at once: Output() hands every byte to the system before it
// returns. Input() is everything received and not yet read.
#include <QByteArray>
#include <QString>
#include <memory>

namespace platform {

class PortMap;

enum class Handshaking { None = 0, XonXoff = 1, RtsCts = 2, RtsCtsXonXoff = 3 };

// The parts of a settings text such as "4800,N,8,2".
struct LineSettings {
    int baud = 9600;
    char parity = 'N';  // N, E, O, M or S
    int dataBits = 8;   // 5..8
    int stopBits = 1;   // 1 or 2 ("1.5" is taken as 2)
};
// Reads a settings text; false when any part of it is not a valid value.
bool ParseLineSettings(const QString& text, LineSettings* out);

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // The port number, 1 and up; set while the port is closed.
    virtual void SetPortNumber(int port) = 0;
    virtual int PortNumber() const = 0;
    // The line settings text; checked when the port opens.
    virtual void SetSettings(const QString& settings) = 0;
    virtual QString Settings() const = 0;
    virtual void SetHandshaking(Handshaking mode) = 0;
    virtual Handshaking GetHandshaking() const = 0;

    // The control lines: set at once while open, kept for the next open.
    virtual void SetDtr(bool on) = 0;
    virtual bool Dtr() const = 0;
    virtual void SetRts(bool on) = 0;
    virtual bool Rts() const = 0;

    // Opens the port with its number, settings and handshaking. False, with
    // *error set to words an operator can act on, when the port does not
    // exist, is in use or refuses the settings; the port then stays closed.
    virtual bool Open(QString* error) = 0;
    // Closes the port (nothing when closed). The lines drop with it.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Everything received and not yet read (empty when none or closed).
    virtual QByteArray Input() = 0;
    // Sends `bytes` now. False (with *error) when the port is closed or the
    // system refuses the write.
    virtual bool Output(const QByteArray& bytes, QString* error) = 0;
    // Bytes written but not yet sent on the line.
    virtual int OutBufferCount() const = 0;
    // Bytes received and not yet read.
    virtual int InBufferCount() const = 0;
    // Drops whatever has been received and not yet read.
    virtual void DiscardInput() = 0;

    // The device path the port number stands for here (for the operator).
    virtual QString DevicePath() const = 0;
};

// A serial port on a Linux tty device, found through the port map.
std::unique_ptr<SerialPort> NewSystemSerialPort(const QString& workingFolder);

}  // namespace platform

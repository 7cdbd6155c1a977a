#include "platform/serial_port.h"

// The kernel's own termios2 gives any baud rate (14400, 28800 and 56000 are
// not among the classic Bxxx constants); <termios.h> must stay out of this
// file because it defines the same structures differently.
#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstring>

#include "platform/port_map.h"

namespace platform {

bool ParseLineSettings(const QString& text, LineSettings* out) {
    const QStringList parts = text.split(',');
    if (parts.size() != 4) return false;
    bool ok = false;
    LineSettings s;
    s.baud = parts[0].trimmed().toInt(&ok);
    if (!ok || s.baud < 50 || s.baud > 4000000) return false;
    const QString parity = parts[1].trimmed().toUpper();
    if (parity.size() != 1 || !QStringLiteral("NEOMS").contains(parity[0])) return false;
    s.parity = parity[0].toLatin1();
    s.dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || s.dataBits < 5 || s.dataBits > 8) return false;
    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1"))
        s.stopBits = 1;
    else if (stop == QLatin1String("2") || stop == QLatin1String("1.5"))
        s.stopBits = 2;
    else
        return false;
    *out = s;
    return true;
}

namespace {

QString SystemText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

// Sets or clears one modem line. A device without modem lines (a
// pseudo-terminal answers ENOTTY or EINVAL) simply has none: not an error.
void SetModemLine(int fd, int line, bool on) {
    ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

class SystemSerialPort final : public SerialPort {
public:
    explicit SystemSerialPort(QString workingFolder) : workingFolder_(std::move(workingFolder)) {}
    ~SystemSerialPort() override { Close(); }

    void SetPortNumber(int port) override { port_ = port; }
    int PortNumber() const override { return port_; }
    void SetSettings(const QString& settings) override { settings_ = settings; }
    QString Settings() const override { return settings_; }
    void SetHandshaking(Handshaking mode) override {
        handshaking_ = mode;
        if (fd_ >= 0) ApplyLineSettings(nullptr);
    }
    Handshaking GetHandshaking() const override { return handshaking_; }

    void SetDtr(bool on) override {
        dtr_ = on;
        if (fd_ >= 0) SetModemLine(fd_, TIOCM_DTR, on);
    }
    bool Dtr() const override { return dtr_; }
    void SetRts(bool on) override {
        rts_ = on;
        if (fd_ >= 0) SetModemLine(fd_, TIOCM_RTS, on);
    }
    bool Rts() const override { return rts_; }

    QString DevicePath() const override { return PortMap::Load(workingFolder_).DevicePath(port_); }

    bool Open(QString* error) override {
        if (fd_ >= 0) {
            if (error) *error = QStringLiteral("The port is already open.");
            return false;
        }
        const QString path = DevicePath();
        const QString name = QStringLiteral("COM%1 (%2)").arg(port_).arg(path);
        if (path.isEmpty()) {
            if (error) *error = QStringLiteral("Invalid port number %1.").arg(port_);
            return false;
        }
        LineSettings line;
        if (!ParseLineSettings(settings_, &line)) {
            if (error) *error = QStringLiteral("Invalid port settings \"%1\".").arg(settings_);
            return false;
        }
        const QByteArray native = QFile::encodeName(path);
        const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            const int err = errno;
            if (error) *error = name + ": " + SystemText(err);
            return false;
        }
        if (!::isatty(fd)) {
            ::close(fd);
            if (error) *error = name + QStringLiteral(" is not a serial port.");
            return false;
        }
        // Another program (or another window of ours) holding the port makes
        // it "in use", as on the platform the program comes from.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            if (error) *error = name + QStringLiteral(" is in use.");
            return false;
        }
        fd_ = fd;
        // Linux raises DTR and RTS on open: drop both at once, before the
        // line settings, then give them the wanted state.
        SetModemLine(fd_, TIOCM_DTR, false);
        SetModemLine(fd_, TIOCM_RTS, false);
        QString settingsError;
        if (!ApplyLineSettings(&settingsError)) {
            Close();
            if (error) *error = name + ": " + settingsError;
            return false;
        }
        ::ioctl(fd_, TCFLSH, TCIFLUSH);
        if (dtr_) SetModemLine(fd_, TIOCM_DTR, true);
        if (rts_) SetModemLine(fd_, TIOCM_RTS, true);
        return true;
    }

    void Close() override {
        if (fd_ < 0) return;
        // Lines dropped while bytes are still going out would cut them off
        // (the last command to a radio, through an interface powered from
        // DTR or RTS): then the hang-up on close drops the lines, once the
        // system has sent what it holds.
        int queued = 0;
        if (::ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued == 0) {
            SetModemLine(fd_, TIOCM_DTR, false);
            SetModemLine(fd_, TIOCM_RTS, false);
        }
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }

    bool IsOpen() const override { return fd_ >= 0; }

    QByteArray Input() override {
        QByteArray all;
        if (fd_ < 0) return all;
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0) {
                all.append(buffer, n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            break;
        }
        return all;
    }

    bool Output(const QByteArray& bytes, QString* error) override {
        if (fd_ < 0) {
            if (error) *error = QStringLiteral("The port is not open.");
            return false;
        }
        qsizetype done = 0;
        // The system's output queue takes a few kilobytes; a longer write
        // waits for room, but never more than two seconds in all.
        int waitedMs = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0) {
                done += n;
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN) {
                const int err = errno;
                if (error) *error = SystemText(err);
                return false;
            }
            if (waitedMs >= 2000) {
                if (error) *error = QStringLiteral("The port does not take more output.");
                return false;
            }
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, 50);
            waitedMs += 50;
        }
        return true;
    }

    int OutBufferCount() const override {
        int count = 0;
        if (fd_ < 0 || ::ioctl(fd_, TIOCOUTQ, &count) != 0) return 0;
        return count;
    }

    int InBufferCount() const override {
        int count = 0;
        if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &count) != 0) return 0;
        return count;
    }

    void DiscardInput() override {
        if (fd_ < 0) return;
        ::ioctl(fd_, TCFLSH, TCIFLUSH);
        Input();
    }

private:
    bool ApplyLineSettings(QString* error) {
        LineSettings line;
        if (!ParseLineSettings(settings_, &line)) {
            if (error) *error = QStringLiteral("Invalid port settings \"%1\".").arg(settings_);
            return false;
        }
        termios2 tio{};
        if (::ioctl(fd_, TCGETS2, &tio) != 0) {
            if (error) *error = SystemText(errno);
            return false;
        }
        tio.c_iflag = IGNBRK;
        tio.c_oflag = 0;
        tio.c_lflag = 0;
        tio.c_cflag = CREAD | CLOCAL | HUPCL | BOTHER | (BOTHER << IBSHIFT);
        switch (line.dataBits) {
            case 5: tio.c_cflag |= CS5; break;
            case 6: tio.c_cflag |= CS6; break;
            case 7: tio.c_cflag |= CS7; break;
            default: tio.c_cflag |= CS8; break;
        }
        switch (line.parity) {
            case 'E': tio.c_cflag |= PARENB; break;
            case 'O': tio.c_cflag |= PARENB | PARODD; break;
            case 'M': tio.c_cflag |= PARENB | PARODD | CMSPAR; break;
            case 'S': tio.c_cflag |= PARENB | CMSPAR; break;
            default: break;
        }
        if (line.parity != 'N') tio.c_iflag |= INPCK;
        if (line.stopBits == 2) tio.c_cflag |= CSTOPB;
        if (handshaking_ == Handshaking::RtsCts || handshaking_ == Handshaking::RtsCtsXonXoff)
            tio.c_cflag |= CRTSCTS;
        if (handshaking_ == Handshaking::XonXoff || handshaking_ == Handshaking::RtsCtsXonXoff)
            tio.c_iflag |= IXON | IXOFF;
        tio.c_ispeed = speed_t(line.baud);
        tio.c_ospeed = speed_t(line.baud);
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        if (::ioctl(fd_, TCSETS2, &tio) != 0) {
            if (error) *error = SystemText(errno);
            return false;
        }
        return true;
    }

    QString workingFolder_;
    int port_ = 1;
    QString settings_ = QStringLiteral("9600,N,8,1");
    Handshaking handshaking_ = Handshaking::None;
    bool dtr_ = false;
    bool rts_ = false;
    int fd_ = -1;
};

}  // namespace

std::unique_ptr<SerialPort> NewSystemSerialPort(const QString& workingFolder) {
    return std::make_unique<SystemSerialPort>(workingFolder);
}

}  // namespace platform

#include "platform/parallel_port.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <map>
#include <mutex>
#include <sys/ioctl.h>
#include <unistd.h>

namespace platform {

namespace {

QString Hex(std::uint16_t address) {
    return QStringLiteral("&H") + QString::number(address, 16).toUpper();
}

QString SystemText() { return QString::fromLocal8Bit(std::strerror(errno)); }

// The parallel ports of this machine through ppdev: each base address is
// mapped to its /dev/parportN once, opened and claimed on first use and kept
// until the program ends.
class PpdevParallelPort final : public ParallelPort {
public:
    PpdevParallelPort(QString procRoot, QString devRoot)
        : procRoot_(std::move(procRoot)), devRoot_(std::move(devRoot)) {}
    ~PpdevParallelPort() override {
        for (const auto& [address, fd] : open_) {
            ::ioctl(fd, PPRELEASE);
            ::close(fd);
        }
    }

    bool WriteControl(std::uint16_t baseAddress, std::uint8_t value, QString* error) override {
        // The CW keyer writes from its own thread, the voice keyer from the
        // window's.
        std::lock_guard lock(mutex_);
        const int fd = Claimed(baseAddress, error);
        if (fd < 0) return false;
        unsigned char control = value;
        if (::ioctl(fd, PPWCONTROL, &control) != 0) {
            if (error) *error = SystemText();
            return false;
        }
        return true;
    }

private:
    int Claimed(std::uint16_t baseAddress, QString* error) {
        if (const auto it = open_.find(baseAddress); it != open_.end()) return it->second;
        const std::optional<QString> device =
            ParallelDeviceFor(baseAddress, procRoot_, devRoot_);
        if (!device) {
            if (error) *error = QStringLiteral("No parallel port at address %1.").arg(Hex(baseAddress));
            return -1;
        }
        const int fd = ::open(QFile::encodeName(*device).constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            if (error) *error = *device + QStringLiteral(": ") + SystemText();
            return -1;
        }
        if (::ioctl(fd, PPCLAIM) != 0) {
            if (error) *error = *device + QStringLiteral(": ") + SystemText();
            ::close(fd);
            return -1;
        }
        open_[baseAddress] = fd;
        return fd;
    }

    QString procRoot_;
    QString devRoot_;
    std::map<std::uint16_t, int> open_;
    std::mutex mutex_;
};

}  // namespace

bool NoParallelPort::WriteControl(std::uint16_t baseAddress, std::uint8_t, QString* error) {
    if (error) *error = QStringLiteral("No parallel port at address %1.").arg(Hex(baseAddress));
    return false;
}

std::optional<QString> ParallelDeviceFor(std::uint16_t baseAddress, const QString& procRoot,
                                         const QString& devRoot) {
    const QDir ports(procRoot);
    const QStringList names =
        ports.entryList({QStringLiteral("parport*")}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    static const QRegularExpression number(QStringLiteral("^\\s*(\\d+)"));
    for (const QString& name : names) {
        QFile file(ports.filePath(name) + QStringLiteral("/base-addr"));
        if (!file.open(QIODevice::ReadOnly)) continue;
        // "888\t1912": the base address first, then the ECP registers'.
        const QRegularExpressionMatch match = number.match(QString::fromLatin1(file.readAll()));
        if (match.hasMatch() && match.captured(1).toUInt() == baseAddress)
            return devRoot + QLatin1Char('/') + name;
    }
    return std::nullopt;
}

std::unique_ptr<ParallelPort> NewSystemParallelPort(const QString& procRoot,
                                                    const QString& devRoot) {
    return std::make_unique<PpdevParallelPort>(procRoot, devRoot);
}

}  // namespace platform

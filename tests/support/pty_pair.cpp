#include "support/pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <chrono>

namespace testing_support {

PtyPair::PtyPair() {
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair() {
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
}

void PtyPair::MapAsPort(const QString& workingFolder, int port) const {
    QFile file(workingFolder + "/Ports.txt");
    QStringList lines;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& l : file.readAll().split('\n')) {
            const QString line = QString::fromLocal8Bit(l).trimmed();
            if (!line.isEmpty() && !line.startsWith(QStringLiteral("COM%1=").arg(port))) lines << line;
        }
        file.close();
    }
    lines << QStringLiteral("COM%1=%2").arg(port).arg(slavePath_);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write((lines.join("\r\n") + "\r\n").toLocal8Bit());
}

QByteArray PtyPair::Read(int atLeast, int timeoutMs) {
    QByteArray all;
    if (master_ < 0) return all;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            all.append(buffer, n);
            if (all.size() >= atLeast) {
                // Take what follows at once as well.
                continue;
            }
        }
        if (all.size() >= atLeast && n <= 0) return all;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) return all;
        pollfd p{master_, POLLIN, 0};
        ::poll(&p, 1, int(std::min<long long>(left, 20)));
    }
}

void PtyPair::Hangup() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

void PtyPair::Write(const QByteArray& bytes) {
    if (master_ < 0) return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else {
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 20);
        }
    }
    ::tcdrain(master_);
}

}  // namespace testing_support

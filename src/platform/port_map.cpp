#include "platform/port_map.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace platform {

PortMap PortMap::Load(const QString& workingFolder) {
    PortMap map;
    QFile file(workingFolder + "/Ports.txt");
    if (!file.open(QIODevice::ReadOnly)) return map;
    static const QRegularExpression comLine(QStringLiteral("^COM([0-9]{1,3})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& raw : lines) {
        const QString line = QString::fromLocal8Bit(raw).trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0) continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (value.isEmpty()) continue;
        if (key.compare(QStringLiteral("PEGASUS"), Qt::CaseInsensitive) == 0) {
            map.pegasus_ = value;
            continue;
        }
        if (key.compare(QStringLiteral("AGWPE"), Qt::CaseInsensitive) == 0) {
            const qsizetype colon = value.lastIndexOf(':');
            bool ok = false;
            const int port = value.mid(colon + 1).toInt(&ok);
            if (colon > 0 && ok && port >= 1 && port <= 65535) {
                map.agwHost_ = value.left(colon);
                map.agwPort_ = port;
            }
            continue;
        }
        const auto m = comLine.match(key);
        if (m.hasMatch()) {
            const int port = m.captured(1).toInt();
            if (port >= 1) map.devices_.insert(port, value);
        }
    }
    return map;
}

QString PortMap::DevicePath(int port) const {
    if (port < 1) return {};
    const auto it = devices_.constFind(port);
    if (it != devices_.constEnd()) return *it;
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

QString PortMap::PegasusFolder() const {
    if (!pegasus_.isEmpty()) return pegasus_;
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (!prefix.isEmpty()) return prefix + "/drive_c/Pegasus";
    return QDir::homePath() + "/.wine/drive_c/Pegasus";
}

}  // namespace platform

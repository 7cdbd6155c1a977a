#pragma once
// What the Windows port names stand for on this machine. Port n is
// /dev/ttyS<n-1> unless the working folder's Ports.txt maps it with a line
// "COMn=/dev/...". The same file may name the folder that a Windows program
// sees as c:\Pegasus with "PEGASUS=<folder>"; otherwise it is that folder in
// the Wine prefix ($WINEPREFIX/drive_c/Pegasus, else ~/.wine/drive_c/Pegasus).
// The packet engine's AGW interface is at 127.0.0.1 port 8000 unless a line
// "AGWPE=<host>:<port>" says otherwise.
// Lines starting with '#' are comments. A missing or unreadable file means
// the defaults.
#include <QMap>
#include <QString>

namespace platform {

class PortMap {
public:
    // Reads Ports.txt of the working folder.
    static PortMap Load(const QString& workingFolder);

    // The device path of port `port` (1 and up); empty for a number below 1.
    QString DevicePath(int port) const;
    // The folder of the Pegasus exchange files.
    QString PegasusFolder() const;
    // Where the packet engine's AGW interface listens.
    QString PacketEngineHost() const { return agwHost_; }
    int PacketEnginePort() const { return agwPort_; }

private:
    QMap<int, QString> devices_;
    QString pegasus_;
    QString agwHost_ = QStringLiteral("127.0.0.1");
    int agwPort_ = 8000;
};

}  // namespace platform

#pragma once
// A pseudo-terminal pair for tests of serial devices: the program opens the
// slave side as its serial port (through a Ports.txt line written into the
// working folder), and the test plays the device on the master side.
#include <QByteArray>
#include <QString>

namespace testing_support {

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0; }
    int masterFd() const { return master_; }
    // The slave device's path, e.g. /dev/pts/7.
    QString slavePath() const { return slavePath_; }

    // Writes "COM<port>=<slave>" into the working folder's Ports.txt (keeping
    // its other lines).
    void MapAsPort(const QString& workingFolder, int port) const;

    // Bytes the program wrote, waiting up to `timeoutMs` for at least
    // `atLeast` of them.
    QByteArray Read(int atLeast = 1, int timeoutMs = 1000);
    // Writes bytes to the program's side (nothing after a hang-up).
    void Write(const QByteArray& bytes);
    // Closes the device's side, as a serial adapter pulled out: the
    // program's writes then fail.
    void Hangup();

private:
    int master_ = -1;
    int slave_ = -1;  // held open so the pair lives while the program reopens it
    QString slavePath_;
};

}  // namespace testing_support

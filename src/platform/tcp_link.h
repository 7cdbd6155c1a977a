#pragma once
// The socket control: one TCP client connection a window owns, with the
// states and error numbers of the Windows socket control, so the windows can
// show the texts they have for each number. Connecting returns at once;
// success shows later as state 7 and Connected(), failure as Error().
#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;

namespace platform {

class TcpLink final : public QObject {
    Q_OBJECT
public:
    // The states of the Windows socket control that this link takes.
    enum State {
        sckClosed = 0,
        sckResolvingHost = 4,
        sckConnecting = 6,
        sckConnected = 7,
        sckClosing = 8,
        sckError = 9,
    };

    explicit TcpLink(QObject* parent = nullptr);
    ~TcpLink() override;

    // Closes the connection whatever its state; no event follows.
    void Close();
    // Lets the connection close once the bytes sent have left, without
    // waiting for them: the link is free for a new connection at once, and
    // the old one ends by itself (cut off when its bytes have not left
    // within `limitMs`). No event of the old connection follows.
    void CloseAfterSending(int limitMs);
    // Starts connecting to `host` and `port` (1..65535); false, with nothing
    // started, for a port outside that range.
    bool Connect(const QString& host, int port);
    int State() const;
    QString RemoteHost() const { return remoteHost_; }
    int RemotePort() const { return remotePort_; }

    // Sends the bytes; false when not connected.
    bool SendData(const QByteArray& bytes);
    // Everything received and not yet taken.
    QByteArray GetData();

    // For clients that speak a framed protocol: up to `max` received bytes,
    // the count waiting, and a bound on what is held unread.
    QByteArray Read(qint64 max);
    qint64 BytesAvailable() const;
    void SetReadBufferSize(qint64 bytes);

Q_SIGNALS:
    void Connected();
    void DataArrival(qint64 bytesTotal);
    // A failure of the connection, with its Windows socket error number; the
    // link is closed when this arrives.
    void Error(int number);

private:
    void wire();
    void reportError();

    QTcpSocket* socket_;
    QString remoteHost_;
    int remotePort_ = 0;
    bool failed_ = false;
};

// The Windows socket error number for a failure of a Qt socket
// (QAbstractSocket::SocketError); -1 for a failure without one.
int WinsockErrorNumber(int socketError);

}  // namespace platform

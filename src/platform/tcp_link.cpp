#include "platform/tcp_link.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <QTimer>

namespace platform {

TcpLink::TcpLink(QObject* parent) : QObject(parent), socket_(new QTcpSocket(this)) { wire(); }

void TcpLink::wire() {
    connect(socket_, &QTcpSocket::connected, this, &TcpLink::Connected);
    connect(socket_, &QTcpSocket::readyRead, this,
            [this] { Q_EMIT DataArrival(socket_->bytesAvailable()); });
    connect(socket_, &QTcpSocket::errorOccurred, this, [this] { reportError(); });
}

TcpLink::~TcpLink() {
    socket_->blockSignals(true);
    socket_->abort();
}

void TcpLink::Close() {
    // Closing from code raises no event, as on the Windows control.
    socket_->blockSignals(true);
    socket_->abort();
    socket_->blockSignals(false);
    failed_ = false;
}

void TcpLink::CloseAfterSending(int limitMs) {
    QTcpSocket* closing = socket_;
    const qint64 readBound = socket_->readBufferSize();
    closing->disconnect(this);
    // Held by the application until it has closed, so that it outlives this
    // link and ends with the program at the latest.
    closing->setParent(QCoreApplication::instance());
    socket_ = new QTcpSocket(this);
    socket_->setReadBufferSize(readBound);
    wire();
    failed_ = false;
    // What the peer still sends is read and dropped: bytes left unread
    // would turn the close into a reset.
    QObject::connect(closing, &QIODevice::readyRead, closing, [closing] { closing->readAll(); });
    QObject::connect(closing, &QAbstractSocket::disconnected, closing, &QObject::deleteLater);
    QObject::connect(closing, &QAbstractSocket::errorOccurred, closing, &QObject::deleteLater);
    QTimer::singleShot(limitMs, closing, [closing] {
        closing->abort();
        closing->deleteLater();
    });
    if (closing->state() == QAbstractSocket::UnconnectedState) {
        closing->deleteLater();
        return;
    }
    // What the system takes now leaves even if the program ends before the
    // event loop runs again (a close at exit); the rest follows from events.
    closing->flush();
    closing->disconnectFromHost();
}

bool TcpLink::Connect(const QString& host, int port) {
    Close();
    if (port < 1 || port > 65535) return false;
    remoteHost_ = host;
    remotePort_ = port;
    socket_->connectToHost(host, static_cast<quint16>(port));
    return true;
}

int TcpLink::State() const {
    if (failed_) return sckError;
    switch (socket_->state()) {
    case QAbstractSocket::HostLookupState:
        return sckResolvingHost;
    case QAbstractSocket::ConnectingState:
        return sckConnecting;
    case QAbstractSocket::ConnectedState:
        return sckConnected;
    case QAbstractSocket::ClosingState:
        return sckClosing;
    default:
        return sckClosed;
    }
}

bool TcpLink::SendData(const QByteArray& bytes) {
    if (socket_->state() != QAbstractSocket::ConnectedState) return false;
    socket_->write(bytes);
    socket_->flush();
    return true;
}

QByteArray TcpLink::GetData() { return socket_->readAll(); }

QByteArray TcpLink::Read(qint64 max) { return socket_->read(max); }

qint64 TcpLink::BytesAvailable() const { return socket_->bytesAvailable(); }

void TcpLink::SetReadBufferSize(qint64 bytes) { socket_->setReadBufferSize(bytes); }

void TcpLink::reportError() {
    const int number = WinsockErrorNumber(static_cast<int>(socket_->error()));
    failed_ = true;
    Q_EMIT Error(number);
}

int WinsockErrorNumber(int socketError) {
    switch (static_cast<QAbstractSocket::SocketError>(socketError)) {
    case QAbstractSocket::ConnectionRefusedError:
        return 10061;
    // The socket reports a reset and an orderly close by the remote side
    // alike: either way the link is gone.
    case QAbstractSocket::RemoteHostClosedError:
        return 10054;
    case QAbstractSocket::HostNotFoundError:
        return 11001;
    case QAbstractSocket::SocketAccessError:
        return 10013;
    case QAbstractSocket::SocketResourceError:
        return 10055;
    case QAbstractSocket::SocketTimeoutError:
        return 10060;
    case QAbstractSocket::DatagramTooLargeError:
        return 10040;
    case QAbstractSocket::NetworkError:
        return 10051;
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return 10043;
    case QAbstractSocket::UnfinishedSocketOperationError:
        return 10036;
    case QAbstractSocket::TemporaryError:
        return 10035;
    case QAbstractSocket::OperationError:
        return 10057;
    default:
        return -1;
    }
}

}  // namespace platform

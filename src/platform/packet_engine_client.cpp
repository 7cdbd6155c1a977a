#include "platform/packet_engine_client.h"

#include <QTimer>
#include <QtEndian>

#include "platform/tcp_link.h"

namespace platform {

namespace {

constexpr int kHeader = 36;

void putCall(QByteArray& header, int offset, const QByteArray& call) {
    const QByteArray c = call.left(9);
    for (int i = 0; i < c.size(); ++i) header[offset + i] = c[i];
}

QByteArray callAt(const QByteArray& header, int offset) {
    QByteArray call = header.mid(offset, 10);
    const qsizetype nul = call.indexOf('\0');
    if (nul >= 0) call.truncate(nul);
    return call;
}

bool soundCall(const QString& call) { return !call.isEmpty() && call.size() <= PacketEngineClient::kMaxCall; }

}  // namespace

QByteArray EncodeAgwFrame(const AgwFrame& frame) {
    QByteArray out(kHeader, '\0');
    out[0] = static_cast<char>(frame.port);
    out[4] = frame.kind;
    out[6] = static_cast<char>(frame.pid);
    putCall(out, 8, frame.callFrom);
    putCall(out, 18, frame.callTo);
    qToLittleEndian<quint32>(static_cast<quint32>(frame.data.size()), out.data() + 28);
    return out + frame.data;
}

int TakeAgwFrame(QByteArray& buffer, AgwFrame* frame) {
    if (buffer.size() < kHeader) return 0;
    const quint32 length = qFromLittleEndian<quint32>(buffer.constData() + 28);
    if (length > PacketEngineClient::kMaxFrame) return -1;
    if (buffer.size() < kHeader + static_cast<qsizetype>(length)) return 0;
    frame->port = static_cast<unsigned char>(buffer[0]);
    frame->kind = buffer[4];
    frame->pid = static_cast<unsigned char>(buffer[6]);
    frame->callFrom = callAt(buffer, 8);
    frame->callTo = callAt(buffer, 18);
    frame->data = buffer.mid(kHeader, length);
    buffer.remove(0, kHeader + length);
    return 1;
}

PacketEngineClient::PacketEngineClient() = default;
PacketEngineClient::~PacketEngineClient() { Close(); }

void PacketEngineClient::SetEndpoint(const QString& host, int port) {
    host_ = host;
    port_ = port;
}

bool PacketEngineClient::StartPoll(const QString& call, const QString& applicationName,
                                   std::function<void(int result)> answered) {
    Q_UNUSED(applicationName);  // the TCP interface has no place for it
    Close();
    if (!soundCall(call)) return false;
    link_ = std::make_unique<TcpLink>();
    TcpLink* link = link_.get();
    // Unread data is held to a bound: a frame and a little more.
    link->SetReadBufferSize(kMaxFrame + 4 * kHeader);
    // Each event of this link, as long as it is the client's link.
    auto handle = [this, link](auto&& work) {
        if (link != link_.get()) return;
        ++inLinkEvent_;
        work();
        --inLinkEvent_;
    };
    QObject::connect(link, &TcpLink::Connected, link, [handle, this] { handle([this] { linkConnected(); }); });
    QObject::connect(link, &TcpLink::DataArrival, link, [handle, this] { handle([this] { linkData(); }); });
    QObject::connect(link, &TcpLink::Error, link,
                     [handle, this](int number) { handle([this, number] { linkError(number); }); });
    if (!link->Connect(host_, port_)) {
        drop();
        return false;
    }
    ownCall_ = call.toUpper();
    answered_ = std::move(answered);
    registering_ = true;
    // A real engine can take about a second to answer the first frame of a
    // new connection; one that has not answered by then never will.
    QTimer::singleShot(kRegisterWaitMs, link,
                       [handle, this] { handle([this] { if (IsRegistering()) answer(0); }); });
    return true;
}

void PacketEngineClient::linkConnected() {
    if (IsRegistering() && !send('X', QString(), {})) answer(0);
}

void PacketEngineClient::linkData() {
    if (!IsRegistering()) return;  // frames wait for GetData
    // Up to the answer, every frame is dropped as it arrives: nothing is
    // monitored yet, and an engine that floods frames holds no memory here.
    for (;;) {
        AgwFrame frame;
        fill();
        const int took = TakeAgwFrame(buffer_, &frame);
        if (took < 0) {
            answer(0);
            return;
        }
        if (took == 0) return;
        if (frame.kind == 'X') {
            answer(!frame.data.isEmpty() && frame.data[0] == 1 ? 1 : 0);
            return;
        }
    }
}

void PacketEngineClient::linkError(int number) {
    if (IsRegistering())
        answer(0);
    else if (registered_)
        lost(number);
}

void PacketEngineClient::answer(int result) {
    std::function<void(int)> answered = std::move(answered_);
    answered_ = nullptr;
    registering_ = false;
    if (result != 0) {
        registered_ = true;
        send('m', QString(), {});
    } else {
        drop();
    }
    if (answered) answered(result);
}

void PacketEngineClient::lost(int number) {
    drop();
    if (lost_) lost_(number);
}

qint64 PacketEngineClient::HeldBytes() const {
    return buffer_.size() + (link_ ? link_->BytesAvailable() : 0);
}

bool PacketEngineClient::fill() {
    if (!link_) return false;
    const qint64 room = kMaxFrame + kHeader - buffer_.size();
    if (room > 0 && link_->BytesAvailable() > 0) buffer_ += link_->Read(room);
    return link_->State() == TcpLink::sckConnected || !buffer_.isEmpty();
}

bool PacketEngineClient::GetData(QString* call, QByteArray* data, int* kind, int* length) {
    if (!link_ || !registered_) return false;
    fill();
    AgwFrame frame;
    const int took = TakeAgwFrame(buffer_, &frame);
    if (took < 0) {
        lost(10053);
        return false;
    }
    if (took == 0) return false;
    QByteArray body = frame.data.left(kMaxData);
    while (body.endsWith('\0')) body.chop(1);
    *call = QString::fromLatin1(frame.callFrom);
    *data = body;
    *kind = frame.kind == 'C' ? 'c' : static_cast<unsigned char>(frame.kind);
    *length = static_cast<int>(body.size());
    return true;
}

int PacketEngineClient::PutData(const QString& call, const QByteArray& data, int kind) {
    if (!registered_ || !soundCall(call)) return 0;
    switch (kind) {
    case 'c':
        // The connect request goes out with the "P" that follows.
        pendingConnect_ = call;
        return 1;
    case 'P': {
        if (pendingConnect_.compare(call, Qt::CaseInsensitive) != 0) return 0;
        pendingConnect_.clear();
        return send('C', call, {}) ? 1 : 0;
    }
    case 'd':
        return send('d', call, {}) ? 1 : 0;
    case 'D':
        return send('D', call, data.left(kMaxData), 0xF0) ? 1 : 0;
    default:
        return 0;
    }
}

bool PacketEngineClient::send(char kind, const QString& to, const QByteArray& data, int pid) {
    if (!link_) return false;
    AgwFrame frame;
    frame.kind = kind;
    frame.pid = pid;
    frame.callFrom = ownCall_.toLatin1();
    frame.callTo = to.toUpper().toLatin1();
    frame.data = data;
    return link_->SendData(EncodeAgwFrame(frame));
}

void PacketEngineClient::Close() {
    // The unregistration leaves ahead of the end of the connection; the
    // link sends it and closes by itself, the thread not waiting for it.
    if (link_ && registered_ && send('x', QString(), {})) link_->CloseAfterSending(kCloseWaitMs);
    drop();
}

void PacketEngineClient::drop() {
    if (link_) {
        link_->Close();
        if (inLinkEvent_ > 0)
            link_.release()->deleteLater();  // its signal is still being handled
        else
            link_.reset();
    }
    buffer_.clear();
    pendingConnect_.clear();
    registered_ = false;
    registering_ = false;
    answered_ = nullptr;
}

}  // namespace platform

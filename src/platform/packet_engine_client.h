#pragma once
// The packet engine client: a connection to a packet engine's AGW interface
// over TCP (127.0.0.1, port 8000 unless set otherwise), offering the calls of
// the engine's client library:
//   StartPoll  starts registering the own call ('X'); the engine's answer
//              comes later, from the socket's events, so the window goes on
//              meanwhile; once accepted, monitoring is switched on ('m',
//              once per registration). Frames that come ahead of the answer
//              are dropped as they arrive;
//   GetData    one received frame, from a bounded buffer;
//   PutData    a connect request, a disconnect request or a line of text;
//   Close      ends the registration ('x') and the connection, returning at
//              once: the connection closes by itself once the 'x' has left.
//
// Kinds as the windows use them: "c" then "P" ask for a connection (one 'C'
// frame on the wire); "d" ends it; "D" is a line of text. A 'C' frame from
// the engine (a station connected) is handed on as kind "c"; every other
// kind as it came. Frames are 36-byte little-endian headers and their data;
// a frame's data is handed on up to 4000 bytes, without the engine's
// trailing NUL; a header claiming more than 64 KiB ends the connection.
// A registered connection that ends by itself (the engine went away, the
// link failed, an unsound header) is reported to the lost handler.
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

namespace platform {

class TcpLink;

struct AgwFrame {
    int port = 0;
    char kind = 0;
    int pid = 0;
    QByteArray callFrom;  // up to 10 bytes, without NULs
    QByteArray callTo;
    QByteArray data;
};

// One frame as it goes on the wire.
QByteArray EncodeAgwFrame(const AgwFrame& frame);

// Takes one whole frame off the front of `buffer`. Returns 1 with the frame,
// 0 when more bytes are needed, -1 when the header is not sound (a data
// length over 64 KiB).
int TakeAgwFrame(QByteArray& buffer, AgwFrame* frame);

class PacketEngineClient {
public:
    static constexpr int kMaxData = 4000;
    static constexpr qint64 kMaxFrame = 64 * 1024;
    static constexpr int kMaxCall = 9;  // AX.25: six characters and "-15"
    static constexpr int kRegisterWaitMs = 2500;
    // How long a closed connection may take to send what was sent on it
    // before it is cut off.
    static constexpr int kCloseWaitMs = 5000;

    PacketEngineClient();
    ~PacketEngineClient();
    PacketEngineClient(const PacketEngineClient&) = delete;
    PacketEngineClient& operator=(const PacketEngineClient&) = delete;

    void SetEndpoint(const QString& host, int port);
    QString Host() const { return host_; }
    int Port() const { return port_; }

    // Starts registering `call` (at most 9 characters). `answered` is run
    // once, from a later event, with the engine's answer: not 0 when it
    // accepted the registration (monitoring is then on), 0 when it refused,
    // did not answer within kRegisterWaitMs, or could not be reached. False,
    // with nothing started and no answer to come, for a call that is not
    // sound or an endpoint that is refused. Close() cancels the answer.
    bool StartPoll(const QString& call, const QString& applicationName,
                   std::function<void(int result)> answered);
    // Run when a registered connection ends by itself, with the Windows
    // socket error number of the failure (10053 for an unsound header).
    void SetLostHandler(std::function<void(int number)> lost) { lost_ = std::move(lost); }
    // One received frame: its sender's call, data, kind and data length.
    // False when none is waiting (or the connection is gone).
    bool GetData(QString* call, QByteArray* data, int* kind, int* length);
    // Sends one request or text frame to or about the station `call`. Not 0
    // when something was sent.
    int PutData(const QString& call, const QByteArray& data, int kind);
    // Ends the registration and the connection.
    void Close();
    bool IsRegistered() const { return registered_; }
    // Whether a registration waits for the engine's answer.
    bool IsRegistering() const { return registering_; }
    // Bytes received and not yet taken: the frame buffer and the socket's.
    qint64 HeldBytes() const;

private:
    // The socket's events.
    void linkConnected();
    void linkData();
    void linkError(int number);
    // Ends a registration that waits, with its answer.
    void answer(int result);
    bool fill();
    void drop();
    void lost(int number);
    bool send(char kind, const QString& to, const QByteArray& data, int pid = 0);

    std::unique_ptr<TcpLink> link_;
    QString host_ = QStringLiteral("127.0.0.1");
    int port_ = 8000;
    QString ownCall_;
    QString pendingConnect_;
    QByteArray buffer_;
    bool registered_ = false;
    bool registering_ = false;
    std::function<void(int)> answered_;
    std::function<void(int)> lost_;
    // Depth of the socket's events being handled: the link is not deleted
    // under its own signal, but later.
    int inLinkEvent_ = 0;
};

}  // namespace platform

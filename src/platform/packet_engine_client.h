#pragma once
// The packet engine client: a connection to a packet engine's AGW interface
// over TCP (127.0.0.1, port 8000 unless set otherwise), offering the calls of
// the engine's client library:
//   StartPoll  registers the own call ('X', waiting for the engine's answer)
//              and switches monitoring on ('m', once per registration);
//   GetData    one received frame, from a bounded buffer;
//   PutData    a connect request, a disconnect request or a line of text;
//   Close      ends the registration ('x') and the connection.
//
// Kinds as the windows use them: "c" then "P" ask for a connection (one 'C'
// frame on the wire); "d" ends it; "D" is a line of text. A 'C' frame from
// the engine (a station connected) is handed on as kind "c"; every other
// kind as it came. Frames are 36-byte little-endian headers and their data;
// a frame's data is handed on up to 4000 bytes, without the engine's
// trailing NUL; a header claiming more than 64 KiB ends the connection.
#include <QByteArray>
#include <QString>
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

    PacketEngineClient();
    ~PacketEngineClient();
    PacketEngineClient(const PacketEngineClient&) = delete;
    PacketEngineClient& operator=(const PacketEngineClient&) = delete;

    void SetEndpoint(const QString& host, int port);
    QString Host() const { return host_; }
    int Port() const { return port_; }

    // Registers `call` (at most 9 characters) and starts monitoring. Not 0
    // when the engine accepted the registration.
    int StartPoll(const QString& call, const QString& applicationName);
    // One received frame: its sender's call, data, kind and data length.
    // False when none is waiting (or the connection is gone).
    bool GetData(QString* call, QByteArray* data, int* kind, int* length);
    // Sends one request or text frame to or about the station `call`. Not 0
    // when something was sent.
    int PutData(const QString& call, const QByteArray& data, int kind);
    // Ends the registration and the connection.
    void Close();
    bool IsRegistered() const { return registered_; }

private:
    bool fill();
    void drop();
    bool send(char kind, const QString& to, const QByteArray& data, int pid = 0);

    std::unique_ptr<TcpLink> link_;
    QString host_ = QStringLiteral("127.0.0.1");
    int port_ = 8000;
    QString ownCall_;
    QString pendingConnect_;
    QByteArray buffer_;
    bool registered_ = false;
};

}  // namespace platform

#pragma once
// A radio on the far end of a pseudo-terminal pair, written from the CAT
// protocols: it answers polls, takes frequency and mode commands, echoes
// CI-V frames as the shared bus does, and records every byte written to it
// with the time it was read. Pump() serves it from the test's own thread;
// Serve() runs it on a thread of its own for a client in another process.
#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "support/pty_pair.h"

namespace testing_support {

class RadioEmulator {
public:
    enum class Protocol {
        Kenwood,      // FA; MD; IF; and their set forms, ';'-terminated
        FTdx9000,     // FA; with 8 or 9 digits, MD0;
        Orion,        // ?AF ?RMM *AF, CR-terminated
        TenTecPanel,  // ?A ?M *A, CR-terminated binary
        Civ,          // CI-V frames, five frequency bytes
        Civ735,       // CI-V frames, four frequency bytes
        Yaesu5,       // 5-byte blocks, opcode last (read 03, set 01, mode 07)
        YaesuOld,     // 5-byte blocks of the older models (status 10, set 0A, mode 0C)
    };

    explicit RadioEmulator(Protocol protocol, std::function<std::int64_t()> now = {});
    ~RadioEmulator();
    RadioEmulator(const RadioEmulator&) = delete;
    RadioEmulator& operator=(const RadioEmulator&) = delete;

    // The device the client opens (/dev/pts/N), and the Ports.txt line that
    // makes it port `port` of `workingFolder`.
    QString devicePath() const { return pty_.slavePath(); }
    void MapAsPort(const QString& workingFolder, int port) const { pty_.MapAsPort(workingFolder, port); }

    // Reads what the client wrote (waiting up to `waitMs` for the first
    // byte) and answers it; the answers have reached the client's side
    // when it returns. Returns the bytes read.
    QByteArray Pump(int waitMs = 200);
    // Serves on a thread of its own until the emulator goes.
    void Serve();

    struct Write {
        std::int64_t ms;
        QByteArray bytes;
    };
    std::vector<Write> writes() const;
    QByteArray received() const;
    void clearWrites();

    // The radio's state.
    std::atomic<long long> frequencyHz{14025000};
    // Kenwood digit ("3" CW, "2" USB...) or protocol code; see the .cpp.
    std::atomic<int> mode{3};
    std::atomic<int> vfo{0};
    int civAddress = 0x64;
    // YaesuOld: the FT-1000's status block, its frequency half a byte later.
    bool ft1000Layout = false;
    // Answers held back: the next reply is split (in half, or after
    // `splitAfter` bytes), its tail sent at the next Pump (a reply
    // straddling two read ticks).
    bool splitNextReply = false;
    int splitAfter = 0;
    // The line's speed on the test's clock: 0 delivers every reply at once;
    // otherwise each byte takes this many ms on the line, the radio answers
    // a poll once it has heard it whole (the CI-V echo comes as the poll
    // goes), Pump hands on only the bytes due by then, and a poll written
    // while the line still carries a reply collides: both are lost.
    double lineByteMs = 0;
    int collisions = 0;
    // The serial adapter pulled out: the client's writes fail from now on.
    void Hangup() { pty_.Hangup(); }

private:
    QByteArray answer(const QByteArray& input);
    QByteArray kenwood(const QByteArray& command);
    QByteArray ftdx(const QByteArray& command);
    QByteArray orion(const QByteArray& command);
    QByteArray tenTec(const QByteArray& command);
    QByteArray civ(const QByteArray& frame);
    QByteArray yaesu5(const QByteArray& block);
    QByteArray yaesuOld(const QByteArray& block);
    void sendToClient(const QByteArray& bytes);
    void sendDueBytes();
    std::int64_t nowMs() const;

    Protocol protocol_;
    std::function<std::int64_t()> now_;
    PtyPair pty_;
    int probe_ = -1;  // the client's side, to see its input queue
    QByteArray pending_;  // bytes of an incomplete command
    QByteArray heldTail_;
    std::vector<std::pair<double, char>> onTheLine_;  // due time, byte
    double lineBusyUntil_ = 0;
    mutable std::mutex mutex_;
    std::vector<Write> writes_;
    QByteArray received_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace testing_support

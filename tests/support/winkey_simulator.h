#pragma once
// A WinKeyer played on the master side of a pseudo-terminal pair, written
// from the device's serial protocol: the admin commands echo test, host open
// (answered with a version byte) and host close; speed, weight, lead-in and
// tail, pin configuration, mode, dit/dah ratio, clear buffer and backspace;
// printable characters into its buffer, keyed one at a time in real time and
// echoed as each one ends while the mode asks for echo-back. Like the device,
// it tells its status unasked whenever it changes: a status byte (11xxxxxx)
// with the busy bit while it keys, without it once its buffer is empty, and
// with the break-in bit while the paddles break in.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <mutex>
#include <thread>

namespace testing_support {

class WinKeySimulator {
public:
    // `masterFd`: the pty master; `charMs`: how long each character keys.
    WinKeySimulator(int masterFd, int charMs);
    ~WinKeySimulator();

    // The version byte host open answers with.
    static constexpr int kVersion = 23;

    // Stops answering anything: no echo, no version, no keying.
    void StopAnswering() { answering_ = false; }
    // Answers the echo test and host open `ms` late, as a slow device would:
    // a caller that asked for them has surely returned before they come.
    void DelayOpenAnswers(int ms) { openDelayMs_ = ms; }
    // The operator keys the paddles: the device drops its buffer, the
    // character it keys included, and reports the break-in and then, the
    // paddles let go, that it is idle.
    void BreakIn();

    // What the device was told, in order: "open", "close", "speed 18",
    // "weight 50", "leadtail 1 2", "pins 6", "mode 4", "ratio 50", "clear",
    // "backspace".
    QStringList Commands() const;
    // The characters keyed so far.
    QString Keyed() const;
    // The most characters that ever waited in the buffer behind the one
    // being keyed.
    int MaxWaiting() const;
    // Waits up to `timeoutMs` until `count` characters have been keyed.
    bool WaitForKeyed(int count, int timeoutMs);

private:
    void Run();
    void Take(unsigned char byte);
    void Reply(char byte);

    int fd_;
    int charMs_;
    std::atomic<bool> answering_{true};
    std::atomic<int> openDelayMs_{0};
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    QStringList commands_;
    QString keyed_;
    QByteArray buffer_;
    int maxWaiting_ = 0;
    bool echo_ = false;
    bool keying_ = false;  // a character is being keyed
    bool busy_ = false;    // the status last told said busy
    // The command being read: its bytes so far.
    QByteArray command_;
    std::thread thread_;
};

}  // namespace testing_support

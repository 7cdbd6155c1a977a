#pragma once
// A PulseAudio server of the test's own: started from the Debian
// `pulseaudio` program with no configuration but a private socket in a
// temporary folder and one null sink, so it needs no sound card, no D-Bus
// and no display, and runs as root. Its sink's monitor is recorded with
// `parec` into a file. The server and the recorder end with this object.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>
#include <vector>

namespace testing_support {

class SoundServer {
public:
    // The sink's and the recording's format: mono 16-bit at this rate.
    static constexpr int kRate = 48000;

    SoundServer() = default;
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // Starts the server and waits until it answers. Empty when it runs,
    // else why it does not.
    QString Start();
    // The test's environment with this server as the one to use.
    QProcessEnvironment ClientEnvironment() const;

    // Starts recording what the sink plays and waits until samples arrive.
    // Empty when it records, else why it does not.
    QString StartRecording();
    // Goes on recording for `tailMs`, then stops and gives what was heard.
    std::vector<qint16> StopRecording(int tailMs);

private:
    QString socket() const { return dir_.path() + "/pulse/native"; }
    static void End(QProcess& process);

    QTemporaryDir dir_;
    QProcess server_;
    QProcess recorder_;
};

// What a recording holds of a test tone, in 10 ms blocks: how many blocks
// carry the body frequency and how many the end frequency, each at no less
// than half the tone's amplitude.
struct ToneBlocks {
    int body = 0;
    int end = 0;
};
ToneBlocks CountToneBlocks(const std::vector<qint16>& samples, int rate, double bodyHz,
                           double endHz, double amplitude);

}  // namespace testing_support

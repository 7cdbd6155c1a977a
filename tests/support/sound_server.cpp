#include "support/sound_server.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>

namespace testing_support {

namespace {

constexpr int kStartTimeoutMs = 15000;
const QString kSink = QStringLiteral("ostrel_test");

// The server's environment: its home, configuration and runtime folders all
// in the temporary folder, and nothing that leads it to a session bus or a
// display.
QProcessEnvironment serverEnvironment(const QString& dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY",
                             "PULSE_SERVER", "PULSE_SINK", "PULSE_SOURCE"})
        env.remove(QString::fromLatin1(name));
    env.insert("HOME", dir);
    env.insert("XDG_RUNTIME_DIR", dir);
    env.insert("XDG_CONFIG_HOME", dir + "/config");
    env.insert("XDG_STATE_HOME", dir + "/state");
    env.insert("XDG_CACHE_HOME", dir + "/cache");
    return env;
}

// Waits until `ready` holds while `process` runs, for the start timeout at
// most; false when it did not come to hold.
bool waitUntil(const QProcess& process, const std::function<bool()>& ready) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kStartTimeoutMs && process.state() != QProcess::NotRunning) {
        if (ready()) return true;
        QThread::msleep(20);
    }
    return false;
}

QString textOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLocal8Bit(file.readAll());
}

}  // namespace

SoundServer::~SoundServer() {
    End(recorder_);
    End(server_);
}

void SoundServer::End(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

QString SoundServer::Start() {
    if (!dir_.isValid()) return QStringLiteral("no temporary folder for the sound server");
    QDir(dir_.path()).mkpath("pulse");
    server_.setProcessEnvironment(serverEnvironment(dir_.path()));
    server_.setProcessChannelMode(QProcess::MergedChannels);
    server_.setStandardOutputFile(dir_.path() + "/server.log");
    server_.start(QStringLiteral("pulseaudio"),
                  {"-n", "--daemonize=no", "--system=false", "--exit-idle-time=-1",
                   "--use-pid-file=false", "--disable-shm=true", "--realtime=false",
                   "--high-priority=false", "--log-target=stderr",
                   "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket(),
                   "--load=module-null-sink sink_name=" + kSink + " rate=" +
                       QString::number(kRate) + " channels=1 format=s16le"});
    if (!server_.waitForStarted(kStartTimeoutMs))
        return "cannot run pulseaudio (" + server_.errorString() +
               "); scripts/setup installs the pulseaudio package";

    // Ready once a client gets the server's answer through the socket.
    QString noPactl;
    const bool ready = waitUntil(server_, [&] {
        if (!QFileInfo::exists(socket())) return false;
        QProcess info;
        info.setProcessEnvironment(ClientEnvironment());
        info.start(QStringLiteral("pactl"), {"info"});
        if (!info.waitForStarted(5000)) {
            noPactl = "cannot run pactl (" + info.errorString() +
                      "); scripts/setup installs the pulseaudio-utils package";
            return true;
        }
        return info.waitForFinished(5000) && info.exitCode() == 0;
    });
    if (ready && noPactl.isEmpty()) return {};
    End(server_);
    return noPactl.isEmpty() ? "the pulseaudio server did not start: " + textOf(dir_.path() + "/server.log")
                             : noPactl;
}

QProcessEnvironment SoundServer::ClientEnvironment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_SERVER", "unix:" + socket());
    env.insert("XDG_RUNTIME_DIR", dir_.path());
    env.remove("PULSE_SINK");
    return env;
}

QString SoundServer::StartRecording() {
    const QString path = dir_.path() + "/recording.raw";
    recorder_.setProcessEnvironment(ClientEnvironment());
    recorder_.setStandardOutputFile(path);
    recorder_.setStandardErrorFile(dir_.path() + "/recorder.log");
    recorder_.start(QStringLiteral("parec"),
                    {"--device=" + kSink + ".monitor", "--raw", "--format=s16le",
                     "--rate=" + QString::number(kRate), "--channels=1", "--latency-msec=10"});
    if (!recorder_.waitForStarted(kStartTimeoutMs))
        return "cannot run parec (" + recorder_.errorString() +
               "); scripts/setup installs the pulseaudio-utils package";
    // The monitor sounds silence while nothing plays: once some of it has
    // arrived, the recording runs.
    if (waitUntil(recorder_, [&] { return QFileInfo(path).size() >= kRate / 10 * 2; })) return {};
    End(recorder_);
    return "parec records nothing from the test server: " + textOf(dir_.path() + "/recorder.log");
}

std::vector<qint16> SoundServer::StopRecording(int tailMs) {
    QThread::msleep(static_cast<unsigned long>(tailMs));
    End(recorder_);
    QFile file(dir_.path() + "/recording.raw");
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    std::vector<qint16> samples(static_cast<std::size_t>(bytes.size() / 2));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
    return samples;
}

namespace {

// The amplitude of the `hz` component of a block that holds whole periods of
// it (Goertzel's filter).
double amplitudeAt(const qint16* x, int n, double hz, int rate) {
    const double coeff = 2 * std::cos(2 * std::numbers::pi * hz / rate);
    double s1 = 0;
    double s2 = 0;
    for (int i = 0; i < n; ++i) {
        const double s = x[i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    return 2 * std::sqrt(std::max(power, 0.0)) / n;
}

}  // namespace

ToneBlocks CountToneBlocks(const std::vector<qint16>& samples, int rate, double bodyHz,
                           double endHz, double amplitude) {
    const int block = rate / 100;
    ToneBlocks blocks;
    for (std::size_t at = 0; at + static_cast<std::size_t>(block) <= samples.size();
         at += static_cast<std::size_t>(block)) {
        if (amplitudeAt(samples.data() + at, block, bodyHz, rate) >= amplitude / 2) ++blocks.body;
        if (amplitudeAt(samples.data() + at, block, endHz, rate) >= amplitude / 2) ++blocks.end;
    }
    return blocks;
}

}  // namespace testing_support

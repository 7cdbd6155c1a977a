// The software Morse keyer on the real clock: "PARIS " five times at 20 WPM
// with the word space that makes it the standard 50-unit word, through a
// line that records its changes, for the "Sleep" and the "Timer" method.
// The ideal is 3,000 ms a word. Prints "ratio cw-sleep/ideal <value>" and
// "ratio cw-timer/ideal <value>"; with the latter, from the same run,
// "ratio cw-timer-cpu <value>": the processor seconds the keying thread took
// per second keyed. Then "ratio cw-late-start/ideal <value>":
// the same with the "Timer" method, sent as the send buffer sends it, the
// keyer on its own thread and each next character handed from the event
// loop of a window thread that a timer keeps busy 6 ms of every 100 ms.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <vector>

#include "keyers/keyer_thread.h"
#include "keyers/morse_keyer.h"
#include "platform/clock.h"

namespace {

class RecordingLine final : public keyers::KeyingLines {
public:
    explicit RecordingLine(platform::Clock& clock) : clock_(clock) { changes.reserve(2000); }
    bool SetRTS(bool on) override {
        changes.push_back({clock_.MonotonicMs(), on});
        return true;
    }
    bool SetDTR(bool) override { return true; }
    bool WriteParallelControl(std::uint16_t, std::uint8_t) override { return true; }

    struct Change {
        std::int64_t at;
        bool on;
    };
    std::vector<Change> changes;

private:
    platform::Clock& clock_;
};

class Controls final : public keyers::KeyerControls {
public:
    explicit Controls(keyers::TimingMethod method) : method_(method) {}
    int KeyingInterface() override { return 1; }
    keyers::KeyLine Line() override { return keyers::KeyLine::RTS; }
    QString Speed() override { return QStringLiteral("20"); }
    QString WordSpace() override { return QStringLiteral("-4"); }
    QString ParallelAddress() override { return {}; }
    keyers::TimingMethod Method() override { return method_; }
    double LoopOffset() override { return 0; }
    bool PortOpen() override { return true; }
    bool OpenPort() override { return true; }
    void LogContact() override {}

private:
    keyers::TimingMethod method_;
};

const QString kText = QStringLiteral("PARIS PARIS PARIS PARIS PARIS ");

// The processor time of the calling thread, in seconds.
double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Run {
    double ratio;         // keyed time / ideal time
    double cpuPerSecond;  // processor seconds of the keying thread / keyed seconds
};

// Keyed on this thread.
Run Keyed(keyers::TimingMethod method) {
    platform::SystemClock clock;
    RecordingLine line(clock);
    Controls controls(method);
    keyers::MorseKeyer keyer(clock, line, controls);
    const double cpuStart = ThreadCpuSeconds();
    for (QChar c : kText) keyer.Transmit(c);
    const double cpu = ThreadCpuSeconds() - cpuStart;
    const std::int64_t end = clock.MonotonicMs();
    const double keyedMs = static_cast<double>(end - line.changes.front().at);
    return {keyedMs / 15000.0, cpu / (keyedMs / 1000.0)};
}

double LateStartRatio() {
    platform::SystemClock clock;
    RecordingLine line(clock);
    std::recursive_mutex linesLock;
    QObject window;
    QEventLoop loop;
    keyers::KeyerThread* keyer = nullptr;
    std::uint64_t message = 0;
    qsizetype handed = 0;
    qsizetype sent = 0;
    std::int64_t end = 0;
    keyers::KeyerThread::Reports reports;
    reports.begun = [&](std::uint64_t) {
        if (handed < kText.size()) keyer->Hand(message, kText[handed++]);
    };
    reports.sent = [&](std::uint64_t, keyers::MorseKeyer::Result) {
        if (++sent < kText.size()) return;
        end = clock.MonotonicMs();
        loop.quit();
    };
    keyers::KeyerThread thread(clock, line, linesLock, &window, reports);
    keyer = &thread;
    keyers::KeyerSettings settings;
    settings.keyingInterface = 1;
    settings.line = keyers::KeyLine::RTS;
    settings.speed = QStringLiteral("20");
    settings.wordSpace = QStringLiteral("-4");
    settings.method = keyers::TimingMethod::Timer;
    thread.SetSettings(settings);
    QTimer busy;
    QObject::connect(&busy, &QTimer::timeout, [] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(6);
        while (std::chrono::steady_clock::now() < until) {
        }
    });
    busy.start(100);
    message = thread.Begin();
    thread.Hand(message, kText[handed++]);
    loop.exec();
    return static_cast<double>(end - line.changes.front().at) / 15000.0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("ratio cw-sleep/ideal %.5f\n", Keyed(keyers::TimingMethod::Sleep).ratio);
    std::fflush(stdout);
    const Run timer = Keyed(keyers::TimingMethod::Timer);
    std::printf("ratio cw-timer/ideal %.5f\n", timer.ratio);
    std::printf("ratio cw-timer-cpu %.5f\n", timer.cpuPerSecond);
    std::fflush(stdout);
    std::printf("ratio cw-late-start/ideal %.5f\n", LateStartRatio());
    return 0;
}

// The software Morse keyer on the real clock: "PARIS " five times at 20 WPM
// with the word space that makes it the standard 50-unit word, through a
// line that records its changes, for the "Sleep" and the "Timer" method.
// The ideal is 3,000 ms a word. Prints "ratio cw-sleep/ideal <value>" and
// "ratio cw-timer/ideal <value>".
#include <cstdio>
#include <vector>

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

double Ratio(keyers::TimingMethod method) {
    platform::SystemClock clock;
    RecordingLine line(clock);
    Controls controls(method);
    keyers::MorseKeyer keyer(clock, line, controls);
    const QString text = QStringLiteral("PARIS PARIS PARIS PARIS PARIS ");
    for (QChar c : text) keyer.Transmit(c);
    const std::int64_t end = clock.MonotonicMs();
    return static_cast<double>(end - line.changes.front().at) / 15000.0;
}

}  // namespace

int main() {
    std::printf("ratio cw-sleep/ideal %.5f\n", Ratio(keyers::TimingMethod::Sleep));
    std::fflush(stdout);
    std::printf("ratio cw-timer/ideal %.5f\n", Ratio(keyers::TimingMethod::Timer));
    return 0;
}

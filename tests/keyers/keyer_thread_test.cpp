// The software keyer's thread on its own: what a stop does to the loop
// calibration it runs.
#include <QObject>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <optional>

#include "keyers/keyer_thread.h"
#include "platform/clock.h"
#include "support/fake_clock.h"

using keyers::KeyerThread;
using keyers::MorseKeyer;
using testing_support::FakeClock;

namespace {

class NoLines final : public keyers::KeyingLines {
public:
    bool SetRTS(bool) override { return true; }
    bool SetDTR(bool) override { return true; }
    bool WriteParallelControl(std::uint16_t, std::uint8_t) override { return true; }
};

// The fake clock, each reading 1 ms after the one before, so that the
// calibration's first count seems to take 1 ms and it then asks for a count
// of seconds; its first reading tells the test that the calibration began.
class CalibrationClock final : public platform::Clock {
public:
    CalibrationClock() { fake_.advancePerReadMs = 1; }
    std::int64_t MonotonicMs() const override {
        if (!read_.exchange(true)) began_.set_value();
        return fake_.MonotonicMs();
    }
    QDateTime LocalNow() const override { return fake_.LocalNow(); }
    QDateTime UtcNow() const override { return fake_.UtcNow(); }
    void SleepMs(int ms) override { fake_.SleepMs(ms); }
    std::future<void> Began() { return began_.get_future(); }

private:
    mutable FakeClock fake_;
    mutable std::atomic<bool> read_ = false;
    mutable std::promise<void> began_;
};

}  // namespace

// A stop (the program's end, or the CW window unloaded) ends a calibration
// under way: no count comes of it, and the thread is free at once for what
// follows.
TEST(KeyerThread, AStopEndsTheLoopCalibrationUnderWay) {
    CalibrationClock clock;
    NoLines lines;
    std::recursive_mutex linesLock;
    QObject window;
    std::optional<std::optional<double>> calibrated;
    bool sent = false;
    KeyerThread::Reports reports;
    reports.calibrated = [&](std::optional<double> loops) { calibrated = loops; };
    reports.sent = [&](std::uint64_t, MorseKeyer::Result) { sent = true; };
    KeyerThread thread(clock, lines, linesLock, &window, reports);
    std::future<void> began = clock.Began();
    thread.Calibrate();
    began.wait();
    thread.Stop();
    // A character handed next is taken once the calibration has ended.
    const std::uint64_t message = thread.Begin();
    thread.Hand(message, u'E');
    EXPECT_TRUE(QTest::qWaitFor([&] { return sent; }, 60000));
    EXPECT_FALSE(calibrated.has_value());
}

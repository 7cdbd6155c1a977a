#pragma once
// A clock the test sets and advances: UTC time plus a fixed local offset, and a
// monotonic counter that moves only when the test moves it.
#include <QDateTime>
#include <deque>
#include <functional>

#include "platform/clock.h"

namespace testing_support {

class FakeClock final : public platform::Clock {
public:
    QDateTime utc = platform::CalendarTime(2013, 4, 7, 18, 5, 33);
    int localOffsetSeconds = -5 * 3600;  // local = UTC - 5 h
    mutable std::int64_t monotonic = 1000000;
    // Milliseconds the counter moves on before each reading: a busy wait on
    // the counter then ends, as it would on a real clock.
    std::int64_t advancePerReadMs = 0;

    std::int64_t MonotonicMs() const override {
        monotonic += advancePerReadMs;
        return monotonic;
    }
    QDateTime UtcNow() const override { return utc; }
    QDateTime LocalNow() const override { return utc.addSecs(localOffsetSeconds); }
    // Sleeping moves the clock on by the time slept, at once.
    void SleepMs(int ms) override {
        if (ms > 0) AdvanceMs(ms);
    }

    void AdvanceMs(std::int64_t ms) {
        monotonic += ms;
        utc = utc.addMSecs(ms);
    }

    // A timer runs at once, the clock moved on by its delay; one set while
    // another runs follows when that one has returned, in the order set. So
    // a wait made of timers ends before the call that started it returns.
    void After(int ms, QObject* /*context*/, std::function<void()> fn) override {
        timers_.push_back({ms, std::move(fn)});
        if (runningTimers_) return;
        runningTimers_ = true;
        while (!timers_.empty()) {
            Timer timer = std::move(timers_.front());
            timers_.pop_front();
            if (timer.ms > 0) AdvanceMs(timer.ms);
            timer.fn();
        }
        runningTimers_ = false;
    }

private:
    struct Timer {
        int ms;
        std::function<void()> fn;
    };
    std::deque<Timer> timers_;
    bool runningTimers_ = false;
};

}  // namespace testing_support

#pragma once
// A clock the test sets and advances: UTC time plus a fixed local offset, and a
// monotonic counter that moves only when the test moves it. Its timers fire
// when the test advances the clock past them, each at its own moment.
//
// The CW keyer sleeps on a thread of its own: reading and sleeping are safe
// from any thread, and a test may hold that thread's sleeps at a moment of
// its choosing (HoldSleepsFrom) to act while a character is keyed.
#include <QDateTime>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/clock.h"

namespace testing_support {

class FakeClock final : public platform::Clock {
public:
    // Set by the test while no other thread runs on the clock.
    QDateTime utc = platform::CalendarTime(2013, 4, 7, 18, 5, 33);
    int localOffsetSeconds = -5 * 3600;  // local = UTC - 5 h
    // Read and moved atomically by the clock's own calls, from any thread.
    mutable std::int64_t monotonic = 1000000;
    // Milliseconds the counter moves on before each reading: a busy wait on
    // the counter then ends, as it would on a real clock.
    std::int64_t advancePerReadMs = 0;
    // Runs at the start of each pause, where the thread is handed back to
    // the event loop: what goes on meanwhile (a device taking what was sent).
    std::function<void()> duringPause;

    std::int64_t MonotonicMs() const override {
        return std::atomic_ref<std::int64_t>(monotonic) += advancePerReadMs;
    }
    QDateTime UtcNow() const override {
        std::lock_guard lock(mutex_);
        return utc;
    }
    QDateTime LocalNow() const override { return UtcNow().addSecs(localOffsetSeconds); }
    // Sleeping moves the clock on by the time slept, at once. Like a real
    // sleep it runs no timer: those that came due fire at the next advance.
    // A thread other than the test's waits first while its sleeps are held.
    void SleepMs(int ms) override {
        if (std::this_thread::get_id() != owner_) {
            std::unique_lock lock(mutex_);
            if (holdFrom_ && std::atomic_ref<std::int64_t>(monotonic) >= *holdFrom_) {
                ++held_;
                released_.wait(lock, [this] { return !holdFrom_; });
                --held_;
            }
        }
        if (ms > 0) move(ms);
    }

    // A sleep of another thread that starts at `at` or later waits until
    // ReleaseSleeps(); Held() tells whether one waits.
    void HoldSleepsFrom(std::int64_t at) {
        std::lock_guard lock(mutex_);
        holdFrom_ = at;
    }
    bool Held() const {
        std::lock_guard lock(mutex_);
        return held_ > 0;
    }
    void ReleaseSleeps() {
        {
            std::lock_guard lock(mutex_);
            holdFrom_.reset();
        }
        released_.notify_all();
    }
    // A timer of no delay fires from the event loop; any other when the
    // clock is advanced to it.
    void SingleShot(int ms, QObject* context, std::function<void()> fired) override {
        if (ms <= 0) {
            QTimer::singleShot(0, context, std::move(fired));
            return;
        }
        timers_.push_back({now() + ms, ++armed_, context, std::move(fired)});
    }

    // A pause plays through at once, the clock moved on by its length (and
    // timers due on the way fired); one set while another runs follows when
    // that one has returned, in the order set. So a device conversation made
    // of pauses ends before the call that started it returns.
    void After(int ms, QObject* /*context*/, std::function<void()> fn) override {
        pauses_.push_back({ms, std::move(fn)});
        if (playingPauses_) return;
        playingPauses_ = true;
        while (!pauses_.empty()) {
            Pause pause = std::move(pauses_.front());
            pauses_.pop_front();
            if (duringPause) duringPause();
            if (pause.ms > 0) AdvanceMs(pause.ms);
            pause.fn();
        }
        playingPauses_ = false;
    }

    // Moves the clock on by `ms`, firing each timer due on the way at its
    // moment, in the order of their moments (and of arming, for one moment).
    void AdvanceMs(std::int64_t ms) {
        const std::int64_t target = now() + std::max<std::int64_t>(ms, 0);
        for (;;) {
            auto next = std::min_element(timers_.begin(), timers_.end(), [](const Timer& a, const Timer& b) {
                return a.due != b.due ? a.due < b.due : a.order < b.order;
            });
            if (next == timers_.end() || next->due > target) break;
            Timer timer = std::move(*next);
            timers_.erase(next);
            if (timer.due > now()) move(timer.due - now());
            if (timer.context) timer.fired();
        }
        move(target - now());
    }

    // Timers armed and not fired yet (their objects alive).
    int PendingTimers() const {
        return static_cast<int>(
            std::count_if(timers_.begin(), timers_.end(), [](const Timer& t) { return !t.context.isNull(); }));
    }

private:
    struct Timer {
        std::int64_t due;
        std::uint64_t order;
        QPointer<QObject> context;
        std::function<void()> fired;
    };

    // The counter as any thread may read it while the keyer's thread moves it.
    std::int64_t now() const { return std::atomic_ref<std::int64_t>(monotonic).load(); }

    void move(std::int64_t ms) {
        if (ms <= 0) return;
        std::lock_guard lock(mutex_);
        std::atomic_ref<std::int64_t>(monotonic) += ms;
        utc = utc.addMSecs(ms);
    }

    std::thread::id owner_ = std::this_thread::get_id();
    mutable std::mutex mutex_;
    std::condition_variable released_;
    std::optional<std::int64_t> holdFrom_;
    int held_ = 0;

    std::vector<Timer> timers_;
    std::uint64_t armed_ = 0;
    struct Pause {
        int ms;
        std::function<void()> fn;
    };
    std::deque<Pause> pauses_;
    bool playingPauses_ = false;
};

}  // namespace testing_support

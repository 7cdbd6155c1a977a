#pragma once
// Time sources: a monotonic millisecond counter for timing, and the wall clock
// as local and UTC date-times. Both date-times are plain calendar values
// (held with Qt::UTC so that no time-zone rule is applied to them again).
#include <QDateTime>
#include <cstdint>
#include <functional>

class QObject;

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds from an arbitrary start; never goes backwards.
    virtual std::int64_t MonotonicMs() const = 0;
    // The local wall-clock date and time (what the PC's clock shows).
    virtual QDateTime LocalNow() const = 0;
    // The UTC date and time.
    virtual QDateTime UtcNow() const = 0;
    // Gives up the processor for `ms` milliseconds; no events run meanwhile.
    // Never on the thread that runs the windows: that thread waits with
    // SingleShot.
    virtual void SleepMs(int ms) = 0;
    // Calls `fired` once, from the event loop of `context`'s thread, `ms`
    // milliseconds from now on this clock; never once `context` is gone.
    virtual void SingleShot(int ms, QObject* context, std::function<void()> fired);
    // A pause inside a conversation with a device: what sleeping was, without
    // holding the thread. On the system clock it is a SingleShot; a test's
    // clock plays it through at once, as it does a sleep, so a device
    // conversation made of pauses ends before the call that started it.
    virtual void After(int ms, QObject* context, std::function<void()> fn);
};

class SystemClock final : public Clock {
public:
    std::int64_t MonotonicMs() const override;
    QDateTime LocalNow() const override;
    QDateTime UtcNow() const override;
    void SleepMs(int ms) override;
};

// Builds a calendar value (held as Qt::UTC) from a date and time.
QDateTime CalendarTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace platform

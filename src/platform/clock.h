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
    virtual void SleepMs(int ms) = 0;
    // Runs `fn` once, `ms` milliseconds from now, from the event loop of the
    // calling thread; nothing runs once `context` is gone.
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

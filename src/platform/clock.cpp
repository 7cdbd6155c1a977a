#include "platform/clock.h"

#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

namespace platform {

void Clock::SingleShot(int ms, QObject* context, std::function<void()> fired) {
    QTimer::singleShot(std::max(ms, 0), Qt::PreciseTimer, context, std::move(fired));
}

void Clock::After(int ms, QObject* context, std::function<void()> fn) { SingleShot(ms, context, std::move(fn)); }

std::int64_t SystemClock::MonotonicMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QDateTime SystemClock::LocalNow() const {
    QDateTime local = QDateTime::currentDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

QDateTime SystemClock::UtcNow() const { return QDateTime::currentDateTimeUtc(); }

void SystemClock::SleepMs(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

QDateTime CalendarTime(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

}  // namespace platform

#include "platform/clock.h"

#include <QTimer>
#include <chrono>
#include <thread>

namespace platform {

std::int64_t SystemClock::MonotonicMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QDateTime SystemClock::LocalNow() const {
    QDateTime local = QDateTime::currentDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

QDateTime SystemClock::UtcNow() const { return QDateTime::currentDateTimeUtc(); }

void Clock::After(int ms, QObject* context, std::function<void()> fn) {
    QTimer::singleShot(ms < 0 ? 0 : ms, Qt::PreciseTimer, context, std::move(fn));
}

void SystemClock::SleepMs(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

QDateTime CalendarTime(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

}  // namespace platform

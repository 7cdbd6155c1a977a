#pragma once
// The operating-time tally between Time On and Time Off.
#include <QDateTime>
#include <cstdint>

namespace entry {

struct OperatingTime {
    bool LoggedOn = false;
    // The monotonic clock at Time On, from which the elapsed time is counted
    // (setting the PC clock never changes it).
    std::int64_t TimeOnAtMs = 0;
    double OperatingSeconds = 0;
};

}  // namespace entry

#pragma once
// The operating-time tally between Time On and Time Off.
#include <QDateTime>

namespace entry {

struct OperatingTime {
    bool LoggedOn = false;
    QDateTime TimeOnAt;
    double OperatingSeconds = 0;
};

}  // namespace entry

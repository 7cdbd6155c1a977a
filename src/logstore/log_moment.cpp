#include "logstore/log_moment.h"

#include <QList>

namespace logstore {

namespace {

// A run of 1 to `maxDigits` ASCII digits, or -1.
int digits(QStringView part, qsizetype maxDigits) {
    if (part.isEmpty() || part.size() > maxDigits) return -1;
    int value = 0;
    for (QChar c : part) {
        if (c < u'0' || c > u'9') return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

}  // namespace

std::optional<QDate> ParseLogDate(QStringView text) {
    text = text.trimmed();
    const QChar separator = text.contains(u'/') ? u'/' : u'-';
    const QList<QStringView> parts = text.split(separator);
    if (parts.size() != 3 || parts[0].size() != 4) return std::nullopt;
    const int year = digits(parts[0], 4);
    const int month = digits(parts[1], 2);
    const int day = digits(parts[2], 2);
    if (year < 0 || month < 0 || day < 0) return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid()) return std::nullopt;
    return date;
}

std::optional<QTime> ParseLogTime(QStringView text) {
    const QList<QStringView> parts = text.trimmed().split(u':');
    if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
    const int hours = digits(parts[0], 2);
    const int minutes = digits(parts[1], 2);
    const int seconds = parts.size() == 3 ? digits(parts[2], 2) : 0;
    if (hours < 0 || minutes < 0 || seconds < 0) return std::nullopt;
    const QTime time(hours, minutes, seconds);
    if (!time.isValid()) return std::nullopt;
    return time;
}

}  // namespace logstore

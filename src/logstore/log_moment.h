#pragma once
// Reading the date and time texts of a contact: the date "yyyy/mm/dd" and the
// time "hh:mm:ss", or "hh:mm" for a contact entered after the contest.
#include <QDate>
#include <QStringView>
#include <QTime>
#include <optional>

namespace logstore {

// The date of a date text: year, month and day separated by "/" or "-", year
// first; leading and trailing blanks are ignored. std::nullopt when the text
// is no valid date.
std::optional<QDate> ParseLogDate(QStringView text);

// The time of a time text: hours, ":" and minutes, optionally ":" and
// seconds, with one or two digits each; leading and trailing blanks are
// ignored. std::nullopt when the text is no valid time of day.
std::optional<QTime> ParseLogTime(QStringView text);

}  // namespace logstore

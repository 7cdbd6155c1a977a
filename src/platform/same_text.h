#pragma once
// Text comparison as the windows make it: equal ignoring letter case.
#include <QLatin1StringView>
#include <QString>

namespace platform {

inline bool SameText(const QString& a, const QString& b) {
    // Texts of different length never match; most comparisons end here.
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

inline bool SameText(const QString& a, QLatin1StringView b) {
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace platform

#include "scoring/worked.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

#include "logstore/log_moment.h"
#include "scoring/multipliers.h"
#include "setup/state_province_table.h"
#include "setup/station.h"

namespace scoring {

namespace {
bool lessIgnoringCase(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

void sortIgnoringCase(QStringList& list) {
    std::stable_sort(list.begin(), list.end(), lessIgnoringCase);
}
}  // namespace

void InsertSorted(QStringList& list, const QString& text) {
    auto at = std::upper_bound(list.begin(), list.end(), text, lessIgnoringCase);
    list.insert(at, text);
}

bool ContainsText(const QStringList& list, const QString& text) {
    return list.contains(text, Qt::CaseInsensitive);
}

void CountModes(const logstore::ContactLog& log, Tally& tally) {
    tally.CWContacts = tally.PHContacts = tally.DGContacts = 0;
    tally.QSOPoints = 0;
    for (int i = 1; i <= log.QSOCount; ++i) CountContact(log.row(i).QSOMode, tally);
}

void CountContact(const QString& mode, Tally& tally) {
    const int points = ContactPoints(mode);
    tally.QSOPoints += points;
    if (points == 1)
        ++tally.PHContacts;
    else if (mode.compare(QLatin1String("CW"), Qt::CaseInsensitive) == 0)
        ++tally.CWContacts;
    else
        ++tally.DGContacts;
}

namespace {
// The distinct texts that `pick` gives for the contacts it accepts, the first
// spelling met in log order, in alphabetical order ignoring case. A text seen
// before exactly is passed over without folding its case.
template <typename Pick>
QStringList distinctTexts(const logstore::ContactLog& log, Pick pick) {
    QStringList out;
    QSet<QString> exact;
    QSet<QString> folded;
    for (int i = 1; i <= log.QSOCount; ++i) {
        const QString* text = pick(log.row(i));
        if (!text || exact.contains(*text)) continue;
        exact.insert(*text);
        const QString key = text->toCaseFolded();
        if (folded.contains(key)) continue;
        folded.insert(key);
        out << *text;
    }
    sortIgnoringCase(out);
    return out;
}
}  // namespace

QStringList WorkedCounties(const logstore::ContactLog& log) {
    return distinctTexts(log, [](const logstore::ContactRecord& r) {
        return r.QSOCounty.isEmpty() ? nullptr : &r.QSOCounty;
    });
}

QStringList CountiesToGo(const logstore::CountyTable& counties, const QStringList& worked) {
    QStringList toGo;
    QStringList remaining = worked;
    for (int i = 1; i <= counties.CountyCount; ++i)
        toGo << counties.CountyNames[static_cast<std::size_t>(i)];
    // Each worked county takes out the first equal entry.
    for (const QString& county : worked) {
        for (qsizetype j = 0; j < toGo.size(); ++j)
            if (toGo[j].compare(county, Qt::CaseInsensitive) == 0) {
                toGo.removeAt(j);
                break;
            }
    }
    sortIgnoringCase(toGo);
    return toGo;
}

int CountyMultipliers(const logstore::CountyTable& counties, const QStringList& worked) {
    int count = 0;
    for (const QString& county : worked)
        for (int i = 1; i <= counties.CountyCount; ++i)
            if (counties.CountyNames[static_cast<std::size_t>(i)].compare(
                    county, Qt::CaseInsensitive) == 0) {
                ++count;
                break;
            }
    return count;
}

void RebuildStatesWorked(const logstore::ContactLog& log,
                         const setup::StateProvinceTable& table, Tally& tally) {
    for (int i = 1; i <= log.QSOCount; ++i) {
        const QString& spc = log.row(i).QSOSPC;
        if (spc.size() != 2) continue;
        if (int k = table.Find(spc)) tally.StateProvWorked[1][static_cast<std::size_t>(k)] = true;
    }
}

int CountStatesWorked(const Tally& tally) {
    int count = 0;
    for (int k = 1; k <= setup::kStateProvinces; ++k)
        if (tally.StateProvWorked[1][static_cast<std::size_t>(k)]) ++count;
    return count;
}

int DXBandIndex(const QString& band) {
    for (std::size_t b = 0; b < kDXBands.size(); ++b)
        if (band.compare(QLatin1String(kDXBands[b]), Qt::CaseInsensitive) == 0)
            return static_cast<int>(b);
    return -1;
}

void CountPerBand(const logstore::ContactLog& log, Tally& tally) {
    tally.DXCount.fill(0);
    for (int i = 1; i <= log.QSOCount; ++i) {
        const logstore::ContactRecord& r = log.row(i);
        if (r.QSOSPC.size() <= 2) continue;
        const int b = DXBandIndex(r.QSOBand);
        if (b < 0) continue;
        auto& list = tally.BandDXList[static_cast<std::size_t>(b)];
        int& count = tally.DXCount[static_cast<std::size_t>(b)];
        bool present = false;
        for (int e = 0; e < count && !present; ++e)
            present = list[static_cast<std::size_t>(e)].compare(r.QSOSPC, Qt::CaseInsensitive) == 0;
        if (present) continue;
        // The list grows as needed, so no log can overflow it.
        if (static_cast<int>(list.size()) <= count) list.resize(static_cast<std::size_t>(count) + 1);
        list[static_cast<std::size_t>(count)] = r.QSOSPC;
        ++count;
    }
}

QStringList DXWorked(const logstore::ContactLog& log) {
    return distinctTexts(log, [](const logstore::ContactRecord& r) {
        return r.QSOSPC.size() > 2 ? &r.QSOSPC : nullptr;
    });
}

std::optional<QDateTime> ContactMoment(const logstore::ContactRecord& record) {
    const std::optional<QDate> date = logstore::ParseLogDate(record.QSODate);
    const std::optional<QTime> time = logstore::ParseLogTime(record.QSOTime);
    if (!date || !time) return std::nullopt;
    return QDateTime(*date, *time, Qt::UTC);
}

std::optional<RateCounts> CountRates(const logstore::ContactLog& log, const QDateTime& utcNow) {
    RateCounts counts;
    for (int i = log.QSOCount; i >= 1; --i) {
        std::optional<QDateTime> moment = ContactMoment(log.row(i));
        if (!moment) return std::nullopt;
        const qint64 age = moment->secsTo(utcNow);
        if (age < 1200) ++counts.last20;
        if (age >= 3600) break;
        ++counts.last60;
    }
    return counts;
}

QDateTime UtcFromLocal(const QDateTime& local, float utcOffsetHours) {
    // An offset beyond any time zone is never taken (the settings refuse
    // it); should one arrive all the same it counts as none.
    if (!setup::UTCOffsetInRange(utcOffsetHours)) return local;
    const auto minutes = static_cast<qint64>(std::lround(static_cast<double>(utcOffsetHours) * 60.0));
    return local.addSecs(minutes * 60);
}

QString FormatGrouped(double value) {
    // The operator's locale: the system's, unless one was set for the program.
    return QLocale().toString(static_cast<qlonglong>(std::llround(value)));
}

}  // namespace scoring

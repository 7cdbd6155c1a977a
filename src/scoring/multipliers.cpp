#include "scoring/multipliers.h"

#include <QSet>
#include <array>

#include "mainwindow/state_province_table.h"
#include "program/program.h"

namespace scoring {

int ContactPoints(const QString& mode) {
    return mode.compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0 ? 1 : 2;
}

int LogPoints(const logstore::ContactLog& log) {
    int points = 0;
    for (int i = 1; i <= log.QSOCount; ++i) points += ContactPoints(log.row(i).QSOMode);
    return points;
}

QStringList WorkedCounties(const logstore::ContactLog& log) {
    QStringList worked;
    QSet<QString> seen;
    for (int i = 1; i <= log.QSOCount; ++i) {
        const QString& county = log.row(i).QSOCounty;
        if (county.isEmpty()) continue;
        const QString folded = county.toCaseFolded();
        if (seen.contains(folded)) continue;
        seen.insert(folded);
        worked.append(county);
    }
    return worked;
}

int StatesProvincesWorkedCount(const logstore::ContactLog& log) {
    std::array<bool, mainwindow::kStateProvinceCount + 1> worked{};
    int count = 0;
    for (int i = 1; i <= log.QSOCount; ++i) {
        const QString& field = log.row(i).QSOSPC;
        if (field.size() != 2) continue;
        const int k = mainwindow::FindStateProvince(field);
        if (k == 0 || worked[static_cast<std::size_t>(k)]) continue;
        worked[static_cast<std::size_t>(k)] = true;
        ++count;
    }
    return count;
}

int Multipliers(const Program& program) {
    const auto counties = static_cast<int>(WorkedCounties(program.log).size());
    if (program.station.StationSide != 0) return counties;
    return counties + StatesProvincesWorkedCount(program.log);
}

}  // namespace scoring

#include "keyers/cw_macros.h"

#include <algorithm>

#include "logstore/county_table.h"

namespace keyers {

QString AbbreviateCounty(const logstore::CountyTable& table, const QString& county) {
    if (county.isEmpty()) return county;
    const int count = std::min(table.CountyCount, logstore::kMaxCounties);
    for (int i = 1; i <= count && i < static_cast<int>(table.CountyNames.size()); ++i) {
        if (table.CountyNames[static_cast<std::size_t>(i)].compare(county, Qt::CaseInsensitive) != 0)
            continue;
        const QString& abbrev = table.CountyAbbrevs[static_cast<std::size_t>(i)];
        return !abbrev.isEmpty() && abbrev.size() < county.size() ? abbrev : county;
    }
    return county;
}

QString ExpandCWMacros(QString message, const MacroValues& values,
                       const logstore::CountyTable& counties) {
    message.replace(u'$', values.call.trimmed());
    message.remove(u'#');
    const QString rst = values.rst.trimmed();
    message.replace(u'*', rst.isEmpty() || rst == QLatin1String("599") ? QStringLiteral("5NN") : rst);
    message.replace(u'^', AbbreviateCounty(counties, values.county).trimmed());
    return message;
}

}  // namespace keyers

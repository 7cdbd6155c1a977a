#include "logstore/county_table.h"

#include "logstore/record.h"
#include "platform/text_file.h"

namespace logstore {

bool LoadCountyTable(CountyTable& table, const LogPlace& place) {
    table = CountyTable{};
    std::optional<QByteArray> bytes = platform::ReadWholeFile(place.WorkPath("county2.txt"));
    if (!bytes) return false;

    const QString& party = place.PartyState;
    RecordReader reader(std::move(*bytes));
    while (!reader.OnlyBlankLinesLeft()) {
        std::optional<QString> first = reader.ReadText();
        std::optional<QString> abbrev = reader.ReadText();
        if (!first || !abbrev) return false;
        if (party.size() != 2 || !first->startsWith(party, Qt::CaseSensitive)) continue;
        if (table.CountyCount >= kMaxCounties) return false;
        ++table.CountyCount;
        table.CountyNames.push_back(first->mid(2));
        table.CountyAbbrevs.push_back(*abbrev);
    }
    return true;
}

QString CountyFromAbbreviation(const CountyTable& table, QString& abbrev) {
    abbrev = abbrev.toUpper();
    for (int i = 1; i <= table.CountyCount; ++i)
        if (table.CountyAbbrevs[static_cast<std::size_t>(i)] == abbrev)
            return table.CountyNames[static_cast<std::size_t>(i)];
    return QString();
}

QString ToCountyAbbreviation(const CountyTable& table, const QString& value) {
    for (int i = 1; i <= table.CountyCount; ++i)
        if (table.CountyNames[static_cast<std::size_t>(i)].compare(value, Qt::CaseInsensitive) == 0)
            return table.CountyAbbrevs[static_cast<std::size_t>(i)];
    return value;
}

}  // namespace logstore

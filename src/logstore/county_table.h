#pragma once
// The party state's counties from county2.txt: full name and abbreviation.
#include <QString>
#include <vector>

#include "logstore/log_place.h"

namespace logstore {

inline constexpr int kMaxCounties = 1000;

struct CountyTable {
    // Rows 1 to CountyCount in file order; row 0 is never used.
    std::vector<QString> CountyNames = std::vector<QString>(1);
    std::vector<QString> CountyAbbrevs = std::vector<QString>(1);
    int CountyCount = 0;
};

// Rebuilds the table from county2.txt, keeping the records of the party state.
// False when the file cannot be read or holds more than 1,000 such records
// (the rows read before the 1,001st stay).
bool LoadCountyTable(CountyTable& table, const LogPlace& place);

// The abbreviation of the first county whose name equals `value`, ignoring
// letter case; `value` itself when no name does.
QString ToCountyAbbreviation(const CountyTable& table, const QString& value);

// The county name whose abbreviation equals `abbrev` upper-cased (which is
// written back to `abbrev`), or empty text.
QString CountyFromAbbreviation(const CountyTable& table, QString& abbrev);

}  // namespace logstore

#pragma once
// The wildcards of the CW messages: "$" the call, "#" the number (none in
// this contest, so it is removed), "*" the RST sent ("599" or nothing is sent
// as "5NN") and "^" the operating county, abbreviated.
#include <QString>

namespace logstore {
struct CountyTable;
}

namespace keyers {

// The county text that "^" sends: the abbreviation of the county named
// `county` (letter case ignored) when it is shorter; else `county` itself.
QString AbbreviateCounty(const logstore::CountyTable& table, const QString& county);

struct MacroValues {
    QString call;
    QString rst;
    QString county;
};

// Replaces the wildcards of `message`, in four passes in the order "$", "#",
// "*", "^", each value with its blanks at both ends removed.
QString ExpandCWMacros(QString message, const MacroValues& values,
                       const logstore::CountyTable& counties);

}  // namespace keyers

#pragma once
// Contest points and multipliers counted from the contact table: 1 point for
// a phone contact and 2 for any other mode; the multipliers are the distinct
// Dudurozuz counties worked and, for a station inside Dudurozuz, also the
// U.S. states and Canadian provinces and territories worked.
#include <QString>
#include <QStringList>

#include "logstore/contact_log.h"

class Program;

namespace scoring {

// The points of one contact: 1 when its mode is "PH" (any letter case), else 2.
int ContactPoints(const QString& mode);

// The points of contacts 1 to QSOCount.
int LogPoints(const logstore::ContactLog& log);

// The number of entries of the state and province table that a contact's
// two-character state/province/country field names, ignoring letter case.
int StatesProvincesWorkedCount(const logstore::ContactLog& log);

// The multipliers of the station: the worked counties of the county table,
// plus the states and provinces worked when the station is inside Dudurozuz
// (StationSide 0).
int Multipliers(const Program& program);

}  // namespace scoring

#include "scoring/multipliers.h"


#include "program/program.h"
#include "scoring/worked.h"
#include "setup/state_province_table.h"

namespace scoring {

int ContactPoints(const QString& mode) {
    return mode.compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0 ? 1 : 2;
}

int LogPoints(const logstore::ContactLog& log) {
    int points = 0;
    for (int i = 1; i <= log.QSOCount; ++i) points += ContactPoints(log.row(i).QSOMode);
    return points;
}

int StatesProvincesWorkedCount(const logstore::ContactLog& log) {
    setup::StateProvinceTable table;
    table.Build();
    Tally tally;
    RebuildStatesWorked(log, table, tally);
    return CountStatesWorked(tally);
}

int Multipliers(const Program& program) {
    const int counties = CountyMultipliers(program.counties, WorkedCounties(program.log));
    if (program.station.StationSide != 0) return counties;
    return counties + StatesProvincesWorkedCount(program.log);
}

}  // namespace scoring

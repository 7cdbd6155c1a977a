#pragma once
// What the log says has been worked: the mode counts and points, the county,
// state and DX lists, and the QSO rates. Plain computations over the contact
// table that the main windows show.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

#include "logstore/contact_log.h"
#include "logstore/county_table.h"
#include "scoring/tally.h"

namespace setup {
struct StateProvinceTable;
}

namespace scoring {

// Recounts QSOPoints and the PH, CW and digital contacts over the whole log:
// "PH" (any case) scores 1 point, every other mode 2.
void CountModes(const logstore::ContactLog& log, Tally& tally);
// Adds one contact of `mode` to the points and mode counts.
void CountContact(const QString& mode, Tally& tally);

// The distinct non-empty counties received, the first spelling met in log
// order, in alphabetical order ignoring case.
QStringList WorkedCounties(const logstore::ContactLog& log);

// The counties of the county table not in `worked` (compared ignoring case),
// in alphabetical order ignoring case.
QStringList CountiesToGo(const logstore::CountyTable& counties, const QStringList& worked);

// How many of the worked counties are counties of the party state; a county
// text outside the county table is listed but is no multiplier.
int CountyMultipliers(const logstore::CountyTable& counties, const QStringList& worked);

// Sets the worked flag of every state or province code (exactly two
// characters) found in the log.
void RebuildStatesWorked(const logstore::ContactLog& log,
                         const setup::StateProvinceTable& table, Tally& tally);

// Counts the flags set for entries 1 to 63.
int CountStatesWorked(const Tally& tally);

// Rebuilds the per-band DX country lists from the log.
void CountPerBand(const logstore::ContactLog& log, Tally& tally);

// The index of `band` among the DX bands, or -1.
int DXBandIndex(const QString& band);

// The distinct DX countries (texts longer than two characters) of the log,
// in alphabetical order ignoring case.
QStringList DXWorked(const logstore::ContactLog& log);

// Contacts of the last 20 and 60 minutes, scanning from the newest in log
// order and stopping at the first one an hour old. std::nullopt when a
// contact's date and time cannot be read.
struct RateCounts {
    int last20 = 0;
    int last60 = 0;
};
std::optional<RateCounts> CountRates(const logstore::ContactLog& log, const QDateTime& utcNow);

// A contact's moment from its date "yyyy/mm/dd" and time "hh:mm:ss" or
// "hh:mm"; std::nullopt when they do not read as a date and time.
std::optional<QDateTime> ContactMoment(const logstore::ContactRecord& record);

// The UTC date and time for a local date and time and an offset in hours,
// applied in whole minutes.
QDateTime UtcFromLocal(const QDateTime& local, float utcOffsetHours);

// A whole number grouped by thousands with the system's separator.
QString FormatGrouped(double value);

// Inserts `text` into `list` keeping alphabetical order ignoring case.
void InsertSorted(QStringList& list, const QString& text);
// Whether `list` holds `text` ignoring case.
bool ContainsText(const QStringList& list, const QString& text);

}  // namespace scoring

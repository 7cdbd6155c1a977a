#pragma once
// The call-sign prefix lookup: the part of a call that is searched, the
// search of the prefix table, what the in-state window shows for the call in
// its call box, the country of a spotted call, the bearing and distance
// texts, and the Canadian province of a call.
//
// Everything here is free of windows: the in-state window feeds in the texts
// of its boxes and applies what comes back.
#include <QString>
#include <optional>

class Program;

namespace setup {
struct PrefixTable;
}

namespace entry {

// The part of a call that is searched. After the first "/" the rest is taken
// alone when it is longer than 1 character and shorter than half the call
// (W9ABC/VE3 gives VE3); otherwise the whole text is searched (KH6/W9ABC,
// W9ABC/P, A/BC).
QString SearchedCall(const QString& call);

// The row of the longest prefix that `call` begins with; of equally long
// prefixes the one met first in scan order. Row 0 with length 0 when none.
struct PrefixMatch {
    int row = 0;
    int length = 0;
};

// Searches the block of rows that begin with the call's first character,
// starting at a row interpolated from that character. `sensitivity` is
// Qt::CaseInsensitive for the in-state window (dictionary comparisons) and
// Qt::CaseSensitive for CountryFromCall (character codes). A call whose
// first character comes after "Z" finds nothing; only rows 1 to PrefixCount
// are ever read.
PrefixMatch FindPrefix(const setup::PrefixTable& table, const QString& call,
                       Qt::CaseSensitivity sensitivity);

// What the in-state window does with the bearing and distance labels
// (Label22, Label23).
enum class BearingAction {
    Leave,  // keep what they show
    Clear,  // empty both
    Show,   // run ShowBearingDistance(latitude, longitude)
};

// The outcome of LookupCallPrefix for the in-state window. The window applies
// it in this order:
//   1. `country`: write it into txtCntry (its change handler runs at once and
//      may write the labels; what follows overrides them);
//   2. `continent`: write it into Label19;
//   3. `bearing`: clear Label22 and Label23, or run ShowBearingDistance;
//   4. `countrySelLength`: set txtCntry's selection length.
// An empty optional leaves that control as it is.
struct PrefixLookupResult {
    QString LookupCall;  // the call as searched
    std::optional<QString> country;
    std::optional<QString> continent;
    BearingAction bearing = BearingAction::Leave;
    float latitude = 0;   // of the target, for BearingAction::Show
    float longitude = 0;
    std::optional<int> countrySelLength;
};

// The lookup for the text of the call box `callText`, with the country box
// holding `countryText`. Every comparison ignores letter case.
// - USA or Canada: the country box stays, the continent is "NA", bearing and
//   distance are emptied.
// - Any other country: the country box gets it ("AK" for Alaska, "HI" for
//   Hawaii), with the continent and position of its row; a call box beginning
//   with "KG4" of 4 or more than 5 characters instead empties the country box
//   and takes the continent and position of the first "USA" row (without a
//   "USA" row the lookup writes nothing).
// - No match: "Not Found", and the three labels are emptied.
// Whenever the country box ends up reading "Not Found" the three labels are
// emptied, also for an empty call box, which otherwise changes nothing.
PrefixLookupResult LookupCallPrefix(const setup::PrefixTable& table, const QString& callText,
                                    const QString& countryText);
// The same over the program's prefix table; keeps the searched call in
// LookupCall.
PrefixLookupResult LookupCallPrefix(Program& program, const QString& callText,
                                    const QString& countryText);

// The country of the call's longest prefix as the table has it, by character
// code; "USA" when a prefix matches and the searched call begins with "KG4"
// and is longer than 5 characters; empty when nothing matches or the call is
// empty.
QString CountryFromCall(const setup::PrefixTable& table, const QString& call);
// The same over the program's prefix table; keeps the searched call in
// LookupCall.
QString CountryFromCall(Program& program, const QString& call);

// The texts of the bearing and distance labels (Label22, Label23).
struct BearingDistanceText {
    QString bearing;
    QString distance;
};

// Bearing in degrees from true north and great-circle distance in miles from
// the station's own position to a target. Positions are degrees, latitude
// positive north and longitude positive west. Each text is the whole number
// (empty when it rounds to 0) followed by one blank, the distance grouped by
// thousands with the system's separator. Both texts are empty when the
// position makes the arc cosine fail (the target at the station itself, and
// depending on rounding its antipode or a target due north or south).
BearingDistanceText BearingDistance(float ownLatitude, float ownLongitude, float latitude,
                                    float longitude);

// The Canadian province or territory code for the first three characters of
// a call ("VE3..." gives "ON"), ignoring letter case; empty for a call of 2
// characters or less or any other beginning.
QString CanadianProvinceCode(const QString& call);

}  // namespace entry

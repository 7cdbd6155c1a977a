#pragma once
// The bands of the contest as the output files name them: the band text a
// contact holds, the five-character frequency field of its Cabrillo line and
// its ADIF band name.
#include <array>

namespace scoring {

struct ContestBand {
    const char* band;           // QSOBand
    const char* cabrilloField;  // right-aligned in five characters
    const char* adifBand;       // the ADIF band enumeration, upper case
};

inline constexpr std::array<ContestBand, 12> kContestBands = {{
    {"160", " 1800", "160M"}, {"80", " 3500", "80M"},    {"40", " 7000", "40M"},
    {"20", "14000", "20M"},   {"15", "21000", "15M"},    {"10", "28000", "10M"},
    {"6", "   50", "6M"},     {"2", "  144", "2M"},      {"222", "  222", "1.25M"},
    {"432", "  432", "70CM"}, {"902", "  903", "33CM"},  {"1.3 G", "  1.2", "23CM"},
}};

}  // namespace scoring

#include "setup/state_province_table.h"

namespace setup {

namespace {

struct Entry {
    const char* code;
    const char* name;
    float left, top;
};

// In table order; each entry's grid column and row.
constexpr std::array<Entry, kStateProvinces> kEntries = {{
    {"CT", "Connecticut", 6960, 2880},      {"MA", "Massachusetts", 6600, 2880},
    {"ME", "Maine", 6600, 3120},            {"NH", "New Hampshire", 6600, 3360},
    {"RI", "Rhode Island", 6960, 3120},     {"VT", "Vermont", 6960, 3360},
    {"NY", "New York", 6600, 4080},         {"NJ", "New Jersey", 6960, 4080},
    {"DE", "Delaware", 6600, 4800},         {"PA", "Pennsylvania", 6600, 5040},
    {"MD", "Maryland", 6960, 4800},         {"AL", "Alabama", 7320, 2880},
    {"GA", "Georgia", 7320, 3120},          {"KY", "Kentucky", 7320, 3360},
    {"NC", "North Carolina", 7320, 3600},   {"FL", "Florida", 7680, 2880},
    {"SC", "South Carolina", 7680, 3120},   {"TN", "Tennessee", 7680, 3360},
    {"VA", "Virginia", 7680, 3600},         {"AR", "Arkansas", 7320, 4320},
    {"LA", "Louisiana", 7320, 4560},        {"MS", "Mississippi", 7320, 4785},
    {"NM", "New Mexico", 7680, 4305},       {"TX", "Texas", 7680, 4545},
    {"OK", "Oklahoma", 7680, 4785},         {"CA", "California", 7320, 5400},
    {"HI", "Hawaii", 7680, 5400},           {"AZ", "Arizona", 8040, 2880},
    {"WA", "Washington", 8040, 3120},       {"ID", "Idaho", 8040, 3360},
    {"MT", "Montana", 8040, 3600},          {"NV", "Nevada", 8040, 3840},
    {"OR", "Oregon", 8400, 2880},           {"UT", "Utah", 8400, 3120},
    {"WY", "Wyoming", 8400, 3360},          {"AK", "Alaska", 8400, 3600},
    {"MI", "Michigan", 8040, 4560},         {"OH", "Ohio", 8040, 4800},
    {"WV", "West Virginia", 8400, 4560},    {"IL", "Illinois", 8040, 5400},
    {"IN", "Indiana", 8400, 5160},          {"WI", "Dudurozuz", 8400, 5400},
    {"CO", "Colorado", 8760, 2880},         {"IA", "Iowa", 8760, 3120},
    {"KS", "Kansas", 8760, 3360},           {"MN", "Minnesota", 8760, 3600},
    {"MO", "Missouri", 9120, 2880},         {"NE", "Nebraska", 9120, 3120},
    {"ND", "North Dakota", 9120, 3360},     {"SD", "South Dakota", 9120, 3600},
    {"NB", "New Brunswick", 8760, 4200},    {"NS", "Nova Scotia", 8760, 4440},
    {"QC", "Quebec", 8760, 4680},           {"ON", "Ontario", 8760, 4920},
    {"MB", "Manitoba", 8760, 5160},         {"SK", "Saskatchewan", 8760, 5400},
    {"AB", "Alberta", 8760, 5640},          {"BC", "British Columbia", 9120, 4200},
    {"NT", "Northwest Territories", 9120, 4440}, {"NL", "Newfoundland-Labrador", 9120, 4680},
    {"NU", "Nunavut", 9120, 4920},          {"PE", "Prince Edward", 9120, 5160},
    {"YT", "Yukon Territory", 9120, 5400},
}};

constexpr std::array<GridHeading, 11> kHeadings = {{
    {"lblSecOne", "1", 6600, 2520},   {"lblSecTwo", "2", 6600, 3720},
    {"lblSecThre", "3", 6600, 4440},  {"lblSecFour", "4", 7320, 2520},
    {"lblSecFive", "5", 7320, 3960},  {"Label14", "6", 7320, 5085},
    {"lblSecSix", "7", 8040, 2520},   {"lblSecEight", "8", 8040, 4200},
    {"lblSecNine", "9", 8040, 5085},  {"lblSecZero", "0", 8760, 2520},
    {"lblSecCA", "Canada", 8760, 3840},
}};

}  // namespace

namespace {
// The index of a two-letter code in the letter table, or -1.
int letterIndex(QChar a, QChar b) {
    const char16_t x = QChar(a).toUpper().unicode();
    const char16_t y = QChar(b).toUpper().unicode();
    if (x < u'A' || x > u'Z' || y < u'A' || y > u'Z') return -1;
    return (x - u'A') * 26 + (y - u'A');
}
}  // namespace

void StateProvinceTable::Build() {
    byLetters_.fill(0);
    for (int k = kStateProvinces; k >= 1; --k) {
        const Entry& e = kEntries[static_cast<std::size_t>(k - 1)];
        StateProvAbbrev[static_cast<std::size_t>(k)] = QString::fromLatin1(e.code);
        StateProvName[static_cast<std::size_t>(k)] = QString::fromLatin1(e.name);
        byLetters_[static_cast<std::size_t>(letterIndex(QChar(e.code[0]), QChar(e.code[1])))] =
            static_cast<unsigned char>(k);
    }
}

int StateProvinceTable::Find(const QString& code) const {
    // Every code is two letters: those are found at once.
    if (code.size() == 2) {
        const int i = letterIndex(code[0], code[1]);
        return i < 0 ? 0 : byLetters_[static_cast<std::size_t>(i)];
    }
    for (int k = 1; k <= kStateProvinces; ++k) {
        const QString& abbrev = StateProvAbbrev[static_cast<std::size_t>(k)];
        if (!abbrev.isEmpty() && abbrev.compare(code, Qt::CaseInsensitive) == 0) return k;
    }
    return 0;
}

GridPlace StateGridLabelPlace(int k) {
    // Every cell is as wide as its column's pitch and no higher than the
    // closest rows, so no cell lies over its neighbour and the right-most
    // column ends on the client area's edge.
    const Entry& e = kEntries.at(static_cast<std::size_t>(k - 1));
    return {e.left, e.top, kStateGridPitch, kStateGridCellHeight};
}

const std::array<GridHeading, 11>& StateGridHeadings() { return kHeadings; }

}  // namespace setup

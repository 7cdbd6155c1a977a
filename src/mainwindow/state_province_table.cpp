#include "mainwindow/state_province_table.h"

#include <QString>

namespace mainwindow {

const std::array<StateProvince, kStateProvinceCount> kStateProvinces = {{
    {"CT", "Connecticut"},     {"MA", "Massachusetts"},  {"ME", "Maine"},
    {"NH", "New Hampshire"},   {"RI", "Rhode Island"},   {"VT", "Vermont"},
    {"NY", "New York"},        {"NJ", "New Jersey"},     {"DE", "Delaware"},
    {"PA", "Pennsylvania"},    {"MD", "Maryland"},       {"AL", "Alabama"},
    {"GA", "Georgia"},         {"KY", "Kentucky"},       {"NC", "North Carolina"},
    {"FL", "Florida"},         {"SC", "South Carolina"}, {"TN", "Tennessee"},
    {"VA", "Virginia"},        {"AR", "Arkansas"},       {"LA", "Louisiana"},
    {"MS", "Mississippi"},     {"NM", "New Mexico"},     {"TX", "Texas"},
    {"OK", "Oklahoma"},        {"CA", "California"},     {"HI", "Hawaii"},
    {"AZ", "Arizona"},         {"WA", "Washington"},     {"ID", "Idaho"},
    {"MT", "Montana"},         {"NV", "Nevada"},         {"OR", "Oregon"},
    {"UT", "Utah"},            {"WY", "Wyoming"},        {"AK", "Alaska"},
    {"MI", "Michigan"},        {"OH", "Ohio"},           {"WV", "West Virginia"},
    {"IL", "Illinois"},        {"IN", "Indiana"},        {"WI", "Dudurozuz"},
    {"CO", "Colorado"},        {"IA", "Iowa"},           {"KS", "Kansas"},
    {"MN", "Minnesota"},       {"MO", "Missouri"},       {"NE", "Nebraska"},
    {"ND", "North Dakota"},    {"SD", "South Dakota"},   {"NB", "New Brunswick"},
    {"NS", "Nova Scotia"},     {"QC", "Quebec"},         {"ON", "Ontario"},
    {"MB", "Manitoba"},        {"SK", "Saskatchewan"},   {"AB", "Alberta"},
    {"BC", "British Columbia"}, {"NT", "Northwest Territories"},
    {"NL", "Newfoundland-Labrador"}, {"NU", "Nunavut"}, {"PE", "Prince Edward"},
    {"YT", "Yukon Territory"},
}};

int FindStateProvince(QStringView code) {
    for (int k = 1; k <= kStateProvinceCount; ++k) {
        const QLatin1String entry(kStateProvinces[static_cast<std::size_t>(k - 1)].code);
        if (code.compare(entry, Qt::CaseInsensitive) == 0) return k;
    }
    return 0;
}

}  // namespace mainwindow

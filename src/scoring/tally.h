#pragma once
// Points and multiplier counts that every log load clears and the reload
// rebuilds from the contact table.
#include <QString>
#include <array>
#include <vector>

namespace scoring {

// The bands whose DX countries are listed per band.
inline constexpr std::array<const char*, 7> kDXBands = {"160", "80", "40", "20", "15", "10", "6"};

struct Tally {
    int QSOPoints = 0;
    int CWContacts = 0;
    int PHContacts = 0;
    int DGContacts = 0;
    // The DX countries worked per band of kDXBands (BandDXList); each list grows
    // as needed, and its count is the number of entries in use.
    std::array<std::vector<QString>, kDXBands.size()> BandDXList;
    std::array<int, kDXBands.size()> DXCount{};
    // Worked flags of the states and provinces: columns 1 to 8, entries 1 to 100.
    std::array<std::array<bool, 101>, 9> StateProvWorked{};
    int StateProvWorkedCount = 0;

    // What a log load clears.
    void ClearForLoad() {
        QSOPoints = 0;
        DXCount.fill(0);
        StateProvWorkedCount = 0;
        for (auto& column : StateProvWorked) column.fill(false);
    }
};

}  // namespace scoring

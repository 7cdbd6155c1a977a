#pragma once
// The 63 U.S. states and Canadian provinces and territories that a station
// inside Dudurozuz counts as multipliers: entries 1 to 50 the states, 51 to 63
// the provinces and territories, in the order of the in-state window's grid.
#include <QStringView>
#include <array>

namespace mainwindow {

struct StateProvince {
    const char* code;  // two upper-case letters
    const char* name;
};

inline constexpr int kStateProvinceCount = 63;

// Entry k of the table is element k - 1.
extern const std::array<StateProvince, kStateProvinceCount> kStateProvinces;

// The index (1 to 63) of the first entry whose code equals `code`, ignoring
// letter case; 0 when none does.
int FindStateProvince(QStringView code);

}  // namespace mainwindow

#pragma once
// The 63 U.S. states and Canadian provinces and territories that count as
// multipliers for a station inside the party state, with the place of each
// label of the in-state window's grid.
#include <QString>
#include <array>
#include <cstdint>

namespace setup {

inline constexpr int kStateProvinces = 63;

struct StateProvinceTable {
    // Entries 1 to 63; entry 0 and 64 to 100 stay empty.
    std::array<QString, 101> StateProvAbbrev;
    std::array<QString, 101> StateProvName;

    // Fills entries 1 to 63.
    void Build();
    // The first entry whose code equals `code` ignoring case, or 0.
    int Find(const QString& code) const;

private:
    // Entry of each two-letter code, by (first - 'A') * 26 + (second - 'A').
    std::array<unsigned char, 26 * 26> byLetters_{};
};

// Design place of a grid label and of a block heading, in twips. The
// columns stand 360 twips apart and the rows 240 (225 in the fifth block):
// a cell takes one column and 225 twips, a block heading one column and one
// row, "Canada" two columns.
inline constexpr float kStateGridPitch = 360;
inline constexpr float kStateGridRow = 240;
inline constexpr float kStateGridCellHeight = 225;
struct GridPlace {
    float left, top, width, height;
};
GridPlace StateGridLabelPlace(int k);  // k = 1 to 63

struct GridHeading {
    const char* name;
    const char* caption;
    float left, top;
};
const std::array<GridHeading, 11>& StateGridHeadings();

}  // namespace setup

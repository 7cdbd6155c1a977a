#pragma once
// The call-sign prefix table (arrlpre2.txt) and the state positions
// (states.txt), loaded once at set-up and only read afterwards.
#include <QString>
#include <vector>

class Program;

namespace setup {

inline constexpr int kMaxPrefixes = 10000;
inline constexpr int kStatePositions = 50;

struct PrefixRow {
    QString prefix;
    QString country;
    QString continent;
    float longitude = 0;  // degrees, positive west
    float latitude = 0;   // degrees, positive north
};

struct PrefixTable {
    // Rows 1 to PrefixCount in file order; row 0 is empty.
    std::vector<PrefixRow> rows = std::vector<PrefixRow>(1);
    int PrefixCount = 0;

    // Row `index`, or the empty row 0 for any index outside 1 to PrefixCount.
    const PrefixRow& row(int index) const {
        return (index >= 1 && index <= PrefixCount) ? rows[static_cast<std::size_t>(index)]
                                                    : rows[0];
    }
};

struct StatePosition {
    QString code;
    float latitude = 0;   // positive north
    float longitude = 0;  // positive west
};

struct StatePositionTable {
    // Rows 1 to 50; rows 0 and 51 to 55 stay empty.
    std::vector<StatePosition> rows = std::vector<StatePosition>(56);
};

// The arrlpre2.txt that the prefix table is loaded from: the first of the
// shared, data and working folders that has it; empty when none has.
QString PrefixTablePath(const Program& program);

// Loads arrlpre2.txt from the shared, data or working folder (the first that
// has it). No file leaves the table empty and succeeds; a bad row or a
// 10,001st row fails, keeping the rows read whole before it.
bool LoadPrefixTable(Program& program);

// Loads rows 1 to 50 of states.txt from the working folder.
bool LoadStatePositionTable(Program& program);

}  // namespace setup

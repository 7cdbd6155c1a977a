#pragma once
// BandPlan.txt: the privileges of the licence classes, band by band. The
// file holds an effective date and then rows of five items: band, class
// ("O" for the band's outline row, else N/T/P/G/A/E), mode ("CW" or "PH"),
// lower and upper edge in MHz.
#include <QString>
#include <optional>
#include <vector>

namespace rig {

struct BandPlanRow {
    QString band;
    QString licenceClass;
    QString mode;
    float lower = 0;
    float upper = 0;
};

// The whole file, as the privileges chart reads it.
struct BandPlanFile {
    QString effectiveDate;
    std::vector<BandPlanRow> rows;
};

// Reads the file at `path`; std::nullopt when it cannot be read. A row cut
// short at the end of the file is dropped; an edge that is no number reads
// as 0.
std::optional<BandPlanFile> ReadBandPlanFile(const QString& path);

// The Extra-class rows, in file order, that the rig control picks the
// radio's mode from when it tunes.
class BandPlanTable {
public:
    static constexpr int kCapacity = 200;

    // Keeps the rows of class "E" of `path` (at most kCapacity; further ones
    // are not kept). A missing file gives an empty table.
    static BandPlanTable Load(const QString& path);

    int BandPlanCount() const { return static_cast<int>(rows_.size()); }
    const std::vector<BandPlanRow>& rows() const { return rows_; }
    void Add(const BandPlanRow& row);

    // The first row whose edges hold `mhz` strictly between them.
    const BandPlanRow* RowFor(float mhz) const;
    // The mode name to set for `mhz`: the row's mode, with phone as "USB"
    // (or "LSB" on 80, 60 and 40 m); empty on 160 m and outside every row.
    QString SidebandForFrequency(float mhz) const;

private:
    std::vector<BandPlanRow> rows_;
};

}  // namespace rig

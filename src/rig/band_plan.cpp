#include "rig/band_plan.h"

#include "logstore/record.h"
#include "platform/text_file.h"

namespace rig {

std::optional<BandPlanFile> ReadBandPlanFile(const QString& path) {
    const std::optional<QByteArray> bytes = platform::ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    logstore::RecordReader reader(*bytes);
    BandPlanFile file;
    file.effectiveDate = reader.ReadText().value_or(QString());
    for (;;) {
        if (reader.OnlyBlankLinesLeft()) break;
        BandPlanRow row;
        const std::optional<QString> band = reader.ReadText();
        const std::optional<QString> cls = reader.ReadText();
        const std::optional<QString> mode = reader.ReadText();
        const std::optional<logstore::RecordReader::Number> lower = reader.ReadNumber();
        const std::optional<logstore::RecordReader::Number> upper = reader.ReadNumber();
        if (!band || !cls || !mode || !lower || !upper) break;
        row.band = *band;
        row.licenceClass = *cls;
        row.mode = *mode;
        row.lower = static_cast<float>(lower->value);
        row.upper = static_cast<float>(upper->value);
        file.rows.push_back(row);
    }
    return file;
}

BandPlanTable BandPlanTable::Load(const QString& path) {
    BandPlanTable table;
    const std::optional<BandPlanFile> file = ReadBandPlanFile(path);
    if (!file) return table;
    for (const BandPlanRow& row : file->rows)
        if (row.licenceClass == u"E") table.Add(row);
    return table;
}

void BandPlanTable::Add(const BandPlanRow& row) {
    if (BandPlanCount() < kCapacity) rows_.push_back(row);
}

const BandPlanRow* BandPlanTable::RowFor(float mhz) const {
    for (const BandPlanRow& row : rows_)
        if (row.lower < mhz && mhz < row.upper) return &row;
    return nullptr;
}

QString BandPlanTable::SidebandForFrequency(float mhz) const {
    const BandPlanRow* row = RowFor(mhz);
    if (!row || row->band == u"160") return {};
    if (row->mode == u"PH")
        return (row->band == u"80" || row->band == u"60" || row->band == u"40") ? QStringLiteral("LSB")
                                                                                 : QStringLiteral("USB");
    return row->mode;
}

}  // namespace rig

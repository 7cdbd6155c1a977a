#include "setup/reference_tables.h"

#include <QFileInfo>
#include <cmath>

#include "logstore/record.h"
#include "platform/text_file.h"
#include "program/program.h"

namespace setup {

namespace {

std::optional<float> readPosition(logstore::RecordReader& reader) {
    std::optional<logstore::RecordReader::Number> n = reader.ReadNumber();
    if (!n || !n->numeric) return std::nullopt;
    return static_cast<float>(n->value);
}

std::optional<logstore::RecordReader> openRecords(const QString& path) {
    std::optional<QByteArray> bytes = platform::ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    return logstore::RecordReader(std::move(*bytes));
}

}  // namespace

QString PrefixTablePath(const Program& program) {
    for (const QString& folder : {program.folders.SharedFolder, program.folders.DataFolder,
                                  program.folders.WorkingFolder}) {
        if (!folder.isEmpty() && QFileInfo(folder + "/arrlpre2.txt").isFile())
            return folder + "/arrlpre2.txt";
    }
    return {};
}

bool LoadPrefixTable(Program& program) {
    PrefixTable& table = program.prefixes;
    table = PrefixTable{};

    const QString path = PrefixTablePath(program);
    if (path.isEmpty()) return true;

    std::optional<logstore::RecordReader> reader = openRecords(path);
    if (!reader) return false;
    while (!reader->OnlyBlankLinesLeft()) {
        if (table.PrefixCount >= kMaxPrefixes) return false;
        PrefixRow row;
        std::optional<QString> prefix = reader->ReadText();
        std::optional<QString> country = reader->ReadText();
        std::optional<QString> continent = reader->ReadText();
        if (!prefix || !country || !continent) return false;
        std::optional<float> longitude = readPosition(*reader);
        std::optional<float> latitude = readPosition(*reader);
        if (!longitude || !latitude) return false;
        for (int extra = 0; extra < 3; ++extra)
            if (!reader->ReadText()) return false;
        row.prefix = *prefix;
        row.country = *country;
        row.continent = *continent;
        row.longitude = *longitude;
        row.latitude = *latitude;
        table.rows.push_back(std::move(row));
        ++table.PrefixCount;
    }
    return true;
}

bool LoadStatePositionTable(Program& program) {
    StatePositionTable& table = program.statePositions;
    table = StatePositionTable{};
    std::optional<logstore::RecordReader> reader = openRecords(program.WorkPath("states.txt"));
    if (!reader) return false;
    for (int i = 1; i <= kStatePositions; ++i) {
        std::optional<QString> code = reader->ReadText();
        if (!code) return false;
        StatePosition& row = table.rows[static_cast<std::size_t>(i)];
        row.code = *code;
        std::optional<float> latitude = readPosition(*reader);
        if (!latitude) return false;
        row.latitude = *latitude;
        std::optional<float> longitude = readPosition(*reader);
        if (!longitude) return false;
        row.longitude = *longitude;
    }
    return true;
}

}  // namespace setup

#include "spotting/spot_line.h"

#include "spotting/spot_store.h"

namespace spotting {

QStringView TrimSpaces(QStringView line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && line[begin] == u' ') ++begin;
    while (end > begin && line[end - 1] == u' ') --end;
    return line.sliced(begin, end - begin);
}

QStringView Columns(QStringView line, qsizetype first, qsizetype count) {
    const qsizetype start = first - 1;
    if (start < 0 || count <= 0 || start >= line.size()) return {};
    return line.sliced(start, std::min(count, line.size() - start));
}

bool BeginsWithDX(QStringView line) {
    return line.size() >= 2 && line.first(2).compare(u"DX", Qt::CaseInsensitive) == 0;
}

std::optional<SpotLine> ParseSpotLine(QStringView line) {
    if (!BeginsWithDX(line) || line.size() < 3) return std::nullopt;
    // The columns are read from the line without its line end, so that a
    // short line never hands a CR or LF on as part of its call.
    QStringView fields = line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (fields[i] == u'\r' || fields[i] == u'\n') {
            fields.truncate(i);
            break;
        }
    }
    SpotLine spot;
    spot.frequency = TrimSpaces(Columns(fields, 16, 9)).toString();
    spot.call = TrimSpaces(Columns(fields, 27, 13)).toString();
    if (spot.call.isEmpty() || !SpotFrequencyKHz(spot.frequency)) return std::nullopt;
    spot.record = TrimSpaces(line.sliced(3)).toString();
    return spot;
}

}  // namespace spotting

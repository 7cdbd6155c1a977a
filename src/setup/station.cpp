#include "setup/station.h"

#include <QDateTime>
#include <QStringList>
#include <cmath>
#include <limits>
#include <variant>

#include "logstore/record.h"
#include "platform/text_file.h"
#include "program/program.h"

namespace setup {

namespace {

const QString kPrefFile = QStringLiteral("QSOpref.txt");

using Field = std::variant<QString Station::*, float Station::*, std::uint8_t Station::*,
                           std::int32_t Station::*>;

// The values of QSOpref.txt in file order.
const std::array<Field, kQSOPrefValues> kFields = {
    &Station::OwnCall,         &Station::OwnSPC,         &Station::OwnCountry,
    &Station::HomeCounty,      &Station::OwnName,        &Station::OwnCategory,
    &Station::OperatingCounty, &Station::OwnCity,        &Station::CurrentMode,
    &Station::CurrentBand,     &Station::UTCOffsetHours, &Station::OwnLongitude,
    &Station::OwnLatitude,     &Station::OwnContinent,   &Station::FormSizePercent,
    &Station::WorkedColor,     &Station::RemainingColor, &Station::BankedOperatingSeconds,
    &Station::PartyState,      &Station::StationSide,    &Station::RoverMode,
    &Station::VoiceNavMode,    &Station::RigType,        &Station::TaskbarLayout,
    &Station::ListPrevious,
};

// A whole number within [low, high], rounded to nearest as a conversion does.
template <typename T>
std::optional<T> wholeNumber(double value) {
    const double rounded = std::nearbyint(value);
    if (rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(rounded);
}

// Values whose stored number is taken only within a range; outside it the
// value stays as it was before the read.
bool keptOutsideRange(const Field& field, double v) {
    if (field == Field(&Station::UTCOffsetHours)) return !UTCOffsetInRange(v);
    if (field == Field(&Station::BankedOperatingSeconds)) return !OperatingSecondsInRange(v);
    return false;
}

bool readField(logstore::RecordReader& reader, Station& station, const Field& field) {
    if (auto text = std::get_if<QString Station::*>(&field)) {
        std::optional<QString> item = reader.ReadText();
        if (!item) return false;
        station.**text = *item;
        return true;
    }
    std::optional<logstore::RecordReader::Number> number = reader.ReadNumber();
    if (!number || !number->numeric) return false;
    const double v = number->value;
    if (keptOutsideRange(field, v)) return true;
    if (auto single = std::get_if<float Station::*>(&field)) {
        if (std::fabs(v) > std::numeric_limits<float>::max()) return false;
        station.**single = static_cast<float>(v);
    } else if (auto byte = std::get_if<std::uint8_t Station::*>(&field)) {
        std::optional<std::uint8_t> b = wholeNumber<std::uint8_t>(v);
        if (!b) return false;
        station.**byte = *b;
    } else {
        std::optional<std::int32_t> l = wholeNumber<std::int32_t>(v);
        if (!l) return false;
        station.*std::get<std::int32_t Station::*>(field) = *l;
    }
    return true;
}

void writeField(QString& out, const Station& station, const Field& field) {
    logstore::RecordWriter writer;
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(station.*member)>;
            if constexpr (std::is_same_v<T, QString>)
                writer.Text(station.*member);
            else if constexpr (std::is_same_v<T, float>)
                writer.Single(station.*member);
            else
                writer.Integer(station.*member);
        },
        field);
    out += writer.Line();
}

}  // namespace

bool UTCOffsetInRange(double hours) {
    return std::isfinite(hours) && std::fabs(hours) <= kMaxUTCOffsetHours;
}

bool OperatingSecondsInRange(double seconds) {
    return std::isfinite(seconds) && seconds >= 0 && seconds <= kMaxOperatingSeconds;
}

Station FirstRunStation() {
    Station s;
    s.CurrentMode = QStringLiteral("CW");
    s.CurrentBand = QStringLiteral("20");
    s.FormSizePercent = 100;
    s.WorkedColor = 0x0000FF;  // red
    s.RemainingColor = 0;      // black
    s.PartyState = QStringLiteral("WI");
    s.RigType = QStringLiteral("None");
    return s;
}

bool SaveQSOPref(Program& program) {
    QString text;
    for (const Field& field : kFields) writeField(text, program.station, field);
    QString error;
    if (!platform::WriteFileAtomically(program.WorkPath(kPrefFile), platform::EncodeAnsi(text),
                                       &error)) {
        program.ReportWriteFailure(error);
        return false;
    }
    return true;
}

bool LoadQSOPref(Program& program) {
    std::optional<QByteArray> bytes = platform::ReadWholeFile(program.WorkPath(kPrefFile));
    if (!bytes) return false;
    logstore::RecordReader reader(std::move(*bytes));
    for (const Field& field : kFields)
        if (!readField(reader, program.station, field)) return false;
    return true;
}

float RecommendedUTCOffset(const QDateTime& local, const QDateTime& utc) {
    // Minute boundaries crossed from local to UTC time, as a calendar count.
    auto minuteIndex = [](const QDateTime& t) {
        const qint64 s = QDateTime(t.date(), t.time(), Qt::UTC).toSecsSinceEpoch();
        return s >= 0 ? s / 60 : (s - 59) / 60;
    };
    const qint64 minutes = minuteIndex(utc) - minuteIndex(local);
    return static_cast<float>(std::round(static_cast<double>(minutes) / 60.0 * 100.0) / 100.0);
}

namespace {

// The PC clock's UTC time, without its milliseconds, and its local time.
struct ClockReading {
    QDateTime utc;
    QDateTime local;
};

ClockReading readClock(const platform::Clock& clock) {
    QDateTime utc = clock.UtcNow();
    utc.setTime(QTime(utc.time().hour(), utc.time().minute(), utc.time().second()));
    return {utc, clock.LocalNow()};
}

}  // namespace

float ClockUTCOffset(Program& program) {
    const ClockReading now = readClock(program.clock());
    return RecommendedUTCOffset(now.local, now.utc);
}

void CheckUTCOffset(Program& program) {
    float& offset = program.station.UTCOffsetHours;
    const float kept = offset;

    const auto [utc, local] = readClock(program.clock());
    const float recommended = RecommendedUTCOffset(local, utc);
    if (offset == recommended) return;

    const QStringList lines = {
        "Would you like to adjust the UTC offset in this program for your local time setting?",
        "Current System Time: " + utc.toString("HH:mm"),
        "Current Local Time: " + local.toString("HH:mm"),
        "Recommended Offset Setting: " + logstore::FormatSingle(recommended),
        "Current Offset Setting: " + logstore::FormatSingle(kept),
        "Please click OK to accept the recommended change or Cancel to keep the current "
        "setting.",
    };
    std::optional<QString> answer =
        program.dialogs().InputBox(lines.join("\r\n\r\n"), "Update the Local Time / UTC Offset?",
                                   logstore::FormatSingle(recommended));
    if (!answer) return;
    std::optional<double> typed = logstore::ParseNumber(answer->trimmed());
    if (!typed || !UTCOffsetInRange(*typed)) return;
    offset = static_cast<float>(*typed);
    SaveQSOPref(program);
}

}  // namespace setup

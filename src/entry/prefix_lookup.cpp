#include "entry/prefix_lookup.h"

#include <QStringView>
#include <algorithm>
#include <array>
#include <cmath>

#include "program/program.h"
#include "scoring/worked.h"
#include "setup/reference_tables.h"

namespace entry {

namespace {

// Compares the first characters of two texts; an empty text has an empty
// first character, which sorts before every character.
int compareFirst(const QString& a, const QString& b, Qt::CaseSensitivity sensitivity) {
    return QStringView(a).left(1).compare(QStringView(b).left(1), sensitivity);
}

bool sameText(const QString& a, const char* b) {
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// The first row, counted from row 1, whose country is "USA"; 0 when none.
int firstUsaRow(const setup::PrefixTable& table) {
    for (int i = 1; i <= table.PrefixCount; ++i)
        if (sameText(table.row(i).country, "USA")) return i;
    return 0;
}

// Degrees per radian; this value, not 180/pi, serves every conversion.
constexpr double kDegreesPerRadian = 57.29577951;
// 69.041 miles per degree times kDegreesPerRadian.
constexpr double kEarthRadiusMiles = 3955.75791314991;

// The arc cosine in radians, or nothing when 1 - v*v is not above 0.
std::optional<double> arcCosine(double v) {
    const double rest = 1.0 - v * v;
    if (!(rest > 0.0)) return std::nullopt;
    return 2.0 * std::atan(1.0) + std::atan(-v / std::sqrt(rest));
}

// A whole number without separators, empty when it rounds to 0.
QString wholeOrEmpty(double value) {
    const long long whole = std::llround(value);
    return whole == 0 ? QString() : QString::number(whole);
}

// The same grouped by thousands.
QString groupedOrEmpty(double value) {
    return std::llround(value) == 0 ? QString() : scoring::FormatGrouped(value);
}

}  // namespace

QString SearchedCall(const QString& call) {
    const qsizetype slash = call.indexOf(QLatin1Char('/'));
    if (slash < 0) return call;
    const qsizetype length = call.size();
    const qsizetype after = length - (slash + 1);
    if (after > 1 && static_cast<double>(after) < static_cast<double>(length) / 2.0)
        return call.right(after);
    return call;
}

PrefixMatch FindPrefix(const setup::PrefixTable& table, const QString& call,
                       Qt::CaseSensitivity sensitivity) {
    PrefixMatch best;
    if (call.isEmpty()) return best;
    // A digit starts where "A" does. A character after "Z" would start past
    // the last row: it finds nothing.
    const int code = std::max(static_cast<int>(call.front().unicode()), int{'A'});
    if (code > 'Z') return best;

    // Interpolate the start row from the first character, then step back
    // while still inside that character's block.
    int s = static_cast<int>(std::floor(table.PrefixCount * ((code - 64) / 26.0)));
    while (s > 1 && compareFirst(table.row(s).prefix, call, sensitivity) == 0) {
        s -= 5;
        if (s < 1) s = 1;
    }

    // Scan towards the block and stop after passing its end.
    const bool down = compareFirst(table.row(s).prefix, call, sensitivity) > 0;
    for (int i = s; down ? i >= 1 : i <= table.PrefixCount; i += down ? -1 : 1) {
        const QString& prefix = table.row(i).prefix;
        if (prefix.size() > best.length && call.startsWith(prefix, sensitivity)) {
            best.row = i;
            best.length = static_cast<int>(prefix.size());
        }
        const int order = compareFirst(prefix, call, sensitivity);
        if (down ? order < 0 : order > 0) break;
    }
    return best;
}

PrefixLookupResult LookupCallPrefix(const setup::PrefixTable& table, const QString& callText,
                                    const QString& countryText) {
    PrefixLookupResult result;
    result.LookupCall = SearchedCall(callText);
    QString countryAfter = countryText;

    if (!result.LookupCall.isEmpty()) {
        const PrefixMatch match = FindPrefix(table, result.LookupCall, Qt::CaseInsensitive);
        const setup::PrefixRow& found = table.row(match.row);
        const bool usaOrCanada =
            match.row != 0 && (sameText(found.country, "USA") || sameText(found.country, "Canada"));

        if (match.row != 0 && !usaOrCanada) {
            const setup::PrefixRow* used = &found;
            QString country = found.country;
            const qsizetype length = callText.size();
            if (callText.startsWith(QLatin1String("KG4"), Qt::CaseInsensitive) &&
                (length == 4 || length > 5)) {
                const int usa = firstUsaRow(table);
                // Without a "USA" row there is nothing to show: leave it all.
                if (usa == 0) return result;
                used = &table.row(usa);
                country.clear();
            }
            if (sameText(country, "Alaska"))
                countryAfter = QStringLiteral("AK");
            else if (sameText(country, "Hawaii"))
                countryAfter = QStringLiteral("HI");
            else
                countryAfter = country;
            result.country = countryAfter;
            result.continent = used->continent;
            result.bearing = BearingAction::Show;
            result.latitude = used->latitude;
            result.longitude = used->longitude;
        } else {
            // The operator types the state or province of a U.S. or Canadian
            // station, so its country box stays as it is.
            if (!usaOrCanada) {
                countryAfter = QStringLiteral("Not Found");
                result.country = countryAfter;
            }
            result.continent = usaOrCanada ? QStringLiteral("NA") : QString();
            result.bearing = BearingAction::Clear;
        }
        result.countrySelLength = static_cast<int>(countryAfter.size());
    }

    if (sameText(countryAfter, "Not Found")) {
        result.continent = QString();
        result.bearing = BearingAction::Clear;
    }
    return result;
}

PrefixLookupResult LookupCallPrefix(Program& program, const QString& callText,
                                    const QString& countryText) {
    PrefixLookupResult result = LookupCallPrefix(program.prefixes, callText, countryText);
    program.entry.LookupCall = result.LookupCall;
    return result;
}

QString CountryFromCall(const setup::PrefixTable& table, const QString& call) {
    const QString searched = SearchedCall(call);
    const PrefixMatch match = FindPrefix(table, searched, Qt::CaseSensitive);
    if (match.row == 0) return QString();
    if (searched.startsWith(QLatin1String("KG4")) && searched.size() > 5) return QStringLiteral("USA");
    return table.row(match.row).country;
}

QString CountryFromCall(Program& program, const QString& call) {
    program.entry.LookupCall = SearchedCall(call);
    return CountryFromCall(program.prefixes, call);
}

BearingDistanceText BearingDistance(float ownLatitude, float ownLongitude, float latitude,
                                    float longitude) {
    const double k = kDegreesPerRadian;
    const double own = static_cast<double>(ownLatitude) / k;
    const double target = static_cast<double>(latitude) / k;
    const double delta = (static_cast<double>(ownLongitude) - static_cast<double>(longitude)) / k;

    // The cosine of the central angle, then the angle in degrees.
    const double x = std::sin(own) * std::sin(target) +
                     std::cos(target) * std::cos(own) * std::cos(delta);
    const std::optional<double> central = arcCosine(x);
    if (!central) return {};
    const double degrees = *central * k;

    // The course angle from north, 0 to 180, east or west of north.
    const double divisor = std::cos(own) * std::sin(degrees / k);
    if (divisor == 0.0) return {};
    const std::optional<double> course = arcCosine((std::sin(target) - std::sin(own) * x) / divisor);
    if (!course) return {};
    const double c = *course * k;
    const double bearing = std::sin(delta) > 0.0 ? c : 360.0 - c;

    const double miles = *central * kEarthRadiusMiles;
    return {wholeOrEmpty(bearing) + QLatin1Char(' '), groupedOrEmpty(miles) + QLatin1Char(' ')};
}

QString CanadianProvinceCode(const QString& call) {
    struct Province {
        const char* prefix;
        const char* code;
    };
    static constexpr std::array<Province, 13> kProvinces{{
        {"VE1", "NS"}, {"VE2", "QC"}, {"VE3", "ON"}, {"VE4", "MB"}, {"VE5", "SK"},
        {"VE6", "AB"}, {"VE7", "BC"}, {"VE8", "YT"}, {"VE9", "NB"}, {"VO1", "NL"},
        {"VO2", "NL"}, {"VY1", "YT"}, {"VY2", "PE"},
    }};
    if (call.size() <= 2) return QString();
    const QString first = call.left(3);
    for (const Province& p : kProvinces)
        if (sameText(first, p.prefix)) return QLatin1String(p.code);
    return QString();
}

}  // namespace entry

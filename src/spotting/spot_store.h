#pragma once
// The DX spot store: the 50 most recent spots of the spot feed, shared by the
// spot intake, the main window's band map and the spectrum map.
//
// Slots 0 to 49 hold spots, slot 49 the newest and slot 0 the oldest; every
// new spot shifts all slots down by one and takes slot 49. Slots 50 and 51
// exist and are never written. A frequency of 0 marks a slot without a live
// spot (never filled, superseded by a newer spot of the same call, or removed
// by a click on a map); such a slot keeps its call, times and label. Readers
// pick slots by a frequency range that excludes 0.
//
// Times: `DXSpotTime` is the UTC date and time at which the spot was stored,
// reckoned as the log reckons a contact's time (the local clock plus the
// station's UTC offset), so a tooltip shows the time a contact logged at that
// moment would carry, with no offset to add; `DXSpotStamp` is the
// monotonic clock at that moment, from which AgeSeconds() counts, so a
// change of the wall clock (daylight saving, a clock set by hand) never ages
// or rejuvenates a spot.
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

namespace platform {
class Clock;
}

namespace spotting {

inline constexpr int kSpotSlots = 52;   // indexes 0..51
inline constexpr int kNewestSlot = 49;  // slots 0..49 hold spots
inline constexpr int kSpotListRows = 200;

struct DXSpotStore {
    std::array<QString, kSpotSlots> DXSpotCall;
    // MHz; 0 means the slot holds no live spot.
    std::array<float, kSpotSlots> DXSpotFreq{};
    // UTC date and time the spot was stored: the local clock plus the UTC
    // offset.
    std::array<QDateTime, kSpotSlots> DXSpotTime;
    // Monotonic milliseconds when the spot was stored.
    std::array<std::int64_t, kSpotSlots> DXSpotStamp{};
    // SpotLabelText of the call: the short text the maps show.
    std::array<QString, kSpotSlots> DXSpotLabel;

    // Whole seconds since the spot of `slot` was stored (never negative).
    std::int64_t AgeSeconds(int slot, const platform::Clock& clock) const;
    // Takes the spot of `slot` off both maps (its frequency becomes 0); an
    // index outside 0..51 changes nothing.
    void RemoveSpot(int slot);
};

// The cells of one spot-list row, in column order: "Call", "Frequency",
// "QTH", "Status", "Comments", "Prefix", "Time", "From".
struct SpotRow {
    std::array<QString, 8> cells;
};

// The short label the maps show for a call: the call up to its last digit,
// with the rules for a portable "/" part. Empty for calls under 3 characters.
QString SpotLabelText(const QString& call);

// The frequency text of a spot in kHz read as a number, or nothing when it is
// not a finite number whose MHz value fits single precision.
std::optional<double> SpotFrequencyKHz(const QString& frequencyText);

// Files one spot: the intake steps that change the store. `frequencyText` is
// in kHz; `record` is the spot line less its first three characters (cut here
// before its first CR). Returns the spot-list row for the spot, or nothing
// when the frequency is not a number (the store is then left unchanged).
// `country` is CountryFromCall of the call (the row's "QTH" cell); it is asked
// only for a spot that is filed. `utcOffsetHours` is the station's offset,
// added to the local clock for the spot's time.
template <class CountryOf>
std::optional<SpotRow> FileSpot(DXSpotStore& store, const QString& call,
                                const QString& frequencyText, QString record,
                                const platform::Clock& clock, float utcOffsetHours,
                                CountryOf&& country);

// The row cells of a spot from its call, MHz value, record and country.
SpotRow MakeSpotRow(const QString& call, double mhz, QStringView record,
                    const QString& country);

// Store steps of the intake, without the row (FileSpot runs this first).
void StoreSpot(DXSpotStore& store, const QString& call, double mhz,
               const platform::Clock& clock, float utcOffsetHours);

// The MHz text of the "Frequency" cell: a plain decimal without trailing zeros.
QString SpotFrequencyCell(double mhz);

template <class CountryOf>
std::optional<SpotRow> FileSpot(DXSpotStore& store, const QString& call,
                                const QString& frequencyText, QString record,
                                const platform::Clock& clock, float utcOffsetHours,
                                CountryOf&& country) {
    const std::optional<double> kHz = SpotFrequencyKHz(frequencyText);
    if (!kHz) return std::nullopt;
    const qsizetype cr = record.indexOf(u'\r');
    if (cr >= 0) record.truncate(cr);
    const double mhz = *kHz / 1000.0;
    StoreSpot(store, call, mhz, clock, utcOffsetHours);
    return MakeSpotRow(call, mhz, record, country(call));
}

}  // namespace spotting

#pragma once
// The station settings and operating preferences kept in QSOpref.txt, and the
// check of the stored UTC offset against the PC clock.
#include <QDateTime>
#include <QString>
#include <cstdint>

class Program;

namespace setup {

// The 25 values of QSOpref.txt, in file order.
struct Station {
    QString OwnCall;
    QString OwnSPC;
    QString OwnCountry;
    QString HomeCounty;
    QString OwnName;
    QString OwnCategory;
    QString OperatingCounty;
    QString OwnCity;
    QString CurrentMode;
    QString CurrentBand;
    float UTCOffsetHours = 0;
    float OwnLongitude = 0;
    float OwnLatitude = 0;
    QString OwnContinent;
    std::uint8_t FormSizePercent = 0;
    std::int32_t WorkedColor = 0;
    std::int32_t RemainingColor = 0;
    float BankedOperatingSeconds = 0;
    QString PartyState;
    std::uint8_t StationSide = 0;
    std::uint8_t RoverMode = 0;
    std::uint8_t VoiceNavMode = 0;
    QString RigType;
    std::uint8_t TaskbarLayout = 0;
    std::uint8_t ListPrevious = 0;

    friend bool operator==(const Station&, const Station&) = default;
};

inline constexpr int kQSOPrefValues = 25;

// The UTC offsets the program takes: no place on earth is further than 14
// hours from UTC.
inline constexpr float kMaxUTCOffsetHours = 14;
bool UTCOffsetInRange(double hours);

// The banked operating time the program takes: from 0 to a year of seconds.
inline constexpr float kMaxOperatingSeconds = 366.0f * 24 * 3600;
bool OperatingSecondsInRange(double seconds);

// The settings of a station that has no QSOpref.txt yet: full-size window,
// CW on 20 m, no rig, worked multipliers in red and the rest in black.
Station FirstRunStation();

// Writes QSOpref.txt. A failure shows "Unable to write file." and leaves the
// old file whole; the result tells whether the file was written.
bool SaveQSOPref(Program& program);

// Reads QSOpref.txt value by value into the station settings. Values read
// before a failure keep their new value. False when the file is missing, ends
// before the 25th value, or a number does not fit its type. A UTC offset or a
// banked operating time outside its range leaves the value the settings held
// (the caller's first-run value) in place.
bool LoadQSOPref(Program& program);

// Compares the stored UTC offset with the one the PC clock implies and offers
// to correct it.
void CheckUTCOffset(Program& program);

// The offset the PC clock implies now: what CheckUTCOffset recommends.
float ClockUTCOffset(Program& program);

// The recommended offset: minutes from local to UTC time, in hours, rounded to
// two decimal places.
float RecommendedUTCOffset(const QDateTime& local, const QDateTime& utc);

}  // namespace setup

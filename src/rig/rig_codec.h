#pragma once
// The radio families' bytes: poll commands, reply parsers, frequency and
// mode commands, and the hex text conversions they share. Pure functions
// over byte buffers; a reply buffer holds what arrived since the last read
// and may hold several replies, the tail of an earlier one, or garbage.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

namespace rig {

// ---- Hex text ----

// 0..15 as one upper-case hex digit; anything else the empty text.
QString HexDigit(int value);
// Each byte as two upper-case hex digits and one blank ("00 0D ").
QString HexDisplay(QByteArrayView bytes);
// Hex digits of every byte, no separators ("014AFF").
QString BytesToHex(QByteArrayView bytes);
// "FE FE 64 E0": the pairs at characters 1, 4, 7, ... as bytes (a single
// digit at the end counts); empty when any pair is not hex.
QByteArray SpacedHexToBytes(const QString& text);
// "FEFE64E0": the pairs at characters 1, 3, 5, ... as bytes (a single
// digit at the end counts); empty when any pair is not hex.
QByteArray HexToBytes(const QString& text);
// Exactly `count` pairs of a spaced hex poll string; std::nullopt when a
// pair is not hex. A lone digit ends the string or stands before a blank
// ("3F 41 D") is a byte of its own. The caller checks the string is long
// enough.
std::optional<QByteArray> SpacedHexPairs(const QString& text, int count);

// ---- Families ----

bool IsKenwoodFamily(const QString& rigType);  // Kenwood, Kenwood 2, Elecraft
bool IsCivFamily(const QString& rigType);      // Icom, Icom 735, Ten Tec Omni VI
bool IsFiveByteYaesu(const QString& rigType);  // Yaesu models but the FTdx9000
bool IsOlderYaesu(const QString& rigType);     // 5-byte Yaesu models but "Yaesu"

// ---- Replies ----

// What the parsers set. Fields a parser does not reach keep their value.
struct RigReading {
    float frequencyMHz = 0;
    QString mode;
    int activeVFO = 10;
};

// The poll strings whose first characters mark the text replies.
struct PollStrings {
    QString freq;
    QString mode;
};

// Runs the reply parsers of `rigType` over `buffer`. `modePollDue` is the
// poll flag after the last send tick (true: the frequency poll went out).
void ParseReply(const QString& rigType, QByteArrayView buffer, const PollStrings& polls,
                bool modePollDue, RigReading& reading);

// The parsers, one per reply format.
void KenwoodFrequency(QByteArrayView buffer, const QString& freqPoll, RigReading& r);
void KenwoodMode(QByteArrayView buffer, RigReading& r);
void KenwoodIF(QByteArrayView buffer, RigReading& r);
void FTdx9000Data(QByteArrayView buffer, const PollStrings& polls, RigReading& r);
void OrionFrequency(QByteArrayView buffer, RigReading& r);
void OrionMode(QByteArrayView buffer, RigReading& r);
void IcomFrequency(QByteArrayView buffer, bool icom735, RigReading& r);
void IcomMode(QByteArrayView buffer, RigReading& r);
void YaesuData(QByteArrayView buffer, RigReading& r);
void Yaesu757Data(QByteArrayView buffer, RigReading& r);
void Yaesu890Data(QByteArrayView buffer, RigReading& r);
void Yaesu920Data(QByteArrayView buffer, RigReading& r);
void Yaesu990Data(QByteArrayView buffer, RigReading& r);
void Yaesu1000Data(QByteArrayView buffer, RigReading& r);
void TenTecFrequency(QByteArrayView buffer, RigReading& r);
void TenTecMode(QByteArrayView buffer, RigReading& r);
// PEGASUS.OUT's contents: frequency in MHz, then the mode.
void PegasusData(QByteArrayView file, RigReading& r);

// The reply bytes of one read tick, cut where the family's replies end:
// `whole` is what the parsers read, `rest` the start of a reply still
// arriving, kept for the next read tick. `answered` tells whether a whole
// reply to a poll is among them. CI-V: the frames up to the last FD, answered
// by a frame carrying data (the bus echo of a poll carries none). "Yaesu":
// the last whole 5-byte block, the bytes after the whole blocks kept. Other
// families: everything, answered by any byte.
struct ReplySplit {
    QByteArray whole;
    QByteArray rest;
    bool answered = false;
};
ReplySplit SplitReplies(const QString& rigType, const QByteArray& buffer);

// "CW" or "PH" by the CW and phone sub-bands, or empty between them.
QString ModeByFrequency(float mhz);
// lblFreq's form of a frequency: five decimals, no leading zero (".50000").
QString FrequencyText(float mhz);

// ---- Commands ----


// The polls one send tick writes, or std::nullopt when a byte string does
// not convert (then `badPoll`, when given, is that string). `modePollDue`
// is updated for the alternating families.
std::optional<QByteArray> PollBytes(const QString& rigType, const PollStrings& polls,
                                    bool convertToHex, bool& modePollDue, QString* badPoll = nullptr);

// The frequencies a radio can be read at or tuned to, in MHz: from 100 Hz up
// to, not including, 100 GHz. Their whole Hz fit every conversion, and their
// shortest decimal text has no exponent.
inline constexpr float kLowestRigMHz = 0.0001f;
inline constexpr float kHighestRigMHz = 100000.0f;
bool PlausibleMHz(float mhz);

// Hz and tens of Hz of a single-precision MHz value, rounded half to even.
long long WholeHz(float mhz);
long long WholeTensOfHz(float mhz);
// Decimal digits of `value`, left-padded with zeros to `width`.
QString DigitField(long long value, int width);
// The shortest decimal form of a single-precision value ("14.025", "14").
QString ShortestMHzText(float mhz);

// The frequency command of `rigType` for `mhz`, std::nullopt when the family
// has none or the frequency does not fit its field (not plausible; 1000 MHz
// and up on the 5-byte Yaesu; 100 MHz and up on the Icom 735, 10 GHz and
// up on the other CI-V radios).
// `activeVFO` is the Kenwood 2 VFO (1 = B).
std::optional<QByteArray> FrequencyCommand(const QString& rigType, float mhz,
                                           const PollStrings& polls, int activeVFO);
// Whether the family can be tuned to `mhz` by port or file.
bool FrequencyFits(const QString& rigType, float mhz);
// The mode command of `rigType` for the mode name, or std::nullopt when the
// family has none for it.
std::optional<QByteArray> ModeCommand(const QString& rigType, const QString& mode,
                                      const PollStrings& polls);
// The pauses in ms the family runs before its frequency command.
std::vector<int> FrequencyPauses(const QString& rigType);

}  // namespace rig

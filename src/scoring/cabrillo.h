#pragma once
// The Cabrillo submission file: header tags, one "QSO:" line per contact and
// the claimed score, written from the contact table, the county table, the
// station settings and what the summary dialog collects. The dialog calls
// WriteSubmissionFile for its "Write Cabrillo File" button; the pieces below
// it are public for the dialog and for tests.
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "logstore/contact_log.h"
#include "platform/dialogs.h"

class Program;

namespace scoring {

// The entry classes of the summary dialog (OptClass 0 to 8); the caption of
// the selected one is written as the category.
inline constexpr std::array<const char*, 9> kEntryClasses = {
    "Single OP Fixed",           "Single OP Mobile",           "Single OP Rookie",
    "Multi OP Fixed",            "Multi OP Mobile",            "Single OP Tech",
    "Multi Xmtr-Multi OP Fixed", "Multi Xmtr-Multi OP Mobile", "Multi OP Tech",
};

// The power classes: "High", "Low (150W)" and "QRP (5W)".
enum class PowerClass { High, Low, Qrp };

// The factor that multiplies the contact points: 1, 1.5 or 2.
double PowerFactor(PowerClass power);
// The category text: " HIGH", " LOW" or " QRP" (with the leading blank).
QString PowerCategoryText(PowerClass power);

// What the summary dialog collects. The texts are written as typed.
struct SummaryInputs {
    QString name;       // Text5, "Your Name:"
    QString address1;   // Text6, "Address Line 1:"
    QString address2;   // Text7, "Address Line 2:"
    QString email;      // Text8, "Email Address:"
    QString soapbox;    // Text11
    QString club;       // Text1, "Club Affiliation:"
    QString entryClass = QString::fromLatin1(kEntryClasses[0]);
    PowerClass power = PowerClass::Low;
    QString operators;  // Text2, "Operators (If Multi):"

    friend bool operator==(const SummaryInputs&, const SummaryInputs&) = default;
};

// The address block as the settings store remembers it (the dialog's load);
// the other inputs keep their defaults. A missing key gives an empty text.
SummaryInputs RememberedSummaryInputs(Program& program);

// Remembers the name, both address lines, the e-mail address and the club,
// each trimmed, in the settings store ("UserAddressName", "UserAddressLine1",
// "UserAddressLine2", "UserEMail", "UserClubName") and in the shared
// preferences (OWN_ADDRESS_NAME, OWN_ADDRESS_LINE1, OWN_ADDRESS_LINE2,
// OWN_EMAIL, OWN_CLUB_NAME), whose file is written once, after the last key.
void RememberAddressBlock(Program& program, const SummaryInputs& inputs);

// One distinct county sent (letter case ignored) with its contact count.
struct RoverCounty {
    QString county;  // as the first contact from it has it
    int contacts = 0;
};
// The counties sent of contacts 1 to QSOCount in order of first appearance.
std::vector<RoverCounty> RoverTally(const logstore::ContactLog& log);

// The rover bonus of a station inside Dudurozuz with RoverMode 1 whose log
// was sent from more than one county: 500 for every county with 12 or more
// contacts; 0 for every other station.
int RoverBonus(const Program& program);

// The claimed score: the contact points of all modes times the power factor
// times the station's multipliers, plus the rover bonus.
double ClaimedScore(const Program& program, PowerClass power);

// The claimed score as the CLAIMED-SCORE line holds it: a blank, the value as
// a plain decimal number with "." and a fraction only when it has one, and a
// blank.
QString ClaimedScoreText(double score);

// The five-character frequency field of a band text (" 7000", "   50"),
// ignoring letter case; empty for a band the contest does not know.
QString CabrilloFrequencyField(const QString& band);

// The four-digit time "hhmm" of a stored time; a text that is no time keeps
// its first two and its fourth and fifth characters.
QString CabrilloTime(const QString& storedTime);

// The "QSO:" line of one contact, without its line end. `ownCall` is the
// trimmed own call. Fields start at their columns (6, 12, 15, 26, 31, 49, 56,
// 74) where the line leaves room for a blank before them, else one blank
// after what is there, so a contact is always one line and no field is cut
// but the sent exchange (its first 10 characters, trimmed).
// std::nullopt when the contact's date cannot be read.
std::optional<QString> CabrilloContactLine(const Program& program,
                                           const logstore::ContactRecord& record,
                                           const QString& ownCall);

// The whole file (CRLF line ends). std::nullopt and *error set when a
// contact's date cannot be read.
std::optional<QString> CabrilloLogText(const Program& program, const SummaryInputs& inputs,
                                       QString* error);

// The save dialog of the file: proposed name <DataFolder>/<CallFileStem>.log,
// "LOG Files (*.log) | *.log", asking before an existing file is replaced.
platform::FileDialogRequest CabrilloSaveRequest(const Program& program);

// Writes the file to `path`, whole or not at all. A failure beeps and shows
// "Unable to write file." with the system's text; success shows "File Written
// Successfully." naming the file and then the "  Thanks!" box. True when the
// file was written.
bool WriteCabrilloFile(Program& program, const SummaryInputs& inputs, const QString& path);

// The "Write Cabrillo File" button: trims OwnCall (it stays trimmed), asks for
// the file, writes it and, once written, remembers the address block.
// Cancelling the save dialog writes nothing and shows nothing. True when the
// file was written.
bool WriteSubmissionFile(Program& program, const SummaryInputs& inputs);

}  // namespace scoring
